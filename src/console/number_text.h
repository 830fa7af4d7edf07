// number_text.h: a double as the 17 significant digits that read back as the same double.
//
// WHAT IT IS
//   APPEND_17_DIGITS appends exactly what printf("%.17g") writes in the C locale (and
//   std::to_chars(general, 17)): the value correctly rounded to 17 significant digits, in fixed
//   form for exponents -4..16 and in exponent form (1.2345678901234567e-05) otherwise, trailing
//   zeros dropped. Non-finite values are written "nan", "inf" and "-inf". It is the one number
//   form of the CSV files the program writes.
//
// HOW TO CALL IT
//   std::string row;  APPEND_17_DIGITS(row, v);  row += ',';
//
// ASSUMES AND LIMITS
//   Values from 1e-6 to 1e16 in magnitude (every coordinate and field value of a real map) take
//   an exact integer path of their own, several times faster than the standard library's;
//   others go through std::to_chars. Both give the same characters.
#pragma once

#include <string>

namespace orvex {

void APPEND_17_DIGITS(std::string& out, double v);

}  // namespace orvex
