// data_pixel.h: the one rule that places a data value on a pixel.
//
// WHAT IT IS
//   A value v on a scale lo..hi drawn over size pixels lands at
//     across:  left edge   + trunc((v - lo) / (hi - lo) x size)
//     up:      bottom edge - trunc((v - lo) / (hi - lo) x size)
//   computed in double precision, trunc toward zero; a fraction of a length (a count over the
//   largest count) is trunc(fraction x size). The profile plot, the readout's marker and the
//   histogram drawing all place their points through it, so a marker sits on the drawn vertex.
//   Scale ends are never widened and get no margin.
//
// HOW TO CALL IT
//   const double px = DATA_PIXEL_ACROSS(x, x_lo, x_hi, ix1, ix2 - ix1);
//   const double py = DATA_PIXEL_UP(y, y_lo, y_hi, iy2, iy2 - iy1);
//   const double at = DATA_AT_PIXEL_ACROSS(u, x_lo, x_hi, ix1, ix2 - ix1);   // the inverse
//
// ASSUMES AND LIMITS
//   hi != lo (the callers check their scales); a value far off the scale gives a pixel far off
//   the page, which the caller cuts or clips. Non-finite values give non-finite pixels.
#pragma once

#include <cmath>

namespace orvex {

// trunc(fraction x size): how many whole pixels a fraction of size covers.
inline double PIXEL_OFFSET(double fraction, double size) { return std::trunc(fraction * size); }

inline double DATA_PIXEL_ACROSS(double v, double lo, double hi, double left, double width) {
    return left + PIXEL_OFFSET((v - lo) / (hi - lo), width);
}

inline double DATA_PIXEL_UP(double v, double lo, double hi, double bottom, double height) {
    return bottom - PIXEL_OFFSET((v - lo) / (hi - lo), height);
}

// The value a horizontal page coordinate u stands for: pixel left + trunc(f x width) holds the
// fractions f x width in [px - left, px - left + 1), so u itself (not the pixel's centre) is
// the fraction's place.
inline double DATA_AT_PIXEL_ACROSS(double u, double lo, double hi, double left, double width) {
    return lo + (u - left) / width * (hi - lo);
}

}  // namespace orvex
