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
//   The page is encoded in memory by ENCODE_PNG (png_encode.h) and written by
//   WRITE_FILE_ATOMICALLY (console/file_output.h): into a temporary file created exclusively
//   beside its final name, with a name of its own ("plot_orvex_3dfields.png.k3Xq9a"), renamed into place once complete. An older file of
//   that name is replaced whole, a failed write leaves no partial file behind, runs writing
//   into one directory at once never meet, and no link, FIFO or device in the directory changes
//   what is written where (a link of the final name is replaced, not followed). why, when
//   given, points at a text that stays valid until the next call.
//
// TEXT CHUNKS
//   SET_PAGE_PNG_LABELS({"plot_orvex_3dfields 1.0.0", "RFQ_cell.bin", "electric field ..."})
//   makes every page PNG written afterwards carry the texts under the standard keywords
//   "Software", "Source" and "Title"; an empty text is left out, and none are written until the
//   labels are set. PAGE_PNG_TEXTS gives them as text chunks (the window is handed them in
//   page_content and writes them into the PNG it saves). Printable ASCII goes into tEXt chunks,
//   other UTF-8 into iTXt; control characters and bytes that are not UTF-8 are written as \xNN.
//   The pixels are the same with or without them. Each page slot (surface.h) keeps labels of
//   its own.
#pragma once

#include <span>
#include <string_view>

#include "surface/png_encode.h"

namespace orvex {

// Writes the page to path; false, with the reason in why, when it cannot.
bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why = nullptr);

// Where a page came from: the program and its version, the source of the picture, what it shows.
struct page_png_labels {
    std::string_view software, source, title;
};
void SET_PAGE_PNG_LABELS(const page_png_labels& labels);

// The labels set so far as the page's text chunks (views that stay valid until they are set again).
std::span<const png_text_chunk> PAGE_PNG_TEXTS();

}  // namespace orvex
