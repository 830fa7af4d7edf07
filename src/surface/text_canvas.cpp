// text_canvas.cpp: text on any picture and its width; see text_canvas.h.
#include "surface/text_fonts.h"  // FreeType first: its headers come through this one
#include FT_ADVANCES_H

#include <algorithm>
#include <array>
#include <cmath>

#include "surface/text_canvas.h"

namespace orvex {

namespace {

using text_detail::cached_glyph;
using text_detail::font_entry;
using text_detail::TEXT;

// Grey coverage blended into the picture; true draws hinted one-bit glyphs instead.
constexpr bool one_bit_text = false;

// The canvas font of a cell height: "Arial" at that height, its own proportions.
int CANVAS_FONT(double size) {
    text_detail::font_request r;
    constexpr std::string_view name = "arial";
    std::copy(name.begin(), name.end(), r.name.begin());
    r.height = static_cast<int>(std::clamp(std::lround(size), 1L, static_cast<long>(text_detail::size_limit)));
    return text_detail::FONT_FOR(r);
}

// The face's metrics and the advance of every byte in ems, read once.
struct face_table {
    bool read = false;
    text_face_metrics metrics;
    std::array<double, 256> advance{};
};

const face_table& FACE_TABLE() {
    static face_table table;
    if (table.read) return table;
    table.read = true;
    table.advance.fill(0.556);
    const int font = CANVAS_FONT(14.0);
    if (font < 0) return table;
    const FT_Face face = TEXT().faces[TEXT().fonts[font].face].face;
    const double em = face->units_per_EM;
    table.metrics = {true, (face->ascender - face->descender) / em, face->ascender / em, -face->descender / em};
    for (int c = 0; c < 256; ++c) {
        const FT_ULong code = (c < 32 || c == 127) ? 32 : static_cast<FT_ULong>(c);
        FT_Fixed advance = 0;
        const FT_UInt g = FT_Get_Char_Index(face, code);
        if (FT_Get_Advance(face, g, FT_LOAD_NO_SCALE, &advance) == 0) table.advance[c] = static_cast<double>(advance) / em;
    }
    return table;
}

inline void BLEND(canvas& c, int x, int y, unsigned a, packed_colour colour) {
    if (a == 0 || x < 0 || y < 0 || x >= c.width || y >= c.height) return;
    packed_colour& p = c.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(c.width) + static_cast<std::size_t>(x)];
    p = text_detail::BLENDED(colour, p, a);
}

}  // namespace

// The glyph of byte c in font f, rasterised on first use. Control characters are drawn as
// blanks; bytes above 127 are taken as Latin-1.
const cached_glyph& text_detail::GLYPH(font_entry& f, unsigned char c, bool& face_applied) {
    cached_glyph& g = f.glyphs[c];
    if (g.ready) return g;
    g.ready = true;
    if (!face_applied) {
        text_detail::APPLY_FONT(f);
        face_applied = true;
    }
    const FT_Face face = TEXT().faces[f.face].face;
    const FT_ULong code = (c < 32 || c == 127) ? 32 : c;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    const FT_Int32 load = one_bit_text ? (FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) : FT_LOAD_TARGET_LIGHT;
    if (FT_Load_Glyph(face, index, load) != 0) return g;
    g.advance = (face->glyph->linearHoriAdvance + 512) >> 10;  // 16.16 to 26.6
    if (FT_Render_Glyph(face->glyph, one_bit_text ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) {
        return g;
    }
    const FT_Bitmap& bm = face->glyph->bitmap;
    g.left = face->glyph->bitmap_left;
    g.top = face->glyph->bitmap_top;
    g.cols = static_cast<int>(bm.width);
    g.rows = static_cast<int>(bm.rows);
    g.coverage.assign(static_cast<std::size_t>(g.cols) * static_cast<std::size_t>(g.rows), 0);
    for (int r = 0; r < g.rows; ++r) {
        const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(r) * bm.pitch;
        for (int k = 0; k < g.cols; ++k) {
            unsigned char v = 0;
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                v = (row[k >> 3] & (0x80 >> (k & 7))) ? 255 : 0;
            } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
                v = row[k];
            }
            g.coverage[static_cast<std::size_t>(r) * g.cols + k] = v;
        }
    }
    return g;
}

text_face_metrics TEXT_FACE_METRICS() { return FACE_TABLE().metrics; }

double TEXT_WIDTH(std::string_view text, double size) {
    const face_table& table = FACE_TABLE();
    double ems = 0.0;
    for (const char c : text) ems += table.advance[static_cast<unsigned char>(c)];
    return ems * size / table.metrics.cell;
}

// Each glyph at its pen position rounded to the pixel, as DRAW_TEXT sets the page's.
bool DRAW_CANVAS_TEXT(canvas& c, double size, double x, double baseline, std::string_view text, packed_colour colour,
                      text_direction direction) {
    const int font = CANVAS_FONT(size);
    if (font < 0) return false;
    text_detail::font_entry& f = TEXT().fonts[font];
    bool face_applied = false;
    const int x0 = static_cast<int>(std::lround(x)), y0 = static_cast<int>(std::lround(baseline));
    const bool upward = direction == text_direction::upward;
    FT_Pos pen = 0;  // 26.6 pixels along the baseline
    for (const char ch : text) {
        const text_detail::cached_glyph& g = text_detail::GLYPH(f, static_cast<unsigned char>(ch), face_applied);
        const int along = static_cast<int>((pen + 32) >> 6) + g.left;
        for (int r = 0; r < g.rows; ++r) {
            const int down = r - g.top;  // below the baseline
            for (int col = 0; col < g.cols; ++col) {
                const unsigned a = g.coverage[static_cast<std::size_t>(r) * g.cols + col];
                if (upward) BLEND(c, x0 + down, y0 - (along + col) - 1, a, colour);
                else BLEND(c, x0 + along + col, y0 + down, a, colour);
            }
        }
        pen += g.advance;
    }
    return true;
}

}  // namespace orvex
