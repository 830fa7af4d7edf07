// text_canvas.h: the surface's text on any picture of packed colours, and the room it takes.
//
// WHAT IT IS
//   The page's text ("Arial", drawn with Liberation Sans through FreeType as grey coverage
//   blended into what is beneath, as DRAW_TEXT draws it) drawn into a picture the caller owns,
//   of any size, running across or reading upward (turned a quarter turn to the left, as the
//   title of an up axis reads), and the width a text takes at any size, so that a picture is
//   laid out the same in pixels and in points.
//   A text's size is the height of its character cell, ascender to descender, as the page's
//   font descriptors give it ("h14"): its em is that height over the face's cell in ems
//   (TEXT_FACE_METRICS; about 1.117 for Liberation Sans, so a 14-pixel cell has a 12.5-pixel
//   em). Widths are the sums of the face's advances, without kerning, as the glyphs are set.
//
// HOW TO CALL IT
//   const text_face_metrics face = TEXT_FACE_METRICS();       // in ems; usable false: no face
//   const double w = TEXT_WIDTH("-1.5", 14.0);                  // the same units as the size
//   canvas c{pixels.data(), width, height};                     // row by row from the top left
//   DRAW_CANVAS_TEXT(c, 14.0, x, baseline, "x (cm)", 0x000000, text_direction::across);
//
// ASSUMES AND LIMITS
//   One thread: the fonts are the surface's. Sizes are rounded to whole pixels for drawing, 1
//   to 255 (at most 32 sizes, with the page's fonts, in one process). Bytes above 127 are
//   Latin-1, as on the page. Without a usable face nothing is drawn (DRAW_CANVAS_TEXT gives
//   false) and widths come from the face's usual metrics (0.556 em a character).
#pragma once

#include <cstdint>
#include <string_view>

#include "surface/surface.h"

namespace orvex {

struct canvas {
    packed_colour* pixels = nullptr;  // width x height, row by row from the top left
    int width = 0, height = 0;
};

enum class text_direction : std::uint8_t { across, upward };

// The face's cell (ascender minus descender), ascender and descender (positive), in ems.
struct text_face_metrics {
    bool usable = false;
    double cell = 1.1172, ascent = 0.9053, descent = 0.2119;
};
text_face_metrics TEXT_FACE_METRICS();

// The width of text set at cell height size, in the units of size.
double TEXT_WIDTH(std::string_view text, double size);

// Draws text with its baseline starting at (x, baseline) (across: the baseline runs right;
// upward: it runs up from there and the letters' tops face left), in colour, clipped to the
// canvas. False when no face can be had.
bool DRAW_CANVAS_TEXT(canvas& c, double size, double x, double baseline, std::string_view text, packed_colour colour,
                      text_direction direction);

}  // namespace orvex
