// png_output.cpp: the page's PNG: its pixels and labels handed to the encoder (png_encode.h),
// the bytes written whole by WRITE_FILE_ATOMICALLY.
#include "surface/png_output.h"

#include <array>
#include <cstdio>
#include <string>

#include "console/file_output.h"
#include "surface/surface.h"

namespace orvex {

namespace {

std::array<std::string, 3> label_texts;
std::array<png_text_chunk, 3> page_texts{{{"Software", {}}, {"Source", {}}, {"Title", {}}}};
std::array<char, 256> failure_text;
std::string png_bytes;  // the encoded page; its capacity is kept from one page to the next

}  // namespace

bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why) {
    std::string reason;
    const bool ok = ENCODE_PNG(PAGE_PIXELS(), page_width, page_height, PAGE_PNG_TEXTS(), png_bytes, reason) &&
                    WRITE_FILE_ATOMICALLY(path, png_bytes, &reason);
    if (!ok) {
        std::snprintf(failure_text.data(), failure_text.size(), "%s", reason.c_str());
        if (why != nullptr) *why = failure_text.data();
    }
    return ok;
}

void SET_PAGE_PNG_LABELS(const page_png_labels& labels) {
    label_texts = {std::string(labels.software), std::string(labels.source), std::string(labels.title)};
    for (std::size_t n = 0; n < page_texts.size(); ++n) page_texts[n].text = label_texts[n];
}

std::span<const png_text_chunk> PAGE_PNG_TEXTS() { return page_texts; }

}  // namespace orvex
