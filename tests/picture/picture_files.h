// picture_files.h: the picture tests' readers: a PNG decoded by libpng, the frame of the cells
// found in a raster by its long dark lines, the image and the text of the SVG and PDF files.
#pragma once

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "surface/surface.h"

namespace orvex::testing {

struct raster {
    int width = 0, height = 0;
    std::vector<packed_colour> pixels;
    packed_colour AT(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

inline bool DECODE_PNG(std::string_view bytes, raster& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    const bool ok = png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr) != 0;
    out.width = static_cast<int>(image.width), out.height = static_cast<int>(image.height);
    out.pixels.resize(rgb.size() / 3);
    for (std::size_t n = 0; n < out.pixels.size(); ++n) out.pixels[n] = PACKED_RGB(rgb[3 * n], rgb[3 * n + 1], rgb[3 * n + 2]);
    png_image_free(&image);
    return ok;
}

// The cells' box, pixel edges: columns left..right-1 and rows top..bottom-1 hold cells.
struct cell_box {
    int left = 0, top = 0, right = 0, bottom = 0;
};

inline bool DARK(packed_colour c) { return (c & 0xFF) < 64 && ((c >> 8) & 0xFF) < 64 && ((c >> 16) & 0xFF) < 64; }

// The lines (columns, or rows) crossed by a dark run of at least run pixels, in order.
inline std::vector<int> LONG_DARK_LINES(const raster& r, bool columns, int run) {
    std::vector<int> found;
    const int lines = columns ? r.width : r.height, along = columns ? r.height : r.width;
    for (int line = 0; line < lines; ++line) {
        int length = 0, longest = 0;
        for (int n = 0; n < along; ++n) {
            length = DARK(columns ? r.AT(line, n) : r.AT(n, line)) ? length + 1 : 0;
            longest = std::max(longest, length);
        }
        if (longest >= run) found.push_back(line);
    }
    return found;
}

// The frame is the first two groups of neighbouring long dark lines each way: the cells lie
// between them (the colour bar's frame lies further right and is shorter than the cells across).
inline cell_box CELLS_IN(const raster& r, int run) {
    const auto between = [](const std::vector<int>& lines, int& first, int& end) {
        std::size_t n = 0;
        while (n + 1 < lines.size() && lines[n + 1] == lines[n] + 1) ++n;
        if (n + 1 >= lines.size()) return;
        first = lines[n] + 1;
        end = lines[n + 1];
    };
    cell_box box;
    between(LONG_DARK_LINES(r, true, run), box.left, box.right);
    between(LONG_DARK_LINES(r, false, run), box.top, box.bottom);
    return box;
}

// The bytes of the first stream after the dictionary that holds key ("/Subtype /Image"), by its
// /Length, inflated; empty when there is none.
inline std::string PDF_STREAM(const std::string& pdf, std::string_view key, std::string& dictionary) {
    const std::size_t at = pdf.find(key);
    if (at == std::string::npos) return {};
    const std::size_t open = pdf.rfind("<<", at), stream = pdf.find("stream\n", at);
    if (open == std::string::npos || stream == std::string::npos) return {};
    dictionary = pdf.substr(open, stream - open);
    const std::size_t length_at = dictionary.find("/Length ");
    if (length_at == std::string::npos) return {};
    const std::size_t length = std::stoul(dictionary.substr(length_at + 8));
    return pdf.substr(stream + 7, length);
}

inline std::string INFLATED(const std::string& deflated, std::size_t expected) {
    std::string out(expected + 1, '\0');
    uLongf size = static_cast<uLongf>(out.size());
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(deflated.data()),
                   static_cast<uLong>(deflated.size())) != Z_OK)
        return {};
    out.resize(size);
    return out;
}

inline std::string BASE64_DECODED(std::string_view text) {
    std::string out;
    unsigned bits = 0;
    int count = 0;
    for (const char c : text) {
        const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char* at = std::char_traits<char>::find(digits, 64, c);
        if (at == nullptr) break;  // '=' or the closing quote
        bits = (bits << 6) | static_cast<unsigned>(at - digits);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return out;
}

}  // namespace orvex::testing
