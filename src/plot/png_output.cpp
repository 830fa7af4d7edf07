// png_output.cpp: the page as a PNG file, written by libpng beside its final name and renamed
// into place.
#include <png.h>
#include <zlib.h>

#include <array>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>

#include "plot/png_output.h"
#include "plot/surface.h"

namespace orvex {

namespace {

// The page is mostly white rows of thin lines: the "up" filter turns the rows inside a panel
// into runs of zeros and zlib's run-length strategy packs them at any level, so writing takes
// a few milliseconds for about 16 KB. libpng's default (every filter tried on every row, full
// deflate) takes four to six times as long for a file of a similar size (bench_page).
constexpr int png_compression_level = 3;

std::array<png_byte, std::size_t{page_width} * 3> png_row;
std::array<char, 256> failure_text;

void PNG_FAILED(png_structp png, png_const_charp message) {
    std::snprintf(failure_text.data(), failure_text.size(), "%s", message);
    png_longjmp(png, 1);
}

void PNG_WARNED(png_structp, png_const_charp) {}

// Writes the page to an open file; false with failure_text set when libpng fails. Nothing with
// a destructor lives in this frame, so the long jump out of libpng is safe.
bool WRITE_PNG_STREAM(std::FILE* file) {
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
    png_init_io(png, file);
    png_set_compression_level(png, png_compression_level);
    png_set_compression_strategy(png, Z_RLE);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
    png_set_IHDR(png, info, page_width, page_height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
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
    const std::string final_name(path);
    const std::string part_name = final_name + ".part";
    failure_text[0] = '\0';
    std::FILE* file = std::fopen(part_name.c_str(), "wb");
    if (file == nullptr) {
        std::snprintf(failure_text.data(), failure_text.size(), "%s", std::strerror(errno));
        if (why != nullptr) *why = failure_text.data();
        return false;
    }
    bool ok = WRITE_PNG_STREAM(file);
    if (ok && std::fflush(file) != 0) {
        std::snprintf(failure_text.data(), failure_text.size(), "%s", std::strerror(errno));
        ok = false;
    }
    if (std::fclose(file) != 0 && ok) {
        std::snprintf(failure_text.data(), failure_text.size(), "%s", std::strerror(errno));
        ok = false;
    }
    if (ok && std::rename(part_name.c_str(), final_name.c_str()) != 0) {
        std::snprintf(failure_text.data(), failure_text.size(), "%s", std::strerror(errno));
        ok = false;
    }
    if (!ok) {
        std::remove(part_name.c_str());
        if (why != nullptr) *why = failure_text.data();
    }
    return ok;
}

}  // namespace orvex
