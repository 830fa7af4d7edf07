// text_draw.cpp: SELECT_FONT and DRAW_TEXT: the page's fonts, and glyphs (rasterised once per
// font and character, text_canvas.cpp) blended into the page.
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

// Blends coverage a (0..255) of the drawing colour into page pixel (x, y), clipped.
inline void BLEND(surface_detail::surface_state& s, int x, int y, unsigned a, packed_colour colour) {
    if (a == 0 || !surface_detail::INSIDE_CLIP(s.drawing, x, y)) return;
    packed_colour& p = surface_detail::PIXEL_AT(s, x, y);
    p = text_detail::BLENDED(colour, p, a);
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

// The font is recorded in the display list of the page it is selected for: each page slot
// keeps a list of its own, and a font made for the other slot's page is recorded there too.
int SELECT_FONT(std::string_view descriptor) {
    text_detail::font_request r;
    if (!text_detail::PARSE_FONT_DESCRIPTOR(descriptor, r)) return -1;
    const text_detail::text_state& text = TEXT();
    const int font = text_detail::FONT_FOR(r);
    if (font < 0) return -1;
    surface_detail::surface_state& s = surface_detail::SURFACE();
    s.drawing.current_font = font;
    surface_detail::RECORD_FONT(s, font, text.fonts[static_cast<std::size_t>(font)].shown);
    return font;
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
