// scene_svg.cpp: the scene as an SVG drawing (SCENE_SVG); see scene.h.
//
// Fills and lines are drawn with crisp edges, so that the colour bar's bands and the frame do
// not blur into their neighbours; the image is one PNG (the raster's encoder) inside the file,
// scaled without smoothing.
#include <algorithm>
#include <cmath>

#include "picture/scene.h"
#include "picture/scene_forms.h"
#include "surface/png_encode.h"

namespace orvex {

namespace {

using scene_detail::VECTOR_NUMBER;

std::string COLOUR(packed_colour c) {
    constexpr char hex[] = "0123456789abcdef";
    std::string out = "#";
    for (const int v : {scene_detail::RED_OF(c), scene_detail::GREEN_OF(c), scene_detail::BLUE_OF(c)}) {
        out.push_back(hex[v >> 4]);
        out.push_back(hex[v & 15]);
    }
    return out;
}

// Text as XML character data or an attribute's value.
std::string ESCAPED(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out.push_back(static_cast<unsigned char>(c) < 0x20 ? ' ' : c);
        }
    }
    return out;
}

std::string BASE64(std::string_view bytes) {
    constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t n = 0; n < bytes.size(); n += 3) {
        const std::size_t left = bytes.size() - n;
        const unsigned a = static_cast<unsigned char>(bytes[n]);
        const unsigned b = left > 1 ? static_cast<unsigned char>(bytes[n + 1]) : 0u;
        const unsigned c = left > 2 ? static_cast<unsigned char>(bytes[n + 2]) : 0u;
        const unsigned triple = (a << 16) | (b << 8) | c;
        out.push_back(digits[(triple >> 18) & 63]);
        out.push_back(digits[(triple >> 12) & 63]);
        out.push_back(left > 1 ? digits[(triple >> 6) & 63] : '=');
        out.push_back(left > 2 ? digits[triple & 63] : '=');
    }
    return out;
}

std::string RECT(double x0, double y0, double x1, double y1, packed_colour colour) {
    return "<rect x=\"" + VECTOR_NUMBER(std::min(x0, x1)) + "\" y=\"" + VECTOR_NUMBER(std::min(y0, y1)) + "\" width=\"" +
           VECTOR_NUMBER(std::fabs(x1 - x0)) + "\" height=\"" + VECTOR_NUMBER(std::fabs(y1 - y0)) + "\" fill=\"" +
           COLOUR(colour) + "\"/>\n";
}

std::string IMAGE(const scene& s, const scene_item& at) {
    const scene_image& image = s.image;
    std::string png, why;
    if (image.columns <= 0 || image.rows <= 0 || !ENCODE_PNG(image.cells, image.columns, image.rows, {}, png, why)) return {};
    const scene_image& c = image;
    return "<clipPath id=\"cells\"><rect x=\"" + VECTOR_NUMBER(c.clip_x0) + "\" y=\"" + VECTOR_NUMBER(c.clip_y0) +
           "\" width=\"" + VECTOR_NUMBER(c.clip_x1 - c.clip_x0) + "\" height=\"" + VECTOR_NUMBER(c.clip_y1 - c.clip_y0) +
           "\"/></clipPath>\n<image x=\"" + VECTOR_NUMBER(at.x0) + "\" y=\"" + VECTOR_NUMBER(at.y0) + "\" width=\"" +
           VECTOR_NUMBER(at.x1 - at.x0) + "\" height=\"" + VECTOR_NUMBER(at.y1 - at.y0) +
           "\" preserveAspectRatio=\"none\" clip-path=\"url(#cells)\" image-rendering=\"optimizeSpeed\" "
           "style=\"image-rendering:pixelated\" xlink:href=\"data:image/png;base64," +
           BASE64(png) + "\"/>\n";
}

}  // namespace

std::string SCENE_SVG(const scene& s) {
    const std::string w = VECTOR_NUMBER(s.width), h = VECTOR_NUMBER(s.height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
                      "version=\"1.1\" width=\"" + w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    out += "<title>" + ESCAPED(s.title) + "</title>\n";
    if (!s.source.empty()) out += "<desc>" + ESCAPED(s.source) + " (" + std::string(scene_software) + ")</desc>\n";
    out += "<g shape-rendering=\"crispEdges\" font-family=\"'Liberation Sans', Arial, Helvetica, sans-serif\" "
           "font-kerning=\"none\">\n" + RECT(0, 0, s.width, s.height, s.background);
    for (const scene_item& item : s.items) {
        switch (item.kind) {
            case scene_kind::fill: out += RECT(item.x0, item.y0, item.x1, item.y1, item.colour); break;
            case scene_kind::line: {
                const double half = item.width / 2.0;
                if (item.y0 == item.y1) out += RECT(item.x0, item.y0 - half, item.x1, item.y0 + half, item.colour);
                else if (item.x0 == item.x1) out += RECT(item.x0 - half, item.y0, item.x0 + half, item.y1, item.colour);
                break;
            }
            case scene_kind::text: {
                const double em = item.size / TEXT_FACE_METRICS().cell;
                const std::string x = VECTOR_NUMBER(item.x0), y = VECTOR_NUMBER(item.y0);
                out += "<text x=\"" + x + "\" y=\"" + y + "\" font-size=\"" + VECTOR_NUMBER(em) + "\" fill=\"" + COLOUR(item.colour) + "\"";
                if (item.direction == text_direction::upward) out += " transform=\"rotate(-90 " + x + " " + y + ")\"";
                out += '>';
                out += ESCAPED(item.text);
                out += "</text>\n";
                break;
            }
            case scene_kind::image: out += IMAGE(s, item); break;
        }
    }
    out += "</g>\n</svg>\n";
    return out;
}

}  // namespace orvex
