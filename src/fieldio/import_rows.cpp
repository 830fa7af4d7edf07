// import_rows.cpp: the rows read as numbers, and the lattice each axis's coordinates form.
#include "fieldio/import_rows.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace orvex::mapimport {

std::string NUMBER(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

table_rows READ_ROWS(std::string_view text, const table_head& head, const column_plan& plan) {
    table_rows rows;
    std::vector<std::string_view> fields;
    long long line = head.data_line;
    for (std::size_t at = head.data_offset; at < text.size(); ++line) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view row = text.substr(at, end - at);
        at = end + 1;
        SPLIT_FIELDS(row, fields);
        if (fields.empty() || fields[0][0] == '#' || fields[0][0] == '%') continue;
        if (fields.size() != plan.width)
            REFUSE("line " + std::to_string(line) + " holds " + std::to_string(fields.size()) + " values; the table has " +
                   std::to_string(plan.width) + " columns");
        if (rows.line.size() == table_row_limit)
            REFUSE("the table holds more than " + std::to_string(table_row_limit) + " rows, more than a table may hold");
        for (std::size_t r = 0; r < 9; ++r) {
            const int n = plan.index[r];
            if (n < 0) continue;
            const std::string_view field = fields[static_cast<std::size_t>(n)];
            double v = 0.0;
            if (!READ_NUMBER(field, v))
                REFUSE("line " + std::to_string(line) + ", column " + std::to_string(n + 1) + ": \"" + SHOWN_TEXT(field) +
                       "\" is " + (std::isinf(v) ? "beyond the range of a double" : "not a number"));
            if (r < 3 && !std::isfinite(v)) REFUSE("line " + std::to_string(line) + ": the coordinate " + axis_names[r] + " is not finite");
            if (r >= 3) {
                // Into V/cm or Gs now; -0 stays -0 (a product or quotient by a positive factor).
                const double converted = TO_MAP_UNITS(*plan.unit[r], v);
                if (std::isfinite(v) && !std::isfinite(converted))
                    REFUSE("line " + std::to_string(line) + ", column " + std::to_string(n + 1) + ": " + SHOWN_TEXT(field) + " " +
                           std::string(plan.unit[r]->name) + " is beyond the range of a double in " +
                           (r < 6 ? "V/cm" : "Gs"));
                v = converted;
            }
            rows.column[r].push_back(v);
        }
        rows.line.push_back(line);
    }
    if (rows.line.empty()) REFUSE("the table holds no rows of numbers");
    return rows;
}

std::string AXIS_TEXT(const axis_lattice& a, int axis, const unit_info& unit) {
    return std::string("its ") + axis_names[static_cast<std::size_t>(axis)] + " run from " + NUMBER(a.lo) + " to " + NUMBER(a.lo + (a.count - 1) * a.step) + " " +
           std::string(unit.name) + " in steps of " + NUMBER(a.step);
}

axis_lattice AXIS_LATTICE(const table_rows& rows, int axis, const unit_info& unit) {
    const std::vector<double>& v = rows.column[static_cast<std::size_t>(axis)];
    axis_lattice a;
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    const double extent = sorted.back() - sorted.front();
    const double same = 1e-7 * extent;
    for (const double c : sorted)
        if (a.distinct.empty() || c - a.distinct.back() > same) a.distinct.push_back(c);
    a.lo = a.distinct.front();
    a.node.assign(a.distinct.size(), 0);
    if (a.distinct.size() == 1) {
        a.own = {a.lo};
        return a;
    }
    // The step is the gap met most often (the larger on a tie): a node off its place splits a
    // gap in two smaller ones, a missing plane doubles one.
    std::vector<double> gaps(a.distinct.size() - 1);
    for (std::size_t n = 0; n + 1 < a.distinct.size(); ++n) gaps[n] = a.distinct[n + 1] - a.distinct[n];
    std::sort(gaps.begin(), gaps.end());
    std::size_t best_run = 0;
    for (std::size_t n = 0; n < gaps.size();) {
        std::size_t end = n;
        while (end < gaps.size() && gaps[end] - gaps[n] <= 1e-3 * gaps[n]) ++end;
        if (end - n >= best_run) {
            best_run = end - n;
            a.step = gaps[n + (end - n) / 2];
        }
        n = end;
    }
    const double nodes = std::round(extent / a.step) + 1;
    if (nodes > 100000) REFUSE(std::string("the ") + axis_names[static_cast<std::size_t>(axis)] + " coordinates form no regular lattice");
    a.count = static_cast<int>(nodes);
    a.own.assign(static_cast<std::size_t>(a.count), NAN);
    for (std::size_t n = 0; n < a.distinct.size(); ++n) {
        const double m = std::round((a.distinct[n] - a.lo) / a.step);
        if (std::fabs(a.distinct[n] - (a.lo + m * a.step)) > 1e-3 * a.step) {
            const auto row = std::find_if(v.begin(), v.end(), [&](double c) { return std::fabs(c - a.distinct[n]) <= same; });
            REFUSE("line " + std::to_string(rows.line[static_cast<std::size_t>(row - v.begin())]) + ": " +
                   axis_names[static_cast<std::size_t>(axis)] + " = " + NUMBER(a.distinct[n]) + " " + std::string(unit.name) +
                   " lies off the lattice (" + AXIS_TEXT(a, axis, unit) + ")");
        }
        a.node[n] = static_cast<int>(m);
        a.own[static_cast<std::size_t>(m)] = a.distinct[n];
    }
    return a;
}

int NODE_OF(const axis_lattice& a, double c) {
    const auto it = std::upper_bound(a.distinct.begin(), a.distinct.end(), c);
    std::size_t n = static_cast<std::size_t>(it - a.distinct.begin());
    if (n > 0) --n;  // the cluster at or below c, or the first
    return a.node[n];
}

}  // namespace orvex::mapimport
