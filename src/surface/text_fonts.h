// text_fonts.h: the fonts of the surface, shared by the text files and nothing else.
//
//   font_descriptor.cpp  PARSE_FONT_DESCRIPTOR: "t'Arial'h12w4" to a font_request
//   font_faces.cpp       LOAD_FONTS, FONT_FOR: fontconfig finds the face, FreeType opens and
//                        sizes it; faces and fonts are kept for the whole process
//   text_draw.cpp        SELECT_FONT, DRAW_TEXT: the page's fonts and text, blended into the page
//   text_canvas.cpp      GLYPH: glyphs rasterised once per font and character; the same text on
//                        any picture, and its width at any size (text_canvas.h)
//
// A font is a face at a size: the descriptor's hN is the height of the character cell
// (ascender plus descender) in pixels, and wN the average advance of the printable ASCII
// characters in pixels, so that a text of n mixed characters is about n x N pixels wide, as the
// page's layout assumes. Digits come out almost exactly N wide; a blank is about half of N. The
// face is scaled horizontally and vertically on its own to reach both sizes.
//
// Invariants: fonts[0..font_count) are sized and refer to open faces; a font's glyphs are
// rasterised at most once; the faces are never closed before the process ends.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <fontconfig/fontconfig.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "surface/display_list.h"

namespace orvex::text_detail {

inline constexpr int font_capacity = 32;
inline constexpr int face_capacity = 8;
inline constexpr int name_capacity = 31;
inline constexpr int size_limit = 255;  // largest hN and wN accepted

struct font_request {
    std::array<char, name_capacity + 1> name{};  // lower case, NUL-terminated
    int height = 16;
    int width = 0;  // 0: the face's own proportions
    bool italic = false;
};

struct cached_face {
    std::string file;
    int index = 0;
    FT_Face face = nullptr;
    double ascii_advance_em = 0.5;  // mean advance of ' '..'~' in ems
};

struct cached_glyph {
    bool ready = false;
    int left = 0, top = 0;                // bitmap origin relative to the pen on the baseline
    int cols = 0, rows = 0;
    std::vector<unsigned char> coverage;  // rows x cols, 0..255
    FT_Pos advance = 0;                   // 26.6 pixels, unhinted, so widths do not depend on hinting
};

struct font_entry {
    font_request request;
    int face = -1;                  // into text_state::faces
    bool synthetic_italic = false;  // the family has no italic face: slant the upright one
    FT_F26Dot6 em_x = 0, em_y = 0;  // character size in 26.6 pixels
    int ascent = 0;                 // pixels from the cell top to the baseline
    display_font shown;             // the font as vector replays of the page set it
    std::array<cached_glyph, 256> glyphs;
};

struct text_state {
    bool started = false;
    bool usable = false;
    FcConfig* quick = nullptr;  // the system's font directories only (font_faces.cpp)
    bool whole_started = false, whole_usable = false;  // the whole configuration, read on demand
    FT_Library library = nullptr;
    int font_total = 0;  // fonts fontconfig knows, LOAD_FONTS's result
    std::array<cached_face, face_capacity> faces;
    int face_count = 0;
    std::array<font_entry, font_capacity> fonts;
    int font_count = 0;
};

text_state& TEXT();

// Parses a font descriptor: t'name' (1 to 31 characters), hN, wN and i, in any order and any
// case, trailing blanks ignored. Without t'name' the face is Arial, without hN the cell is 16
// pixels high, without wN the face keeps its own proportions. False when malformed.
bool PARSE_FONT_DESCRIPTOR(std::string_view descriptor, font_request& out);

bool SAME_REQUEST(const font_request& a, const font_request& b);

// Puts the face at the font's size and slant; the face is shared by every font on it.
void APPLY_FONT(const font_entry& f);

// The font of a request, made (face found, sized) when it is asked for the first time; its
// index, or -1 when there is no such face or no room. The page's current font and display
// list are left as they are (SELECT_FONT records a font in the list of the page it draws).
int FONT_FOR(const font_request& r);

// The glyph of byte c in font f, rasterised on first use (text_canvas.cpp). face_applied says
// whether the font's size is already set on its face in this run of glyphs.
const cached_glyph& GLYPH(font_entry& f, unsigned char c, bool& face_applied);

// The colour of a pixel under colour laid over it with coverage a (0..255): each channel mixed
// and rounded; a full coverage gives colour exactly. The page and any picture blend glyphs so.
constexpr packed_colour BLENDED(packed_colour colour, packed_colour under, unsigned a) {
    if (a >= 255) return colour;
    packed_colour out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const unsigned fg = (colour >> shift) & 0xFFu, bg = (under >> shift) & 0xFFu;
        out |= ((fg * a + bg * (255 - a) + 127) / 255) << shift;
    }
    return out;
}

}  // namespace orvex::text_detail
