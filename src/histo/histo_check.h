// histo_check.h: the library's own checks of its callers' arguments, and the pen that keeps
// far-off points away from the surface's 16-bit coordinates. Internal to src/histo.
#pragma once

#include <cstddef>
#include <string_view>

#include "histo.h"

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

// Pixel coordinates a pen hands to the surface stay within +-pen_limit; segments reaching
// beyond are cut there in double precision first. The page lies far inside, so what is drawn
// on it is the segment's own line.
inline constexpr double pen_limit = 16000.0;

// A polyline in double-precision pixel coordinates (already truncated to whole pixels where
// the caller's rule says so). Points that are not numbers break the line.
struct pen {
    double x = 0.0, y = 0.0;
    bool valid = false;    // (x, y) is a number
    bool at_pen = false;   // the surface's current position is (x, y)
};

void PEN_MOVE(pen& p, double x, double y);
void PEN_LINE(pen& p, double x, double y);

}  // namespace orvex::histo_detail
