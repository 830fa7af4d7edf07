// node_lines.cpp: the unfolded map along a line of nodes through any node.
#include "field/node_lines.h"

#include <algorithm>
#include <cctype>

namespace orvex {

node_line LINE_THROUGH_NODE(const field_grid_record& g, int field_flag, char axis, grid_node through) {
    node_line line;
    line.axis = axis == 'x' || axis == 'y' ? axis : 'z';
    line.field_flag = field_flag;
    through.i = std::clamp(through.i, 1, std::max(g.nx, 1));
    through.j = std::clamp(through.j, 1, std::max(g.ny, 1));
    through.k = std::clamp(through.k, 1, std::max(g.nz, 1));
    line.through = through;
    line.n = AXIS_NODES(g, line.axis);
    switch (line.axis) {
        case 'x': line.fixed_axes = {'y', 'z'}; line.fixed_index = {through.j, through.k}; break;
        case 'y': line.fixed_axes = {'x', 'z'}; line.fixed_index = {through.i, through.k}; break;
        default: line.fixed_axes = {'x', 'y'}; line.fixed_index = {through.i, through.j}; break;
    }
    for (int f = 0; f < 2; ++f) {
        const auto s = static_cast<std::size_t>(f);
        line.fixed_coordinate[s] = NODE_COORDINATE(g, line.fixed_axes[s], line.fixed_index[s]);
    }
    line.pos.resize(static_cast<std::size_t>(line.n));
    for (std::vector<double>& v : line.val) v.resize(static_cast<std::size_t>(line.n));
    for (int n = 1; n <= line.n; ++n) {
        grid_node at = through;
        (line.axis == 'x' ? at.i : line.axis == 'y' ? at.j : at.k) = n;
        const auto s = static_cast<std::size_t>(n - 1);
        line.pos[s] = NODE_COORDINATE(g, line.axis, n);
        for (int c = 1; c <= 3; ++c)
            line.val[static_cast<std::size_t>(c - 1)][s] = FIELD_ARRAY(g, field_flag, c)[FULL_INDEX(at.i, at.j, at.k)];
    }
    return line;
}

std::string NODE_LINE_TITLE(const node_line& line) {
    const auto upper = [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); };
    std::string title(1, upper(line.axis));
    title += " (cm)";
    for (int f = 0; f < 2; ++f) {
        const auto s = static_cast<std::size_t>(f);
        title += ", ";
        title += upper(line.fixed_axes[s]);
        title += "=" + SHORT_COORDINATE(line.fixed_coordinate[s], place_digits);
    }
    return title;
}

}  // namespace orvex
