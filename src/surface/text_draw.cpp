// text_draw.cpp: DRAW_TEXT: glyphs rasterised once per font and character and blended into the
// page.
//
// Glyphs are drawn as grey coverage blended into the page. At the 12-pixel panel font (digits
// 4 pixels apart) one-bit glyphs lost the decimal point against the digits beside it ("1.000"
// read "1000") and broke the round shapes of 0, 6, 9 and the brackets; the blended glyphs keep
// digits, point, minus sign and E apart at 1:1. Fully covered pixels take the drawing colour
// exactly; edge pixels are mixed with what is beneath.
#include <algorithm>
#include <string_view>

#include "surface/surface.h"
#include "surface/surface_state.h"
#include "surface/text_fonts.h"

namespace orvex {

namespace {

using text_detail::cached_glyph;
using text_detail::font_entry;
using text_detail::TEXT;

// Grey coverage blended into the page; true draws hinted one-bit glyphs instead.
constexpr bool one_bit_text = false;

// Blends coverage a (0..255) of the drawing colour into page pixel (x, y), clipped.
inline void BLEND(surface_detail::surface_state& s, int x, int y, unsigned a, packed_colour colour) {
    if (a == 0 || !surface_detail::INSIDE_CLIP(s.drawing, x, y)) return;
    packed_colour& p = surface_detail::PIXEL_AT(s, x, y);
    if (a >= 255) {
        p = colour;
        return;
    }
    packed_colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned fg = (colour >> shift) & 0xFFu, bg = (p >> shift) & 0xFFu;
        out |= ((fg * a + bg * (255 - a) + 127) / 255) << shift;
    }
    p = out;
}

void LOG_TEXT(surface_detail::surface_state& s, std::string_view shown, int length) {
    if (s.text_log_length >= text_log_capacity) return;
    text_call& call = s.text_log[static_cast<std::size_t>(s.text_log_length++)];
    call.text.fill(' ');
    std::copy_n(shown.begin(), std::min(shown.size(), call.text.size()), call.text.begin());
    call.length = length;
    call.x = s.drawing.current_x;
    call.y = s.drawing.current_y;
    call.colour = s.drawing.draw_colour;
    call.font = s.drawing.current_font;
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

// Draws the first length characters of text (blanks where text is shorter), each glyph at its
// pen position rounded to the pixel, the cell's top at the current position; the position then
// moves right by the rounded sum of the advances. A negative length draws nothing.
void DRAW_TEXT(std::string_view shown, int length) {
    surface_detail::surface_state& s = surface_detail::SURFACE();
    text_detail::text_state& text = TEXT();
    if (length < 0) length = 0;
    LOG_TEXT(s, shown.substr(0, std::min<std::size_t>(shown.size(), static_cast<std::size_t>(length))), length);
    if (s.drawing.current_font < 0 || s.drawing.current_font >= text.font_count) return;
    text_detail::font_entry& f = text.fonts[s.drawing.current_font];
    bool face_applied = false;
    const int x0 = s.drawing.current_x;
    const int baseline = s.drawing.current_y + f.ascent;
    const packed_colour colour = s.drawing.draw_colour;
    surface_detail::RECORD_TEXT(s, shown, length, x0, s.drawing.current_y);
    FT_Pos pen = 0;  // 26.6 pixels from x0
    for (int k = 0; k < length; ++k) {
        const unsigned char c = static_cast<std::size_t>(k) < shown.size() ? static_cast<unsigned char>(shown[k]) : ' ';
        const cached_glyph& g = GLYPH(f, c, face_applied);
        const int ox = x0 + static_cast<int>((pen + 32) >> 6) + g.left;
        const int oy = baseline - g.top;
        for (int r = 0; r < g.rows; ++r) {
            for (int col = 0; col < g.cols; ++col) {
                BLEND(s, ox + col, oy + r, g.coverage[static_cast<std::size_t>(r) * g.cols + col], colour);
            }
        }
        pen += g.advance;
    }
    const int moved = x0 + static_cast<int>((pen + 32) >> 6);
    s.drawing.current_x = static_cast<coord>(std::clamp(moved, -32768, 32767));
}

}  // namespace orvex
