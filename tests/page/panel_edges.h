// panel_edges.h: where the thirty panels of the page lie, written from the page's tabled layout
// (not from the code under test): two blocks of five rows by three columns, each panel 148 x 100
// pixels with 4 x 4 divisions, left edges 60, 268, 476 | 684, 892, 1100 and top edges 48, 196,
// 344, 492, 640. Panel n counts along a row, then down a block, then to the second block.
#pragma once

namespace orvex::testing_support {

struct panel_edges {
    int ix1, ix2, iy1, iy2;
};

inline constexpr int panel_left_edges[6] = {60, 268, 476, 684, 892, 1100};
inline constexpr int panel_top_edges[5] = {48, 196, 344, 492, 640};

// The pixel edges of panel n (1..30).
constexpr panel_edges PANEL_EDGES(int n) {
    const int block = (n - 1) / 15, row = (n - 1) % 15 / 3, column = (n - 1) % 3;
    const int x = panel_left_edges[3 * block + column], y = panel_top_edges[row];
    return {x, x + 148, y, y + 100};
}

}  // namespace orvex::testing_support
