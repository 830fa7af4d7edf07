// scene_pdf.cpp: the scene as a one-page PDF, written by hand (SCENE_PDF); see scene.h.
//
// Seven objects: the catalogue, the page tree, the page (its size the scene's, in points), the
// font (base-14 Helvetica in WinAnsiEncoding, whose widths are Arial's, so texts take the room
// they were laid out for), the image XObject (8-bit RGB, /FlateDecode, /Interpolate false), the
// page's drawing operators (uncompressed: a few kilobytes) and the document's information.
// The scene's y runs down from the top; the page's runs up from the bottom: y becomes height - y.
#include <zlib.h>

#include <algorithm>
#include <cmath>

#include "console/number_text.h"
#include "picture/scene.h"
#include "picture/scene_forms.h"

namespace orvex {

namespace {

using scene_detail::VECTOR_NUMBER;

// A PDF string literal of Latin-1 bytes: ( ) and \ escaped, other bytes outside printable
// ASCII as octal.
std::string LITERAL(std::string_view latin1) {
    std::string out = "(";
    for (const char ch : latin1) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '(' || c == ')' || c == '\\') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c < 0x20 || c >= 0x7F) {
            out += '\\';
            out.push_back(static_cast<char>('0' + ((c >> 6) & 7)));
            out.push_back(static_cast<char>('0' + ((c >> 3) & 7)));
            out.push_back(static_cast<char>('0' + (c & 7)));
        } else {
            out.push_back(ch);
        }
    }
    return out + ")";
}

std::string CHANNELS(packed_colour c) {
    return VECTOR_NUMBER(scene_detail::RED_OF(c) / 255.0) + " " + VECTOR_NUMBER(scene_detail::GREEN_OF(c) / 255.0) + " " +
           VECTOR_NUMBER(scene_detail::BLUE_OF(c) / 255.0);
}

// The drawing operators of the page.
std::string PAGE_OPERATORS(const scene& s) {
    const auto up = [&](double y) { return VECTOR_NUMBER(s.height - y); };
    const auto box = [&](double x0, double y0, double x1, double y1) {
        return VECTOR_NUMBER(std::min(x0, x1)) + " " + up(std::max(y0, y1)) + " " + VECTOR_NUMBER(std::fabs(x1 - x0)) + " " +
               VECTOR_NUMBER(std::fabs(y1 - y0)) + " re";
    };
    std::string ops = CHANNELS(s.background) + " rg " + box(0, 0, s.width, s.height) + " f\n";
    for (const scene_item& item : s.items) {
        switch (item.kind) {
            case scene_kind::fill: ops += CHANNELS(item.colour) + " rg " + box(item.x0, item.y0, item.x1, item.y1) + " f\n"; break;
            case scene_kind::line: {
                if (item.x0 != item.x1 && item.y0 != item.y1) break;
                ops += CHANNELS(item.colour) + " RG " + VECTOR_NUMBER(item.width) + " w 0 J " + VECTOR_NUMBER(item.x0) + " " +
                       up(item.y0) + " m " + VECTOR_NUMBER(item.x1) + " " + up(item.y1) + " l S\n";
                break;
            }
            case scene_kind::text: {
                const std::string x = VECTOR_NUMBER(item.x0), y = up(item.y0);
                const std::string matrix = item.direction == text_direction::upward ? "0 1 -1 0 " : "1 0 0 1 ";
                ops += "BT /F1 " + VECTOR_NUMBER(item.size / TEXT_FACE_METRICS().cell) + " Tf " + CHANNELS(item.colour) + " rg " +
                       matrix + x + " " + y + " Tm " + LITERAL(scene_detail::LATIN1_TEXT(item.text)) + " Tj ET\n";
                break;
            }
            case scene_kind::image: {
                const scene_image& c = s.image;
                if (c.columns <= 0 || c.rows <= 0) break;
                ops += "q " + box(c.clip_x0, c.clip_y0, c.clip_x1, c.clip_y1) + " W n " + VECTOR_NUMBER(item.x1 - item.x0) +
                       " 0 0 " + VECTOR_NUMBER(item.y1 - item.y0) + " " + VECTOR_NUMBER(item.x0) + " " + up(item.y1) +
                       " cm /Im1 Do Q\n";
                break;
            }
        }
    }
    return ops;
}

// The image's cells as 8-bit RGB, compressed with zlib; false when zlib cannot.
bool COMPRESSED_CELLS(const scene_image& image, std::string& out) {
    std::string rgb;
    rgb.reserve(image.cells.size() * 3);
    for (const packed_colour c : image.cells) {
        rgb.push_back(static_cast<char>(scene_detail::RED_OF(c)));
        rgb.push_back(static_cast<char>(scene_detail::GREEN_OF(c)));
        rgb.push_back(static_cast<char>(scene_detail::BLUE_OF(c)));
    }
    uLongf size = compressBound(static_cast<uLong>(rgb.size()));
    out.assign(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(rgb.data()),
                  static_cast<uLong>(rgb.size()), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    out.resize(size);
    return true;
}

}  // namespace

bool SCENE_PDF(const scene& s, std::string& pdf, std::string& why) {
    const scene_image& image = s.image;
    const bool has_image = image.columns > 0 && image.rows > 0 &&
                           image.cells.size() == static_cast<std::size_t>(image.columns) * static_cast<std::size_t>(image.rows);
    std::string cells;
    if (has_image && !COMPRESSED_CELLS(image, cells)) {
        why = "the image cannot be compressed";
        return false;
    }
    const std::string ops = PAGE_OPERATORS(s);
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    objects.push_back("<< /Type /Pages /Kids [3 0 R] /Count 1 >>");
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + VECTOR_NUMBER(s.width) + " " + VECTOR_NUMBER(s.height) +
                      "] /Resources << /Font << /F1 4 0 R >>" + (has_image ? " /XObject << /Im1 5 0 R >>" : "") +
                      " /ProcSet [/PDF /Text /ImageC] >> /Contents 6 0 R >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    objects.push_back(has_image ? "<< /Type /XObject /Subtype /Image /Width " + NUMBER_I(image.columns) + " /Height " +
                                      NUMBER_I(image.rows) +
                                      " /ColorSpace /DeviceRGB /BitsPerComponent 8 /Interpolate false /Filter /FlateDecode"
                                      " /Length " + NUMBER_I(static_cast<std::int64_t>(cells.size())) + " >>\nstream\n" +
                                      cells + "\nendstream"
                                : "null");
    objects.push_back("<< /Length " + NUMBER_I(static_cast<std::int64_t>(ops.size())) + " >>\nstream\n" + ops + "endstream");
    objects.push_back("<< /Title " + LITERAL(scene_detail::LATIN1_TEXT(s.title)) + " /Subject " +
                      LITERAL(scene_detail::LATIN1_TEXT(s.source)) + " /Creator " + LITERAL(scene_software) + " /Producer " +
                      LITERAL(scene_software) + " >>");
    pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t n = 0; n < objects.size(); ++n) {
        offsets.push_back(pdf.size());
        pdf += NUMBER_I(static_cast<std::int64_t>(n + 1)) + " 0 obj\n" + objects[n] + "\nendobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + NUMBER_I(static_cast<std::int64_t>(objects.size() + 1)) + "\n0000000000 65535 f \n";
    for (const std::size_t at : offsets) {
        std::string offset = NUMBER_I(static_cast<std::int64_t>(at));
        pdf += std::string(10 - std::min<std::size_t>(10, offset.size()), '0') + offset + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + NUMBER_I(static_cast<std::int64_t>(objects.size() + 1)) +
           " /Root 1 0 R /Info 7 0 R >>\nstartxref\n" + NUMBER_I(static_cast<std::int64_t>(xref)) + "\n%%EOF\n";
    return true;
}

}  // namespace orvex
