// scene.cpp: the scene's items, its file formats and the file written whole; see scene.h.
#include "picture/scene.h"

#include <array>
#include <charconv>
#include <cmath>

#include "console/file_output.h"
#include "picture/scene_forms.h"
#include "surface/png_encode.h"

namespace orvex {

std::string scene_detail::VECTOR_NUMBER(double v) {
    if (!std::isfinite(v)) return "0";
    char text[64];
    const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 3);
    std::string out(text, r.ec == std::errc{} ? r.ptr : text);
    if (out.find('.') != std::string::npos) {
        while (out.back() == '0') out.pop_back();
        if (out.back() == '.') out.pop_back();
    }
    if (out == "-0" || out.empty()) out.assign(1, '0');
    return out;
}

std::string scene_detail::LATIN1_TEXT(std::string_view utf8) {
    std::string out;
    for (std::size_t n = 0; n < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[n]);
        unsigned code = '?';
        std::size_t length = 1;
        if (c < 0x80) {
            code = c;
        } else if ((c & 0xE0) == 0xC0 && n + 1 < utf8.size() && (static_cast<unsigned char>(utf8[n + 1]) & 0xC0) == 0x80) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[n + 1]) & 0x3Fu);
            length = 2;
            if (code < 0x80 || code > 0xFF) code = '?';
        } else {
            while (n + length < utf8.size() && (static_cast<unsigned char>(utf8[n + length]) & 0xC0) == 0x80) ++length;
        }
        if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0)) code = ' ';
        out.push_back(static_cast<char>(code));
        n += length;
    }
    return out;
}

void SCENE_FILL(scene& s, double x0, double y0, double x1, double y1, packed_colour colour) {
    scene_item item;
    item.kind = scene_kind::fill;
    item.x0 = x0, item.y0 = y0, item.x1 = x1, item.y1 = y1, item.colour = colour;
    s.items.push_back(std::move(item));
}

void SCENE_LINE(scene& s, double x0, double y0, double x1, double y1, double width, packed_colour colour) {
    scene_item item;
    item.kind = scene_kind::line;
    item.x0 = x0, item.y0 = y0, item.x1 = x1, item.y1 = y1, item.width = width, item.colour = colour;
    s.items.push_back(std::move(item));
}

void SCENE_TEXT(scene& s, double x, double baseline, std::string_view text, double size, text_direction direction,
                packed_colour colour) {
    scene_item item;
    item.kind = scene_kind::text;
    item.x0 = x, item.y0 = baseline, item.size = size, item.direction = direction, item.colour = colour;
    item.text = std::string(text);
    s.items.push_back(std::move(item));
}

void SCENE_IMAGE(scene& s, double x0, double y0, double x1, double y1) {
    scene_item item;
    item.kind = scene_kind::image;
    item.x0 = x0, item.y0 = y0, item.x1 = x1, item.y1 = y1;
    s.items.push_back(std::move(item));
}

std::optional<picture_format> PICTURE_FORMAT_OF(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return std::nullopt;
    std::string suffix(path.substr(dot + 1));
    for (char& c : suffix) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (suffix == "png") return picture_format::png;
    if (suffix == "svg") return picture_format::svg;
    if (suffix == "pdf") return picture_format::pdf;
    return std::nullopt;
}

bool SCENE_PNG(const scene& s, std::string& png, std::string& why) {
    int width = 0, height = 0;
    const std::vector<packed_colour> pixels = SCENE_PIXELS(s, width, height);
    const std::array<png_text_chunk, 3> texts{{{"Software", scene_software}, {"Source", s.source}, {"Title", s.title}}};
    return ENCODE_PNG(pixels, width, height, texts, png, why);
}

bool SCENE_BYTES(const scene& s, picture_format format, std::string& bytes, std::string& why) {
    switch (format) {
        case picture_format::png: return SCENE_PNG(s, bytes, why);
        case picture_format::svg: bytes = SCENE_SVG(s); return true;
        case picture_format::pdf: return SCENE_PDF(s, bytes, why);
    }
    return false;
}

bool WRITE_SCENE(std::string_view path, const scene& s, std::string* why) {
    std::string reason, bytes;
    const std::optional<picture_format> format = PICTURE_FORMAT_OF(path);
    if (!format) reason = "the file name must end in .png, .svg or .pdf";
    else if (SCENE_BYTES(s, *format, bytes, reason) && WRITE_FILE_ATOMICALLY(path, bytes, &reason)) return true;
    if (why != nullptr) *why = reason;
    return false;
}

}  // namespace orvex
