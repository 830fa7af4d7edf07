// table_import.cpp: the rows read, placed on their lattice, cut to the stored part, converted
// and, when asked, resampled onto the map's lattice.
#include "table_import.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "table_columns.h"

namespace orvex::mapimport {

namespace {

constexpr std::array<int, 3> map_counts{25, 25, 201};
constexpr std::array<const char*, 3> axis_names{"x", "y", "z"};

// The used columns of every row, and the line each row came from.
struct table_rows {
    std::array<std::vector<double>, 9> column;  // by role; empty for roles not used
    std::vector<long long> line;
};

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
        for (std::size_t r = 0; r < 9; ++r) {
            const int n = plan.index[r];
            if (n < 0) continue;
            double v = 0.0;
            if (!READ_NUMBER(fields[static_cast<std::size_t>(n)], v))
                REFUSE("line " + std::to_string(line) + ", column " + std::to_string(n + 1) + ": \"" +
                       std::string(fields[static_cast<std::size_t>(n)]) + "\" is not a number");
            if (r < 3 && !std::isfinite(v)) REFUSE("line " + std::to_string(line) + ": the coordinate " + axis_names[r] + " is not finite");
            rows.column[r].push_back(v);
        }
        rows.line.push_back(line);
    }
    if (rows.line.empty()) REFUSE("the table holds no rows of numbers");
    return rows;
}

// One axis of the lattice: evenly spaced nodes lo + m * step, m = 0 .. count - 1, and the
// table's own coordinate of each (NaN for a node no row has).
struct axis_lattice {
    double lo = 0.0, step = 0.0;
    int count = 1;
    std::vector<double> distinct;  // sorted, one per coordinate
    std::vector<int> node;         // the lattice node of each distinct coordinate
    std::vector<double> own;       // per node
};

std::string AXIS_TEXT(const axis_lattice& a, const char* name, const unit_info& unit) {
    return std::string("its ") + name + " run from " + NUMBER(a.lo) + " to " + NUMBER(a.lo + (a.count - 1) * a.step) + " " +
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
                   " lies off the lattice (" + AXIS_TEXT(a, axis_names[static_cast<std::size_t>(axis)], unit) + ")");
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

}  // namespace

imported_map IMPORT_TABLE(const import_request& request, std::string_view text) {
    const table_head head = READ_TABLE_HEAD(text);
    const column_plan plan = RESOLVE_COLUMNS(request, head);
    const table_rows rows = READ_ROWS(text, head, plan);

    std::array<axis_lattice, 3> axes;
    for (int a = 0; a < 3; ++a) axes[static_cast<std::size_t>(a)] = AXIS_LATTICE(rows, a, *plan.unit[static_cast<std::size_t>(a)]);
    const std::size_t nx = static_cast<std::size_t>(axes[0].count), ny = static_cast<std::size_t>(axes[1].count),
                      nz = static_cast<std::size_t>(axes[2].count);
    if (head.counts[0] != 0 && (head.counts[0] != axes[0].count || head.counts[1] != axes[1].count || head.counts[2] != axes[2].count))
        REFUSE("the header counts " + std::to_string(head.counts[0]) + " x " + std::to_string(head.counts[1]) + " x " +
               std::to_string(head.counts[2]) + " nodes, but the rows form " + std::to_string(nx) + " x " + std::to_string(ny) +
               " x " + std::to_string(nz));
    if (nx * ny * nz > 50'000'000) REFUSE("the rows form a lattice of more than 50 million nodes");

    // Each node once.
    std::vector<std::int32_t> row_of(nx * ny * nz, -1);
    for (std::size_t r = 0; r < rows.line.size(); ++r) {
        const std::size_t node = (static_cast<std::size_t>(NODE_OF(axes[2], rows.column[2][r])) * ny +
                                  static_cast<std::size_t>(NODE_OF(axes[1], rows.column[1][r]))) * nx +
                                 static_cast<std::size_t>(NODE_OF(axes[0], rows.column[0][r]));
        if (row_of[node] >= 0)
            REFUSE("line " + std::to_string(rows.line[r]) + " repeats the node of line " +
                   std::to_string(rows.line[static_cast<std::size_t>(row_of[node])]) + " (x, y, z = " + NUMBER(rows.column[0][r]) +
                   ", " + NUMBER(rows.column[1][r]) + ", " + NUMBER(rows.column[2][r]) + ")");
        row_of[node] = static_cast<std::int32_t>(r);
    }
    for (std::size_t node = 0; node < row_of.size(); ++node)
        if (row_of[node] < 0) {
            const std::array<std::size_t, 3> m{node % nx, node / nx % ny, node / (nx * ny)};
            std::string where;
            for (std::size_t a = 0; a < 3; ++a)
                where += std::string(a ? ", " : "") + axis_names[a] + " = " +
                         NUMBER(axes[a].lo + static_cast<double>(m[a]) * axes[a].step) + " " + std::string(plan.unit[a]->name);
            REFUSE("the table has no row for the node " + where + " (" +
                   std::to_string(rows.line.size()) + " rows for a lattice of " + std::to_string(nx) + " x " + std::to_string(ny) +
                   " x " + std::to_string(nz) + ")");
        }

    // The stored part: from the mirror plane up on a mirrored axis, else the whole axis.
    std::array<int, 3> first{}, count{};
    std::array<std::vector<double>, 3> coordinate;
    for (std::size_t a = 0; a < 3; ++a) {
        const axis_lattice& ax = axes[a];
        const unit_info& unit = *plan.unit[a];
        if (request.sym[a] == 1) {
            const double m0 = ax.count > 1 ? std::round(-ax.lo / ax.step) : 0.0;
            if (m0 < 0 || m0 >= ax.count || std::fabs(ax.lo + m0 * ax.step) > 1e-3 * (ax.count > 1 ? ax.step : 1.0))
                REFUSE(std::string(axis_names[a]) + " is mirrored (--sym), but " + axis_names[a] + " = 0 is not a node of the table (" +
                       AXIS_TEXT(ax, axis_names[a], unit) + ")");
            first[a] = static_cast<int>(m0);
        }
        count[a] = ax.count - first[a];
        for (int m = first[a]; m < ax.count; ++m) coordinate[a].push_back(TO_MAP_UNITS(unit, ax.own[static_cast<std::size_t>(m)]));
        if (request.sym[a] == 1) coordinate[a][0] = 0.0;  // the mirror plane, exactly
    }

    imported_map map;
    map.kind = plan.electric && plan.magnetic ? 2 : plan.electric ? 0 : 1;
    const std::size_t cx = static_cast<std::size_t>(count[0]), cy = static_cast<std::size_t>(count[1]),
                      cz = static_cast<std::size_t>(count[2]);
    for (std::size_t c = 0; c < 6; ++c) {
        std::vector<double>& out = map.lattice.values[c];
        const int role = role_ex + static_cast<int>(c);
        if (plan.index[static_cast<std::size_t>(role)] < 0) continue;
        const std::vector<double>& in = rows.column[static_cast<std::size_t>(role)];
        const unit_info& unit = *plan.unit[static_cast<std::size_t>(role)];
        out.resize(cx * cy * cz);
        std::size_t n = 0;
        for (std::size_t k = 0; k < cz; ++k)
            for (std::size_t j = 0; j < cy; ++j)
                for (std::size_t i = 0; i < cx; ++i, ++n) {
                    const std::size_t node = ((k + static_cast<std::size_t>(first[2])) * ny + j + static_cast<std::size_t>(first[1])) * nx +
                                             i + static_cast<std::size_t>(first[0]);
                    out[n] = TO_MAP_UNITS(unit, in[static_cast<std::size_t>(row_of[node])]);
                }
    }

    if (count != map_counts) {
        const std::string counts_text = std::to_string(cx) + " x " + std::to_string(cy) + " x " + std::to_string(cz);
        if (request.resample == resampling::none)
            REFUSE("the stored part of the table holds " + counts_text + " nodes, a map 25 x 25 x 201: give --resample linear or --resample cubic");
        const int least = request.resample == resampling::cubic ? 4 : 2;
        for (std::size_t a = 0; a < 3; ++a)
            if (count[a] < least)
                REFUSE(std::string(request.resample == resampling::cubic ? "cubic" : "linear") + " resampling needs " +
                       std::to_string(least) + " nodes along " + axis_names[a] + "; the stored part has " + std::to_string(count[a]));
        for (std::size_t a = 0; a < 3; ++a) {
            const double lo = coordinate[a].front(), hi = coordinate[a].back();
            // The source nodes evenly spaced from the stored part's first to its last.
            const axis_grid source{lo, (hi - lo) / (count[a] - 1)};
            std::array<int, 3> now = count;
            for (std::size_t b = 0; b < a; ++b) now[b] = map_counts[b];
            for (std::vector<double>& values : map.lattice.values)
                if (!values.empty())
                    values = RESAMPLE_AXIS(values, now, static_cast<int>(a), source, map_counts[a], lo, hi, request.resample);
            coordinate[a].resize(static_cast<std::size_t>(map_counts[a]));
            for (int n = 0; n < map_counts[a]; ++n)
                coordinate[a][static_cast<std::size_t>(n)] = lo + n * ((hi - lo) / (map_counts[a] - 1));
        }
    }
    for (std::vector<double>& values : map.lattice.values)
        if (values.empty()) values.assign(25 * 25 * 201, 0.0);
    map.lattice.x = coordinate[0];
    map.lattice.y = coordinate[1];
    map.lattice.z = coordinate[2];
    return map;
}

}  // namespace orvex::mapimport
