// png_output.cpp: the page's PNG: its pixels and labels handed to the encoder (png_encode.h),
// the bytes written whole by WRITE_FILE_ATOMICALLY.
#include "surface/png_output.h"

#include <array>
#include <algorithm>
#include <string>

#include "console/file_output.h"
#include "surface/surface.h"

namespace orvex {

namespace {

// The labels of each page slot (surface.h).
std::array<std::array<std::string, 3>, page_slot_count> label_texts;
std::array<std::array<png_text_chunk, 3>, page_slot_count> page_texts{{
    {{{"Software", {}}, {"Source", {}}, {"Title", {}}}},
    {{{"Software", {}}, {"Source", {}}, {"Title", {}}}},
}};
std::array<char, 256> failure_text;
std::string png_bytes;  // the encoded page; its capacity is kept from one page to the next

}  // namespace

bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why) {
    std::string reason;
    const bool ok = ENCODE_PNG(PAGE_PIXELS(), page_width, page_height, PAGE_PNG_TEXTS(), png_bytes, reason) &&
                    WRITE_FILE_ATOMICALLY(path, png_bytes, &reason);
    if (!ok) {
        const std::size_t n = std::min(reason.size(), failure_text.size() - 1);
        std::copy_n(reason.begin(), n, failure_text.begin());
        failure_text[n] = '\0';
        if (why != nullptr) *why = std::string_view(failure_text.data(), n);
    }
    return ok;
}

void SET_PAGE_PNG_LABELS(const page_png_labels& labels) {
    const auto slot = static_cast<std::size_t>(PAGE_SLOT());
    label_texts[slot] = {std::string(labels.software), std::string(labels.source), std::string(labels.title)};
    for (std::size_t n = 0; n < 3; ++n) page_texts[slot][n].text = label_texts[slot][n];
}

std::span<const png_text_chunk> PAGE_PNG_TEXTS() { return page_texts[static_cast<std::size_t>(PAGE_SLOT())]; }

}  // namespace orvex
