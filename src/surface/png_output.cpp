// png_output.cpp: the page encoded as PNG by libpng in memory, then written whole by
// WRITE_FILE_ATOMICALLY (a temporary file of its own beside the final name, renamed into place).
#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/file_output.h"
#include "surface/png_output.h"
#include "surface/surface.h"

namespace orvex {

namespace {

// The page is mostly white, with grey-edged text: over 600 colours, so no palette. Measured on
// the page of the largest map (bench_page), deflate's fastest level with its default strategy
// on unfiltered rows writes it in about 60% of the time of the "up" filter with run-length
// coding at level 3, in a file half that size (about 100 KB against 180 KB); filtering every
// row or a higher level costs more time than the bytes it saves are worth here.
constexpr int png_compression_level = 1;

std::array<png_byte, std::size_t{page_width} * 3> png_row;
std::array<char, 256> failure_text;
std::string png_bytes;  // the encoded page; its capacity is kept from one page to the next

void PNG_APPEND(png_structp png, png_bytep data, png_size_t length) {
    try {
        png_bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        png_error(png, "out of memory");  // no exception may cross libpng's frames
    }
}

void PNG_FLUSHED(png_structp) {}

void PNG_FAILED(png_structp png, png_const_charp message) {
    std::snprintf(failure_text.data(), failure_text.size(), "%s", message);
    png_longjmp(png, 1);
}

void PNG_WARNED(png_structp, png_const_charp) {}

// ---- text chunks --------------------------------------------------------------------------------

// One text chunk, ready for libpng: its keyword, its text and whether it is UTF-8 (iTXt).
struct png_label {
    const char* keyword;
    std::string text;
    bool utf8 = false;
};
std::array<png_label, 3> png_labels{{{"Software", {}}, {"Source", {}}, {"Title", {}}}};

// True when text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IS_UTF8(std::string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        const auto lead = static_cast<unsigned char>(text[at]);
        const std::size_t extra = lead < 0x80                    ? 0
                                  : lead >= 0xC2 && lead <= 0xDF ? 1
                                  : lead >= 0xE0 && lead <= 0xEF ? 2
                                  : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                                 : 4;  // not a lead byte
        if (extra == 4 || at + extra >= text.size()) return false;
        unsigned code = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(text[at + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = code << 6 | (next & 0x3Fu);
        }
        if ((extra == 2 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (extra == 3 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        at += extra + 1;
    }
    return true;
}

void SET_LABEL(png_label& label, std::string_view text) {
    label.text = VISIBLE_TEXT(text);
    label.utf8 = false;
    for (const char c : label.text) label.utf8 |= static_cast<unsigned char>(c) >= 0x80;
    if (!label.utf8 || IS_UTF8(label.text)) return;
    std::string ascii;
    for (const char c : label.text) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        ascii += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : std::string(escaped);
    }
    label.text = ascii;
    label.utf8 = false;
}

// Hands the labels set so far to libpng; called before png_write_info. Nothing with a destructor
// lives in this frame (libpng may jump out of it).
void ADD_PAGE_TEXT_CHUNKS(png_structp png, png_infop info) {
    std::array<png_text, 3> chunks{};
    int count = 0;
    for (png_label& label : png_labels) {
        if (label.text.empty()) continue;
        png_text& chunk = chunks[static_cast<std::size_t>(count++)];
        chunk.compression = label.utf8 ? PNG_ITXT_COMPRESSION_NONE : PNG_TEXT_COMPRESSION_NONE;
        chunk.key = const_cast<png_charp>(label.keyword);
        chunk.text = label.text.data();
        if (label.utf8) chunk.itxt_length = label.text.size();
        else chunk.text_length = label.text.size();
    }
    if (count > 0) png_set_text(png, info, chunks.data(), count);
}

// Encodes the page into png_bytes; false with failure_text set when libpng fails. Nothing with
// a destructor lives in this frame, so the long jump out of libpng is safe.
bool ENCODE_PAGE_PNG() {
    png_bytes.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PNG_FAILED, PNG_WARNED);
    if (png == nullptr) {
        std::snprintf(failure_text.data(), failure_text.size(), "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(failure_text.data(), failure_text.size(), "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, nullptr, PNG_APPEND, PNG_FLUSHED);
    png_set_compression_level(png, png_compression_level);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, page_width, page_height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    ADD_PAGE_TEXT_CHUNKS(png, info);
    png_write_info(png, info);
    const std::span<const packed_colour> page = PAGE_PIXELS();
    for (int y = 0; y < page_height; ++y) {
        const packed_colour* src = page.data() + static_cast<std::size_t>(y) * page_width;
        for (int x = 0; x < page_width; ++x) {
            png_row[3 * x + 0] = static_cast<png_byte>(src[x] & 0xFFu);          // red
            png_row[3 * x + 1] = static_cast<png_byte>((src[x] >> 8) & 0xFFu);   // green
            png_row[3 * x + 2] = static_cast<png_byte>((src[x] >> 16) & 0xFFu);  // blue
        }
        png_write_row(png, png_row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WRITE_PAGE_PNG(std::string_view path, std::string_view* why) {
    failure_text[0] = '\0';
    std::string reason;
    const bool ok = ENCODE_PAGE_PNG() && WRITE_FILE_ATOMICALLY(path, png_bytes, &reason);
    if (!ok) {
        if (!reason.empty()) std::snprintf(failure_text.data(), failure_text.size(), "%s", reason.c_str());
        if (why != nullptr) *why = failure_text.data();
    }
    return ok;
}

void SET_PAGE_PNG_LABELS(const page_png_labels& labels) {
    SET_LABEL(png_labels[0], labels.software);
    SET_LABEL(png_labels[1], labels.source);
    SET_LABEL(png_labels[2], labels.title);
}

}  // namespace orvex
