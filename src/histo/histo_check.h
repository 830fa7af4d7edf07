// histo_check.h: the library's own checks of its callers' arguments, and the pen its polylines
// are drawn with. Internal to src/histo.
#pragma once

#include <cstddef>
#include <string_view>

#include "histo/histo.h"
#include "surface/pen.h"

namespace orvex::histo_detail {

// Stops the run with "<routine>: <what>" (STOP_RUN); nothing has been drawn or written yet.
[[noreturn]] void MISUSE(std::string_view routine, std::string_view what);

// g must be 1..10.
void CHECK_GRAPH_NUMBER(std::string_view routine, int g);
// g must be 1..10 and its entry usable: rectangle on the page, ix1 < ix2, iy1 < iy2,
// divisions from 1 up to the rectangle's width (ndiv_x) and height (ndiv_y) in pixels.
// Returns the entry.
const graph_record& CHECKED_GRAPH(std::string_view routine, int g);
// Both ends finite and different.
void CHECK_RANGE(std::string_view routine, std::string_view name, const data_range& range);
// 1 <= nbins <= capacity.
void CHECK_BINS(std::string_view routine, std::string_view name, int nbins, int capacity);
// An array named name holds at least needed entries.
void CHECK_LENGTH(std::string_view routine, std::string_view name, std::size_t length, std::size_t needed);

// The pen of every polyline in a graph (pen.h): coordinates handed to the surface stay within
// +-16000 pixels, and segments reaching beyond are cut there in double precision first. The page
// lies far inside, so what is drawn on it is the segment's own line.
inline constexpr pixel_box graph_pen_box{-16000.0, -16000.0, 16000.0, 16000.0};
inline pen GRAPH_PEN() { return {.near = graph_pen_box, .cut = graph_pen_box}; }

}  // namespace orvex::histo_detail
