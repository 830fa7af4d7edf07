// surface.h: the drawing surface every picture of the system is made on.
//
// WHAT IT IS
//   The page is an in-memory picture of 1280 x 800 pixels in plot-window coordinates: (1, 1) is
//   the top-left pixel, x grows to the right, y downward. Page pixel (x, y) is pixel (x - 1, y - 1)
//   of the PNG and of the window's image. Every operation writes exact pixels, so a page is the
//   same with or without a display and can be checked pixel by pixel.
//
//   Colours are packed 24-bit integers: red in the low byte, green in the middle byte, blue in
//   the high byte (0x0000FF is red, 0xFF0000 is blue); PACKED_RGB(255, 0, 0) packs red.
//
//   Coordinates are signed 16-bit integers. Pixels outside the page or outside the clipping
//   rectangle are never changed. Results are never tested by callers; nothing here fails loudly.
//   Polylines through points that may not fit 16 bits are drawn with a pen (pen.h).
//
// HOW TO CALL IT
//   The drawing operations below, one a line, in the order a picture needs them; the finished
//   page is read back through PAGE_PIXELS (the PNG writer, the window). The state is private to
//   the surface: DRAWING_STATE, WINDOW_REQUESTS and TEXT_LOG show it read-only.
//
// The contract, one operation a line:
//   OPEN_PLOT_WINDOW(title)        records the plot window's caption; drawing goes to the page
//   MAXIMISE_WINDOW(w)             records that window w is to be shown maximised
//   SET_CLIP_RECT(x1,y1,x2,y2)     only pixels inside, corners included, change from now on;
//                                  corners in either order; the part off the page is cut away;
//                                  a rectangle that misses the page entirely is refused
//   SET_DRAW_COLOUR(c)             colour of lines, filled rectangles and text
//   SET_BACK_COLOUR(c)             background colour of the page
//   SET_CONSOLE_TEXT_COLOUR(c)     colour of the text in the window's console pane
//   CLEAR_WINDOW()                 fills the whole page with the background colour (no clip)
//   LOAD_FONTS()                   makes the system's fonts available; returns their number
//   SELECT_FONT(descriptor)        selects a font by descriptor (below); its index, or -1 and
//                                  the previous font stays
//   MOVE_TO(x,y)                   sets the current position
//   LINE_TO(x,y)                   one-pixel Bresenham line in the drawing colour from the
//                                  current position to (x,y), both end pixels drawn; (x,y)
//                                  becomes current
//   FILL_RECT(x1,y1,x2,y2)         fills the rectangle, border included, with the drawing colour
//   DRAW_TEXT(text,length)         draws all length characters, trailing blanks included, in the
//                                  current font and drawing colour, transparent background,
//                                  top-left corner at the current position, which then moves
//                                  right by the text's width; nothing without a font
//   SET_PIXEL(x,y,c)               one pixel in colour c (clipped like everything else)
//
// Font descriptors are case-insensitive letter codes, trailing blanks ignored: t'name' the
// typeface (at most 31 characters), hN the character cell height and wN the average character
// width in pixels, i italic. In use: "t'Arial'h16w8i" (page texts), "t'Arial'h12w4" (panel
// texts). "Arial" is drawn with Liberation Sans, which has Arial's metrics; where fontconfig
// has no Liberation face, with its best sans-serif match, and one line on standard error says
// which face stands in.
//
// PAGE SLOTS
//   The surface holds two pages, slots 0 and 1; the operations above and every read-only view
//   below work on the slot selected last (0 at start). A program that makes more than one
//   picture (the viewer: the page of each field of a map) draws each into a slot of its own, so
//   a finished picture is never drawn over while it is shown:
//     SELECT_PAGE_SLOT(1);  ... draw ...;  PAGE_PIXELS() is slot 1's page, slot 0's stays as it was
//
// ASSUMES AND LIMITS
//   One surface per process, one thread. The page is 1280 x 800 and fixed. At most 32 fonts and
//   8 faces are ever selected (the page uses 2 and 2). Nothing here allocates per pixel or per
//   line; glyphs are rasterised once per font and character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace orvex {

inline constexpr int page_width = 1280;
inline constexpr int page_height = 800;

using packed_colour = std::uint32_t;

// The packed colour of red, green and blue, each 0..255 (only its low eight bits are taken):
// PACKED_RGB(255, 128, 0) is orange, 0x0080FF.
constexpr packed_colour PACKED_RGB(int red, int green, int blue) {
    return static_cast<packed_colour>(red & 0xFF) | static_cast<packed_colour>(green & 0xFF) << 8 |
           static_cast<packed_colour>(blue & 0xFF) << 16;
}
using coord = std::int16_t;

void OPEN_PLOT_WINDOW(std::string_view title);
enum class window_id { application_frame, console, plot };
void MAXIMISE_WINDOW(window_id which);
void SET_CLIP_RECT(coord x1, coord y1, coord x2, coord y2);
void SET_DRAW_COLOUR(packed_colour colour);
void SET_BACK_COLOUR(packed_colour colour);
void SET_CONSOLE_TEXT_COLOUR(packed_colour colour);
void CLEAR_WINDOW();
int LOAD_FONTS();
int SELECT_FONT(std::string_view descriptor);
void MOVE_TO(coord x, coord y);
void LINE_TO(coord x, coord y);
void FILL_RECT(coord x1, coord y1, coord x2, coord y2);
void DRAW_TEXT(std::string_view text, int length);
void SET_PIXEL(coord x, coord y, packed_colour colour);

// The finished page, read-only: page_width x page_height packed colours, row by row from the
// top; page pixel (x, y) is element (y - 1) x page_width + (x - 1).
std::span<const packed_colour> PAGE_PIXELS();

// The page pixel at (x, y), 1-based plot-window coordinates; (x, y) must be on the page.
packed_colour PAGE_PIXEL(int x, int y);

// The drawing state as the operations above left it.
struct drawing_state {
    coord current_x = 1, current_y = 1;
    packed_colour draw_colour = 0x000000;
    packed_colour back_colour = 0xFFFFFF;
    coord clip_x1 = 1, clip_y1 = 1, clip_x2 = page_width, clip_y2 = page_height;
    int current_font = -1;  // index returned by SELECT_FONT, -1 when none was selected
};
const drawing_state& DRAWING_STATE();

// What the picture asks of the window that will show it; only the window reads it.
struct window_requests {
    bool plot_window_open = false;
    std::array<char, 64> plot_caption{};    // NUL-terminated
    std::array<bool, 3> maximised{};        // indexed by window_id
    packed_colour console_text_colour = 0xFFFFFF;
};
const window_requests& WINDOW_REQUESTS();

// Test hook: every DRAW_TEXT call of the page so far, in order, up to text_log_capacity calls
// (later calls are drawn but not logged). A run never reads it; tests read the page's texts
// and their places from it.
struct text_call {
    std::array<char, 132> text;  // the first 132 characters drawn, blank-padded
    int length;                  // the length asked for
    coord x, y;                  // top-left corner
    packed_colour colour;
    int font;                    // index returned by SELECT_FONT, -1 when none was selected
};
inline constexpr int text_log_capacity = 256;
std::span<const text_call> TEXT_LOG();

// The page slots: drawing and the views below go to slot (0 or 1; any other value is 0).
inline constexpr int page_slot_count = 2;
void SELECT_PAGE_SLOT(int slot);
int PAGE_SLOT();

// Puts the surface back to its start state: both pages black (0), no font, whole-page clip,
// empty text logs, slot 0 selected. A run never needs it; tests that draw several pages in one
// process do.
void RESET_SURFACE();

}  // namespace orvex
