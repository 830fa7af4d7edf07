// png_encode.h: any picture of packed colours encoded as a PNG, in memory or into a file.
//
// WHAT IT IS
//   ENCODE_PNG turns width x height packed colours (row by row from the top left, red in the
//   low byte) into an 8-bit RGB PNG, pixel for pixel, with text chunks under the keywords the
//   caller names (the page uses "Software", "Source" and "Title"). WRITE_PNG_FILE encodes and
//   writes the file whole through WRITE_FILE_ATOMICALLY (file_output.h). It reads no record of
//   the program: the page's PNG is one use of it, the window's Save Page As another.
//
// HOW TO CALL IT
//   const std::array<png_text_chunk, 1> texts{{{"Title", "electric field Ex, Ey, Ez (V/cm)"}}};
//   std::string why;
//   if (!WRITE_PNG_FILE("page.png", pixels, 1280, 800, texts, &why)) report why;
//
// ASSUMES AND LIMITS
//   pixels holds at least width x height colours; width and height are 1 or more (otherwise
//   nothing is encoded and why says so). A text chunk with an empty text is left out. Texts are
//   written with their control characters as \xNN; printable ASCII goes into tEXt chunks, other
//   well-formed UTF-8 into iTXt, and the bytes of text that is not UTF-8 are written as \xNN.
//   Keywords are printable ASCII of 1 to 79 characters. Deflate's fastest level on unfiltered
//   rows: see png_encode.cpp.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "surface/surface.h"

namespace orvex {

struct png_text_chunk {
    std::string_view keyword;  // "Software", "Source", "Title", ...
    std::string_view text;
};

// Encodes the picture into png (its old contents replaced, its capacity kept); false, with the
// reason in why, when it cannot.
bool ENCODE_PNG(std::span<const packed_colour> pixels, int width, int height,
                std::span<const png_text_chunk> texts, std::string& png, std::string& why);

// Encodes the picture and writes it to path whole; false, with the reason in why when given.
bool WRITE_PNG_FILE(std::string_view path, std::span<const packed_colour> pixels, int width, int height,
                    std::span<const png_text_chunk> texts, std::string* why = nullptr);

}  // namespace orvex
