// png_encode.cpp: pictures encoded as PNG by libpng, in memory; see png_encode.h.
#include "surface/png_encode.h"

#include <png.h>
#include <zlib.h>

#include <array>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "console/console.h"
#include "console/file_output.h"
#include "console/number_text.h"

namespace orvex {

namespace {

// The page is mostly white, with grey-edged text: over 600 colours, so no palette. Measured on
// the page of the largest map (bench_page), deflate's fastest level with its default strategy
// on unfiltered rows writes it in about 60% of the time of the "up" filter with run-length
// coding at level 3, in a file half that size (about 100 KB against 180 KB); filtering every
// row or a higher level costs more time than the bytes it saves are worth here.
constexpr int png_compression_level = 1;
constexpr std::size_t most_text_chunks = 8;

// What libpng's callbacks reach through its pointers.
struct png_sink {
    std::string* bytes = nullptr;
    std::array<char, 256> failure{};
};

void PNG_APPEND(png_structp png, png_bytep data, png_size_t length) {
    auto* sink = static_cast<png_sink*>(png_get_io_ptr(png));
    try {
        sink->bytes->append(reinterpret_cast<const char*>(data), length);
    } catch (...) {
        png_error(png, "out of memory");  // no exception may cross libpng's frames
    }
}

void PNG_FLUSHED(png_structp) {}

void PNG_FAILED(png_structp png, png_const_charp message) {
    auto* sink = static_cast<png_sink*>(png_get_error_ptr(png));
    std::snprintf(sink->failure.data(), sink->failure.size(), "%s", message);
    png_longjmp(png, 1);
}

void PNG_WARNED(png_structp, png_const_charp) {}

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

// One text chunk as it is written: its keyword, its visible text and whether that is UTF-8.
struct png_label {
    std::string keyword;
    std::string text;
    bool utf8 = false;
};

png_label LABEL_OF(const png_text_chunk& chunk) {
    png_label label{std::string(chunk.keyword), VISIBLE_TEXT(chunk.text), false};
    for (const char c : label.text) label.utf8 |= static_cast<unsigned char>(c) >= 0x80;
    if (!label.utf8 || IS_UTF8(label.text)) return label;
    std::string ascii;
    for (const char c : label.text)
        ascii += static_cast<unsigned char>(c) < 0x80 ? std::string(1, c) : "\\x" + NUMBER_X(static_cast<unsigned char>(c), 2);
    label.text = ascii;
    label.utf8 = false;
    return label;
}

// Encodes into sink.bytes; false with sink.failure set when libpng fails. Nothing with a
// destructor lives in this frame, so the long jump out of libpng is safe: the labels and the
// row buffer belong to the caller.
bool ENCODE_ROWS(png_sink& sink, const packed_colour* pixels, int width, int height, png_label* labels,
                 std::size_t label_count, png_byte* row) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PNG_FAILED, PNG_WARNED);
    if (png == nullptr) {
        std::snprintf(sink.failure.data(), sink.failure.size(), "out of memory");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(sink.failure.data(), sink.failure.size(), "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &sink, PNG_APPEND, PNG_FLUSHED);
    png_set_compression_level(png, png_compression_level);
    png_set_compression_strategy(png, Z_DEFAULT_STRATEGY);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::array<png_text, most_text_chunks> chunks{};
    for (std::size_t n = 0; n < label_count; ++n) {
        png_text& chunk = chunks[n];
        chunk.compression = labels[n].utf8 ? PNG_ITXT_COMPRESSION_NONE : PNG_TEXT_COMPRESSION_NONE;
        chunk.key = labels[n].keyword.data();
        chunk.text = labels[n].text.data();
        if (labels[n].utf8) chunk.itxt_length = labels[n].text.size();
        else chunk.text_length = labels[n].text.size();
    }
    if (label_count > 0) png_set_text(png, info, chunks.data(), static_cast<int>(label_count));
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const packed_colour* src = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            row[3 * x + 0] = static_cast<png_byte>(src[x] & 0xFFu);          // red
            row[3 * x + 1] = static_cast<png_byte>((src[x] >> 8) & 0xFFu);   // green
            row[3 * x + 2] = static_cast<png_byte>((src[x] >> 16) & 0xFFu);  // blue
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool ENCODE_PNG(std::span<const packed_colour> pixels, int width, int height,
                std::span<const png_text_chunk> texts, std::string& png, std::string& why) {
    png.clear();
    if (width < 1 || height < 1 || pixels.size() / static_cast<std::size_t>(width) < static_cast<std::size_t>(height)) {
        why = "the picture is empty or smaller than its size";
        return false;
    }
    if (texts.size() > most_text_chunks) {
        why = "too many text chunks";
        return false;
    }
    std::array<png_label, most_text_chunks> labels;
    std::size_t label_count = 0;
    for (const png_text_chunk& chunk : texts) {
        if (chunk.text.empty()) continue;
        if (chunk.keyword.empty() || chunk.keyword.size() > 79) {
            why = "a text chunk's keyword must have 1 to 79 characters";
            return false;
        }
        labels[label_count++] = LABEL_OF(chunk);
    }
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 3);
    png_sink sink;
    sink.bytes = &png;
    if (ENCODE_ROWS(sink, pixels.data(), width, height, labels.data(), label_count, row.data())) return true;
    why = sink.failure.data();
    return false;
}

bool WRITE_PNG_FILE(std::string_view path, std::span<const packed_colour> pixels, int width, int height,
                    std::span<const png_text_chunk> texts, std::string* why) {
    std::string png;
    std::string reason;
    const bool ok = ENCODE_PNG(pixels, width, height, texts, png, reason) && WRITE_FILE_ATOMICALLY(path, png, &reason);
    if (!ok && why != nullptr) *why = reason;
    return ok;
}

}  // namespace orvex
