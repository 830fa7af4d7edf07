// number_text.h: the one road from a number to text.
//
// WHAT IT IS
//   Every number the programs write (CSV, JSON, titles, readouts, ticks, notes, messages) goes
//   through these, which stand on std::to_chars and so are the same in every locale (the
//   window's toolkit sets the user's locale, under which the printf family writes "2,5"):
//     NUMBER_G(v, d)   as "%.<d>g" writes it in the C locale: 0.1, 1e+300, -0, 1.5
//     NUMBER_E(v, d)   as "%.<d>E":  6.12345678901234E+03
//     NUMBER_F(v, d)   as "%.<d>f":  0.250
//     NUMBER_I(n, w)   an integer right-aligned in w columns (0: as it stands)
//     NUMBER_X(n, w)   a non-negative integer in upper-case hex, zero-filled to w digits: 9B
//   NaN is written "nan" and the infinities "inf" and "-inf" (a form every reader takes).
//
// HOW TO CALL IT
//   title += "Y=" + NUMBER_G(y, 12);
//
// ASSUMES AND LIMITS
//   Digits are clamped to 0..40 (17 is the most a double needs). Nothing is kept between calls.
#pragma once

#include <cstdint>
#include <string>

namespace orvex {

std::string NUMBER_G(double v, int digits);
std::string NUMBER_E(double v, int decimals);
std::string NUMBER_F(double v, int decimals);
std::string NUMBER_I(std::int64_t n, int width = 0);
std::string NUMBER_X(std::uint64_t n, int width = 0);

}  // namespace orvex
