// node_lines.h: the full map along a line of nodes, the one sampler of every line.
//
// WHAT IT IS
//   A node line runs along one axis of the full map through a given node: every node of that
//   axis, the other two indices fixed. SAMPLE_NODE_LINE gives the coordinates of its nodes (the
//   full map's, full_map.h) and the three components of a field there, exactly as the full map
//   holds them: the ten lines of the page (profiles.h), the lines the figures integrate, the
//   gradient beside the axis and the window's lines through any node are all cut by it.
//   LINE_THROUGH_NODE keeps such a line with its fixed axes for the window, and NODE_LINE_TITLE
//   names it as the page titles its own lines: "Z (cm), X=0.5, Y=-0.25".
//
// HOW TO CALL IT
//   line_samples s;  SAMPLE_NODE_LINE(m, 0, 'z', {25, 25, 1}, s);   // s.n nodes, s.val[2] = Ez
//   const node_line line = LINE_THROUGH_NODE(m, 0, 'z', {25, 23, 1});
//
// ASSUMES AND LIMITS
//   The map is complete (UNFOLD_GRID has run). A node outside the grid gives an empty line
//   (n = 0) to SAMPLE_NODE_LINE; LINE_THROUGH_NODE clamps the node to the grid. Reads only the
//   map it is handed (the field's arrays are unfolded on first request, full_map.h).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "field/full_map.h"

namespace orvex {

// One line of nodes: at most the 402 of the z capacity.
struct line_samples {
    char axis = 'z';
    int n = 0;
    std::array<double, full_capacity_z> pos{};                   // cm
    std::array<std::array<double, full_capacity_z>, 3> val{};    // x, y, z components of the field
};

// The nodes along axis ('x', 'y', 'z') through node `through` (its own index along the axis is
// not used), for field 0 (electric) or 1 (magnetic).
void SAMPLE_NODE_LINE(const full_map& m, int field, char axis, grid_node through, line_samples& out);

struct node_line {
    char axis = 'z';           // 'x', 'y' or 'z'
    grid_node through;         // the node it was asked through (its own index along axis included)
    int field = 0;
    int n = 0;                 // nodes along the axis
    std::vector<double> pos;   // n positions, cm
    std::array<std::vector<double>, 3> val;  // n values of the x, y and z components
    // The two fixed axes ("x", "y" or "z") in order, their indices and coordinates.
    std::array<char, 2> fixed_axes{};
    std::array<int, 2> fixed_index{};
    std::array<double, 2> fixed_coordinate{};
};

node_line LINE_THROUGH_NODE(const full_map& m, int field, char axis, grid_node through);

std::string NODE_LINE_TITLE(const node_line& line);

}  // namespace orvex
