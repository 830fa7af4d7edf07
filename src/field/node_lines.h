// node_lines.h: the profile of the unfolded map along any line of nodes.
//
// WHAT IT IS
//   A node line runs along one axis of the full grid through a given node: every node of that
//   axis, the other two indices fixed. LINE_THROUGH_NODE gives the positions of its nodes (lo +
//   (n - 1) * step, as the page's profiles place them) and the values of the field's three
//   components there, exactly as the full arrays hold them. NODE_LINE_TITLE names it as the
//   page titles its own lines: "Z (cm), X=0.5, Y=-0.25".
//
// HOW TO CALL IT
//   const node_line line = LINE_THROUGH_NODE(g, 0, 'z', {25, 23, 1});
//   for (int n = 0; n < line.n; ++n) use line.pos[n], line.val[2][n];   // Ez
//
// ASSUMES AND LIMITS
//   As slices.h: the grid is unfolded, its steps set, the field's triple unfolded, and the node
//   lies on the grid (indices are clamped to it). Reads only the grid it is handed.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "field/field_grid.h"
#include "field/slices.h"

namespace orvex {

struct node_line {
    char axis = 'z';           // 'x', 'y' or 'z'
    grid_node through;         // the node it was asked through (its own index along axis included)
    int field_flag = 0;
    int n = 0;                 // nodes along the axis
    std::vector<double> pos;   // n positions, cm
    std::array<std::vector<double>, 3> val;  // n values of the x, y and z components
    // The two fixed axes ("x", "y" or "z") in order, their indices and coordinates.
    std::array<char, 2> fixed_axes{};
    std::array<int, 2> fixed_index{};
    std::array<double, 2> fixed_coordinate{};
};

node_line LINE_THROUGH_NODE(const field_grid_record& g, int field_flag, char axis, grid_node through);

std::string NODE_LINE_TITLE(const node_line& line);

}  // namespace orvex
