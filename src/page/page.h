// page.h: the page of one run: heading, date-and-time stamp and thirty framed panels.
//
// WHAT IT IS
//   INI_GRAPH sets up the window's requests, the colours and the panel geometry, then draws the
//   heading " ORVEX 3D Fields Projection Software" in blue at (200, 10), the stamp in red at
//   (950, 10) and the thirty empty panels (white, black frame, 4 x 4 grid) in two blocks of
//   five rows by three columns. The profile plot then draws into the panels, reading
//   panel_table; the plot driver reads colour_table.
//
// HOW TO CALL IT
//   INI_GRAPH();                                  // once per run, before the first VPLOT1X
//   const panel_record& p = panel_table[panel - 1];
//
// ASSUMES AND LIMITS
//   The tables are filled once and read-only afterwards. With no font at all the run stops
//   (RUN_FAILURE) before the heading is drawn: a page without numbers would mislead.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string_view>

#include "surface/surface.h"

namespace orvex {

inline constexpr int panel_count = 30;
inline constexpr int colour_count = 8;

struct panel_record {
    std::int32_t ix1, ix2;  // left and right edge
    std::int32_t iy1, iy2;  // top and bottom edge
    std::int32_t ndiv_x, ndiv_y;
};

// Entries 1..8 are colour_table[0..7]: white, black, blue, green, red, cyan, magenta, yellow.
extern std::array<packed_colour, colour_count> colour_table;
// Panels 1..30 are panel_table[0..29].
extern std::array<panel_record, panel_count> panel_table;

inline constexpr std::string_view page_caption = "ORVEX-3D-Fields";

// Fills colour_table and panel_table as INI_GRAPH does, without drawing (tests use it).
void LAYOUT_PAGE();

// Sets up and draws the whole empty page. Called once per run. With no font to draw the
// heading in (fontconfig offers none), the run stops through RUN_FAILURE before drawing on.
void INI_GRAPH();

// Draws empty panel p (1..30) with its frame and grid in colour.
void GRAPH(int p, packed_colour colour);

// Fills stamp with the local date and time: "Dec 07,2026,10:10:02" and five blanks.
void D_AND_T(std::array<char, 25>& stamp);
// The same for the clock reading now (the epoch's stamp when the clock could not be read).
void D_AND_T_FROM(std::time_t now, std::array<char, 25>& stamp);
// The same for a given broken-down time (tests).
void D_AND_T_AT(const std::tm& when, std::array<char, 25>& stamp);

}  // namespace orvex
