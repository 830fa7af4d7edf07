// node_lines.cpp: the full map along a line of nodes through any node.
#include "field/node_lines.h"

#include <algorithm>
#include <cctype>

#include "field/slices.h"

namespace orvex {

void SAMPLE_NODE_LINE(const full_map& m, int field, char axis, grid_node through, line_samples& out) {
    out.axis = axis == 'x' || axis == 'y' ? axis : 'z';
    out.n = 0;
    const int count = AXIS_NODES(m, out.axis);
    // The fixed indices must lie on the grid, the running one is set below.
    const bool fixed_on_grid = (out.axis == 'x' || (through.i >= 1 && through.i <= m.nx)) &&
                               (out.axis == 'y' || (through.j >= 1 && through.j <= m.ny)) &&
                               (out.axis == 'z' || (through.k >= 1 && through.k <= m.nz));
    if (!m.complete || count < 1 || !fixed_on_grid || m.nx > full_capacity_x || m.ny > full_capacity_y ||
        m.nz > full_capacity_z)
        return;
    const component_triple triple = FIELD_TRIPLE(m, field);
    const std::span<const double> coordinate = AXIS_COORDINATES(m, out.axis);
    for (int n = 1; n <= count; ++n) {
        grid_node at = through;
        (out.axis == 'x' ? at.i : out.axis == 'y' ? at.j : at.k) = n;
        const auto p = static_cast<std::size_t>(n - 1);
        const std::size_t node = FULL_INDEX(at.i, at.j, at.k);
        out.pos[p] = coordinate[p];
        for (std::size_t c = 0; c < 3; ++c) out.val[c][p] = (*triple[c])[node];
    }
    out.n = count;
}

node_line LINE_THROUGH_NODE(const full_map& m, int field, char axis, grid_node through) {
    node_line line;
    line.axis = axis == 'x' || axis == 'y' ? axis : 'z';
    line.field = field == 1 ? 1 : 0;
    through.i = std::clamp(through.i, 1, std::max(m.nx, 1));
    through.j = std::clamp(through.j, 1, std::max(m.ny, 1));
    through.k = std::clamp(through.k, 1, std::max(m.nz, 1));
    line.through = through;
    switch (line.axis) {
        case 'x': line.fixed_axes = {'y', 'z'}; line.fixed_index = {through.j, through.k}; break;
        case 'y': line.fixed_axes = {'x', 'z'}; line.fixed_index = {through.i, through.k}; break;
        default: line.fixed_axes = {'x', 'y'}; line.fixed_index = {through.i, through.j}; break;
    }
    for (std::size_t f = 0; f < 2; ++f)
        line.fixed_coordinate[f] = NODE_COORDINATE(m, line.fixed_axes[f], line.fixed_index[f]);
    line_samples samples;
    SAMPLE_NODE_LINE(m, line.field, line.axis, through, samples);
    line.n = samples.n;
    const auto n = static_cast<std::size_t>(line.n);
    line.pos.assign(samples.pos.begin(), samples.pos.begin() + static_cast<std::ptrdiff_t>(n));
    for (std::size_t c = 0; c < 3; ++c)
        line.val[c].assign(samples.val[c].begin(), samples.val[c].begin() + static_cast<std::ptrdiff_t>(n));
    return line;
}

std::string NODE_LINE_TITLE(const node_line& line) {
    const auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    // Appended piece by piece: GCC 12 warns (-Wrestrict, wrongly) of "=" + a string here.
    std::string title;
    title += upper(line.axis);
    title += " (cm)";
    for (std::size_t f = 0; f < 2; ++f) {
        title += ", ";
        title += upper(line.fixed_axes[f]);
        title += '=';
        title.append(SHORT_COORDINATE(line.fixed_coordinate[f], place_digits));
    }
    return title;
}

}  // namespace orvex
