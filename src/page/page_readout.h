// page_readout.h: reading a value off the page: which panel a point of the page lies in, the
// node of its profile nearest that point, where that node is drawn, and the words that say it.
//
// WHAT IT IS
//   Points of the page are given in continuous page coordinates: page pixel (x, y) covers
//   [x, x + 1) x [y, y + 1), so a pointer anywhere on that pixel, at any zoom, reads the same
//   panel. A panel covers its frame, border pixels included, and two pixels around it, so that
//   the nodes on the frame (the first and the last) are easy to point at. The node nearest a
//   point is the node whose position along the line is nearest the position the point stands
//   for on the panel's scale (the same scale VPLOT1X drew with), so the readout follows the
//   pointer node by node however many nodes share a pixel.
//
// HOW TO CALL IT
//   const int panel = PANEL_AT(PLOTTED_PAGE(), u, v);                 // 0: not on a panel
//   const plotted_panel& p = PLOTTED_PAGE().panels[panel - 1];
//   const int node = NEAREST_NODE(p, u);                               // 0: empty profile
//   status = READOUT_TEXT(p, node); marker = NODE_PIXEL(p, node);
//
// ASSUMES AND LIMITS
//   The page was plotted (PLOTTED_PAGE filled). Nothing is allocated but the returned texts.
#pragma once

#include <string>

#include "page/plotted_page.h"

namespace orvex {

// The panel (1..30) whose frame (or the two pixels around it) holds the page point (u, v), or 0.
int PANEL_AT(const plotted_page& page, double u, double v);

// The node (1..n) of the panel's profile nearest the position the page point's u stands for,
// among the nodes with a finite position; 0 when there is none.
int NEAREST_NODE(const plotted_panel& p, double u);

// Where the curve's vertex of a node is drawn: the page pixel VPLOT1X computed for it. shown is
// false when the node has no finite position and value (the curve breaks there).
struct node_pixel {
    int x = 0, y = 0;
    bool shown = false;
};
node_pixel NODE_PIXEL(const plotted_panel& p, int node);

// The status line of a node, the position and the value with 15 significant digits:
// "line 3 Z (cm), X=Y=0 (i, j = 25, 25: x = 0, y = 0 cm) | node 250 | z = 9.80000000000000 cm |
// Ez = 6.12345678901234E+03 V/cm".
std::string READOUT_TEXT(const plotted_panel& p, int node);

// What the page shows, for the status bar when no value is read: "MW_map.bin: the electric
// field, Ex, Ey and Ez in V/cm, along ten lines".
std::string PAGE_SUMMARY(const plotted_page& page);

// A value with 15 significant digits in exponent form: "6.12345678901234E+03" (0 for -0).
std::string READOUT_VALUE(double v);

// A real with 15 significant digits in the listing's form, without the listing's padding.
std::string SHORT_LISTED_REAL(double v);

}  // namespace orvex
