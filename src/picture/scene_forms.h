// scene_forms.h: the forms the scene's writers share (scene_*.cpp only): numbers in the vector
// files, texts as Latin-1 bytes, colours as their channels.
#pragma once

#include <string>
#include <string_view>

#include "surface/surface.h"

namespace orvex::scene_detail {

// A coordinate or size in a vector file: fixed point, at most three decimals, no trailing
// zeros, no exponent (PDF has none), "-0" written "0": 12.5, 0.708, 420.
std::string VECTOR_NUMBER(double v);

// UTF-8 as Latin-1 bytes: characters up to U+00FF as their byte, others (and bytes that are
// not UTF-8) as '?'; control characters as blanks.
std::string LATIN1_TEXT(std::string_view utf8);

inline int RED_OF(packed_colour c) { return static_cast<int>(c & 0xFFu); }
inline int GREEN_OF(packed_colour c) { return static_cast<int>((c >> 8) & 0xFFu); }
inline int BLUE_OF(packed_colour c) { return static_cast<int>((c >> 16) & 0xFFu); }

}  // namespace orvex::scene_detail
