// import_mirror.cpp: the nodes a stored part leaves out, compared with their unfolded images.
#include "fieldio/import_mirror.h"

#include <bit>
#include <cmath>

#include "field/field_table.h"

namespace orvex::mapimport {

namespace {

constexpr std::array<const char*, 3> flag_names{"ksym_yz", "ksym_xz", "ksym_xy"};

std::string AXES_TEXT(unsigned axes) {
    std::string out;
    const int count = std::popcount(axes);
    int written = 0;
    for (std::size_t a = 0; a < 3; ++a)
        if (axes & (1u << a)) {
            if (written > 0) out += written + 1 == count ? " and " : ", ";
            out += axis_names[a];
            ++written;
        }
    return out;
}

std::string_view KIND_TEXT(int kind) {
    return kind == 0 ? "a map of the electric field alone" : kind == 1 ? "a map of the magnetic field alone" : "a map of both fields";
}

}  // namespace

std::string MIRROR_MISMATCH_TEXT(const mirror_mismatch& m) {
    const field_entry& field = COMPONENT_FIELD(m.component);
    const std::string name(COMPONENT_NAME(m.component));
    // Appended piece by piece: one expression of many additions makes GCC 12 warn falsely.
    std::string node, from, flags;
    for (std::size_t a = 0; a < 3; ++a) {
        node.append(a ? ", " : "").append(axis_names[a]).append(" = ").append(NUMBER(m.at[a]));
        if (!(m.mirrors & (1u << a))) continue;
        from.append(from.empty() ? "" : ", ").append(axis_names[a]).append(" = ").append(NUMBER(m.from[a]));
        flags.append(flags.empty() ? "" : ", ").append(flag_names[a]).append(" = 1");
    }
    const unsigned odd = ODD_AXES(m.kind, m.component);
    std::string text = m.source;
    if (!text.empty()) text += ' ';
    text.append(name).append(" at ").append(node).append(" cm");
    if (m.line > 0) text.append(" (line ").append(std::to_string(m.line)).append(")");
    text.append(" is ").append(NUMBER(m.value)).append(" ").append(field.unit);
    text.append(", but the viewer unfolds it from ").append(from).append(" as ").append(NUMBER(m.unfolded));
    text.append(" ").append(field.unit).append(" (").append(flags).append("; ").append(name).append(" of ");
    text.append(KIND_TEXT(m.kind)).append(" is ").append(odd == 0 ? "even in every axis" : "odd in " + AXES_TEXT(odd));
    text.append("); store the whole region: --sym 0,0,0");
    return text;
}

void CHECK_DISCARDED_NODES(const table_rows& rows, const std::vector<std::int32_t>& row_of,
                           const std::array<axis_lattice, 3>& axes, const std::array<int, 3>& first,
                           const column_plan& plan, int kind, double tolerance) {
    if (first == std::array<int, 3>{}) return;  // nothing left out below a mirror plane
    // Each field's largest magnitude over the table.
    std::array<double, 2> largest{};
    for (std::size_t f = 0; f < 2; ++f) {
        const std::size_t role = f == 0 ? role_ex : role_bx;
        if (plan.index[role] < 0) continue;
        for (std::size_t r = 0; r < rows.line.size(); ++r) {
            const double m = std::hypot(rows.column[role][r], rows.column[role + 1][r], rows.column[role + 2][r]);
            if (m > largest[f]) largest[f] = m;
        }
    }
    const std::size_t nx = static_cast<std::size_t>(axes[0].count), ny = static_cast<std::size_t>(axes[1].count);
    std::array<int, 3> m{};
    mirror_mismatch found;
    bool have = false;
    double found_difference = 0.0;
    for (m[2] = 0; m[2] < axes[2].count; ++m[2])
        for (m[1] = 0; m[1] < axes[1].count; ++m[1])
            for (m[0] = 0; m[0] < axes[0].count; ++m[0]) {
                unsigned crossed = 0;
                std::array<int, 3> image = m;
                for (std::size_t a = 0; a < 3; ++a)
                    if (m[a] < first[a]) {
                        crossed |= 1u << a;
                        image[a] = 2 * first[a] - m[a];
                    }
                const int planes = std::popcount(crossed);
                if (crossed == 0 || (have && planes > std::popcount(found.mirrors))) continue;
                if (image[0] >= axes[0].count || image[1] >= axes[1].count || image[2] >= axes[2].count) continue;
                const auto row = [&](const std::array<int, 3>& n) {
                    return static_cast<std::size_t>(
                        row_of[(static_cast<std::size_t>(n[2]) * ny + static_cast<std::size_t>(n[1])) * nx + static_cast<std::size_t>(n[0])]);
                };
                const std::size_t here = row(m), there = row(image);
                for (int c = 0; c < component_count; ++c) {
                    const std::size_t role = static_cast<std::size_t>(role_ex + c);
                    if (plan.index[role] < 0) continue;
                    const double sign = std::popcount(ODD_AXES(kind, c) & crossed) % 2 == 1 ? -1.0 : 1.0;
                    const double v = rows.column[role][here], w = sign * rows.column[role][there];
                    const double difference = std::fabs(v - w);
                    if (!(difference > tolerance * largest[c < 3 ? 0 : 1])) continue;
                    // Fewer planes crossed first, then the largest difference.
                    if (have && planes == std::popcount(found.mirrors) && !(difference > found_difference)) continue;
                    found = {c, kind, {}, {}, v, w, crossed, rows.line[here], ""};
                    found_difference = difference;
                    for (std::size_t a = 0; a < 3; ++a) {
                        found.at[a] = TO_MAP_UNITS(*plan.unit[a], axes[a].own[static_cast<std::size_t>(m[a])]);
                        found.from[a] = TO_MAP_UNITS(*plan.unit[a], axes[a].own[static_cast<std::size_t>(image[a])]);
                    }
                    have = true;
                }
            }
    if (have) REFUSE(MIRROR_MISMATCH_TEXT(found));
}

}  // namespace orvex::mapimport
