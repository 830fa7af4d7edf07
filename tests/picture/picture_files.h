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

// The frame: the first two runs of neighbouring lines (columns, then rows) crossed by a dark
// run of at least run pixels; the cells lie between them (the colour bar's frame lies further
// right, and its lines across are shorter than the cells).
inline cell_box CELLS_IN(const raster& r, int run) {
    cell_box box;
    for (const bool columns : {true, false}) {
        std::vector<int> lines;
        const int count = columns ? r.width : r.height, along = columns ? r.height : r.width;
        for (int line = 0; line < count; ++line)
            for (int n = 0, length = 0; n < along; ++n) {
                length = DARK(columns ? r.AT(line, n) : r.AT(n, line)) ? length + 1 : 0;
                if (length == run) {
                    lines.push_back(line);
                    break;
                }
            }
        std::size_t n = 0;
        while (n + 1 < lines.size() && lines[n + 1] == lines[n] + 1) ++n;
        if (n + 1 >= lines.size()) continue;
        (columns ? box.left : box.top) = lines[n] + 1;
        (columns ? box.right : box.bottom) = lines[n + 1];
    }
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
    return length_at == std::string::npos ? std::string() : pdf.substr(stream + 7, std::stoul(dictionary.substr(length_at + 8)));
}

inline std::string INFLATED(const std::string& deflated, std::size_t expected) {
    std::string out(expected + 1, '\0');
    uLongf size = static_cast<uLongf>(out.size());
    const auto* from = reinterpret_cast<const Bytef*>(deflated.data());
    const bool ok = uncompress(reinterpret_cast<Bytef*>(out.data()), &size, from, static_cast<uLong>(deflated.size())) == Z_OK;
    out.resize(ok ? size : 0);
    return out;
}

inline std::string BASE64_DECODED(std::string_view text) {
    constexpr std::string_view digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned bits = 0;
    for (std::size_t n = 0; n < text.size() && digits.find(text[n]) != std::string_view::npos; ++n) {
        bits = (bits << 6) | static_cast<unsigned>(digits.find(text[n]));
        if (n % 4 != 0) out.push_back(static_cast<char>((bits >> (6 - 2 * (n % 4))) & 0xFF));
    }
    return out;
}

}  // namespace orvex::testing
