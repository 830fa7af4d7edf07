// png_output.h: the finished page as a PNG file.
//
// WHAT IT IS
//   WRITE_PAGE_PNG writes the page (PAGE_PIXELS of surface.h) as an 8-bit RGB PNG of 1280 x 800
//   pixels: page pixel (x, y) is PNG pixel (x - 1, y - 1), exactly, so the file read back is the
//   page pixel for pixel.
//
// HOW TO CALL IT
//   std::string_view why;
//   if (!WRITE_PAGE_PNG("plot_orvex_3dfields.png", &why)) report why;
//
// ASSUMES AND LIMITS
//   The file is written beside its final name and renamed into place once complete, so an older
//   file of that name is replaced whole and a failed write leaves no partial file behind. why,
//   when given, points at a text that stays valid until the next call.
#pragma once

#include <string_view>

namespace orvex {

// Writes the page to path; false, with the reason in why, when it cannot.
bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why = nullptr);

}  // namespace orvex
