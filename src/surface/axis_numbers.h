// axis_numbers.h: the 8-character number texts drawn along plot axes.
//
// WHAT IT IS, one form a line
//   FORMAT_AXIS_INTEGER(v)   the integer                                  "      12"
//   FORMAT_AXIS_POINT(v)     fixed point without decimals, point kept     "     12."
//   FORMAT_AXIS_FIXED3(v)    fixed point with 3 decimals                  "  12.500"
//
// HOW TO CALL IT
//   const std::array<char, 8> text = FORMAT_AXIS_FIXED3(x); DRAW_TEXT({text.data(), 8}, 8);
//
// ASSUMES AND LIMITS
//   Each text is right-aligned in 8 characters with leading blanks. A value whose text needs
//   more than 8 characters, or that is not finite, is eight asterisks. A value that rounds to
//   zero is written without a sign: an axis end computed as 0.3 - 3 x 0.1 reads "0.000", not
//   "-0.000". The texts never depend on the locale.
#pragma once

#include <array>
#include <cstdint>

namespace orvex {

std::array<char, 8> FORMAT_AXIS_INTEGER(std::int64_t v);
std::array<char, 8> FORMAT_AXIS_POINT(double v);
std::array<char, 8> FORMAT_AXIS_FIXED3(double v);

}  // namespace orvex
