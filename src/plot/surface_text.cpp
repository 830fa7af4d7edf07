// surface_text.cpp: fonts and text on the page.
//
// Faces are found with fontconfig and rasterised with FreeType. A font is a face at a size:
// the descriptor's hN is the height of the character cell (ascender plus descender) in pixels,
// and wN the average advance of the printable ASCII characters in pixels, so that a text of
// n mixed characters is about n x N pixels wide, as the page's layout assumes. Digits, which the
// axis numbers consist of, come out almost exactly N wide; a blank is about half of N, so
// trailing blanks advance less than a character each. The face is scaled horizontally and
// vertically on its own to reach both sizes.
//
// "Arial" and its usual names are drawn with the Liberation faces, which have the same metrics;
// any other name must be a family fontconfig really has, otherwise the descriptor is refused.
//
// Everything is loaded once per process: FreeType, the faces and, per font, the glyphs of the
// characters drawn so far. Selecting a font that was selected before is a table look-up.
//
// Glyphs are drawn as grey coverage blended into the page. At the 12-pixel panel font (digits
// 4 pixels apart) one-bit glyphs lost the decimal point against the digits beside it ("1.000"
// read "1000") and broke the round shapes of 0, 6, 9 and the brackets; the blended glyphs keep
// digits, point, minus sign and E apart at 1:1. Fully covered pixels take the drawing colour
// exactly; edge pixels are mixed with what is beneath.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "surface.h"

namespace orvex {

namespace {

// Grey coverage blended into the page; true draws hinted one-bit glyphs instead.
constexpr bool one_bit_text = false;

constexpr int font_capacity = 32;
constexpr int face_capacity = 8;
constexpr int name_capacity = 31;
constexpr int size_limit = 255;  // largest hN and wN accepted

struct font_request {
    std::array<char, name_capacity + 1> name{};  // lower case
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
    int left = 0, top = 0;        // bitmap origin relative to the pen on the baseline
    int cols = 0, rows = 0;
    std::vector<unsigned char> coverage;  // rows x cols, 0..255
    FT_Pos advance = 0;           // 26.6 pixels, unhinted, so widths do not depend on hinting
};

struct font_entry {
    font_request request;
    int face = -1;                 // into faces
    bool synthetic_italic = false; // the family has no italic face: slant the upright one
    FT_F26Dot6 em_x = 0, em_y = 0; // character size in 26.6 pixels
    int ascent = 0;                // pixels from the cell top to the baseline
    std::array<cached_glyph, 256> glyphs;
};

struct text_state {
    bool started = false;
    bool usable = false;
    FT_Library library = nullptr;
    int font_total = 0;  // fonts fontconfig knows, LOAD_FONTS's result
    std::array<cached_face, face_capacity> faces;
    int face_count = 0;
    std::array<font_entry, font_capacity> fonts;
    int font_count = 0;
};

text_state text;

// Names that stand for a face with the same metrics under another name.
struct face_alias {
    std::string_view name, family;
};
constexpr std::array<face_alias, 8> face_aliases{{
    {"arial", "liberation sans"},
    {"helvetica", "liberation sans"},
    {"arial narrow", "liberation sans narrow"},
    {"times new roman", "liberation serif"},
    {"times", "liberation serif"},
    {"courier new", "liberation mono"},
    {"courier", "liberation mono"},
    {"cour", "liberation mono"},
}};

char LOWER(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SAME_NAME(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LOWER(a[i]) != LOWER(b[i])) return false;
    }
    return true;
}

// Reads a run of decimal digits at s[i]; false when there is none or the value is out of
// 1..size_limit.
bool READ_SIZE(std::string_view s, std::size_t& i, int& value) {
    const std::size_t start = i;
    long v = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        v = v * 10 + (s[i] - '0');
        if (v > size_limit) return false;
        ++i;
    }
    if (i == start || v < 1) return false;
    value = static_cast<int>(v);
    return true;
}

// Parses a font descriptor: t'name' (1 to 31 characters), hN, wN and i, in any order and any
// case, trailing blanks ignored. Without t'name' the face is Arial, without hN the cell is
// 16 pixels high, without wN the face keeps its own proportions. False when malformed.
bool PARSE_FONT_DESCRIPTOR(std::string_view descriptor, font_request& out) {
    while (!descriptor.empty() && (descriptor.back() == ' ' || descriptor.back() == '\0')) {
        descriptor.remove_suffix(1);
    }
    if (descriptor.empty()) return false;
    font_request r;
    bool named = false;
    std::size_t i = 0;
    while (i < descriptor.size()) {
        const char code = LOWER(descriptor[i++]);
        if (code == 't') {
            if (i >= descriptor.size() || descriptor[i] != '\'') return false;
            const std::size_t close = descriptor.find('\'', i + 1);
            if (close == std::string_view::npos) return false;
            const std::size_t n = close - i - 1;
            if (n < 1 || n > name_capacity) return false;
            r.name.fill('\0');
            for (std::size_t k = 0; k < n; ++k) r.name[k] = LOWER(descriptor[i + 1 + k]);
            named = true;
            i = close + 1;
        } else if (code == 'h') {
            if (!READ_SIZE(descriptor, i, r.height)) return false;
        } else if (code == 'w') {
            if (!READ_SIZE(descriptor, i, r.width)) return false;
        } else if (code == 'i') {
            r.italic = true;
        } else {
            return false;
        }
    }
    if (!named) std::memcpy(r.name.data(), "arial", 6);
    out = r;
    return true;
}

bool SAME_REQUEST(const font_request& a, const font_request& b) {
    return a.name == b.name && a.height == b.height && a.width == b.width && a.italic == b.italic;
}

// Starts FreeType and fontconfig once; false when either cannot start.
bool START_TEXT() {
    if (text.started) return text.usable;
    text.started = true;
    if (FcInit() != FcTrue) return false;
    if (FT_Init_FreeType(&text.library) != 0) return false;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* file_only = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* set = FcFontList(nullptr, all, file_only);
    text.font_total = set != nullptr ? set->nfont : 0;
    if (set != nullptr) FcFontSetDestroy(set);
    FcObjectSetDestroy(file_only);
    FcPatternDestroy(all);
    text.usable = true;
    return true;
}

// Opens (or finds already open) the face in file at index; its slot, or -1.
int OPEN_FACE(const char* file, int index) {
    for (int k = 0; k < text.face_count; ++k) {
        if (text.faces[k].file == file && text.faces[k].index == index) return k;
    }
    if (text.face_count == face_capacity) return -1;
    FT_Face face = nullptr;
    if (FT_New_Face(text.library, file, index, &face) != 0) return -1;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0 || face->ascender - face->descender <= 0) {
        FT_Done_Face(face);
        return -1;
    }
    cached_face& slot = text.faces[text.face_count];
    slot.file = file;
    slot.index = index;
    slot.face = face;
    double sum = 0.0;
    int counted = 0;
    for (FT_ULong c = 32; c <= 126; ++c) {
        const FT_UInt g = FT_Get_Char_Index(face, c);
        FT_Fixed advance = 0;
        if (g != 0 && FT_Get_Advance(face, g, FT_LOAD_NO_SCALE, &advance) == 0) {
            sum += static_cast<double>(advance);
            ++counted;
        }
    }
    if (counted > 0) slot.ascii_advance_em = sum / counted / face->units_per_EM;
    return text.face_count++;
}

// Finds the face for a request with fontconfig. The face's family must be the one asked for
// or, for the names in face_aliases, the family with the same metrics; fontconfig's fallback
// to some other face for an unknown name is refused. -1 when there is no such face.
int FIND_FACE(const font_request& r, bool& synthetic_italic) {
    std::string_view name(r.name.data());
    std::string_view wanted_family = name;
    for (const face_alias& a : face_aliases) {
        if (a.name == name) wanted_family = a.family;
    }
    const std::string family(wanted_family);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_SLANT, r.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return -1;
    bool family_found = false;
    FcChar8* value = nullptr;
    for (int k = 0; FcPatternGetString(match, FC_FAMILY, k, &value) == FcResultMatch; ++k) {
        if (SAME_NAME(reinterpret_cast<const char*>(value), family)) family_found = true;
    }
    int slot = -1;
    FcChar8* file = nullptr;
    int index = 0;
    int slant = FC_SLANT_ROMAN;
    if (family_found && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        FcPatternGetInteger(match, FC_INDEX, 0, &index);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        slot = OPEN_FACE(reinterpret_cast<const char*>(file), index);
    }
    FcPatternDestroy(match);
    synthetic_italic = r.italic && slant == FC_SLANT_ROMAN;
    return slot;
}

// Sizes the face for a font: the cell height h spans ascender to descender, the mean ASCII
// advance is w.
void SIZE_FONT(font_entry& f) {
    const cached_face& cf = text.faces[f.face];
    const FT_Face face = cf.face;
    const double cell_em = static_cast<double>(face->ascender - face->descender) / face->units_per_EM;
    const double em_y = f.request.height / cell_em;
    const double em_x = f.request.width > 0 ? f.request.width / cf.ascii_advance_em : em_y;
    f.em_y = std::max<FT_F26Dot6>(64, std::lround(em_y * 64.0));
    f.em_x = std::max<FT_F26Dot6>(64, std::lround(em_x * 64.0));
    f.ascent = static_cast<int>(std::lround(em_y * face->ascender / face->units_per_EM));
}

// Puts the face at the font's size and slant; the face is shared by every font on it.
void APPLY_FONT(const font_entry& f) {
    const FT_Face face = text.faces[f.face].face;
    FT_Set_Char_Size(face, f.em_x, f.em_y, 72, 72);
    if (f.synthetic_italic) {
        FT_Matrix shear{0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
        FT_Set_Transform(face, &shear, nullptr);
    } else {
        FT_Set_Transform(face, nullptr, nullptr);
    }
}

// The glyph of byte c in font f, rasterised on first use. Control characters are drawn as
// blanks; bytes above 127 are taken as Latin-1.
const cached_glyph& GLYPH(font_entry& f, unsigned char c, bool& face_applied) {
    cached_glyph& g = f.glyphs[c];
    if (g.ready) return g;
    g.ready = true;
    if (!face_applied) {
        APPLY_FONT(f);
        face_applied = true;
    }
    const FT_Face face = text.faces[f.face].face;
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

// Blends coverage a (0..255) of the drawing colour into page pixel (x, y), clipped.
inline void BLEND(int x, int y, unsigned a, packed_colour colour) {
    if (a == 0) return;
    if (x < surface.clip_x1 || x > surface.clip_x2 || y < surface.clip_y1 || y > surface.clip_y2) return;
    packed_colour& p = surface.page[static_cast<std::size_t>(y - 1) * page_width + static_cast<std::size_t>(x - 1)];
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

void LOG_TEXT(std::string_view shown, int length) {
    if (surface.text_log_length >= text_log_capacity) return;
    text_call& call = surface.text_log[static_cast<std::size_t>(surface.text_log_length++)];
    call.text.fill(' ');
    std::copy_n(shown.begin(), std::min(shown.size(), call.text.size()), call.text.begin());
    call.length = length;
    call.x = surface.current_x;
    call.y = surface.current_y;
    call.colour = surface.draw_colour;
    call.font = surface.current_font;
}

}  // namespace

int LOAD_FONTS() {
    if (!START_TEXT()) return 0;
    return text.font_total;
}

int SELECT_FONT(std::string_view descriptor) {
    font_request r;
    if (!PARSE_FONT_DESCRIPTOR(descriptor, r)) return -1;
    for (int k = 0; k < text.font_count; ++k) {
        if (SAME_REQUEST(text.fonts[k].request, r)) {
            surface.current_font = k;
            return k;
        }
    }
    if (!START_TEXT() || text.font_count == font_capacity) return -1;
    bool synthetic_italic = false;
    const int face = FIND_FACE(r, synthetic_italic);
    if (face < 0) return -1;
    font_entry& f = text.fonts[text.font_count];
    f.request = r;
    f.face = face;
    f.synthetic_italic = synthetic_italic;
    SIZE_FONT(f);
    surface.current_font = text.font_count;
    return text.font_count++;
}

// Draws the first length characters of text (blanks where text is shorter), each glyph at its
// pen position rounded to the pixel, the cell's top at the current position; the position then
// moves right by the rounded sum of the advances. A negative length draws nothing.
void DRAW_TEXT(std::string_view shown, int length) {
    if (length < 0) length = 0;
    LOG_TEXT(shown.substr(0, std::min<std::size_t>(shown.size(), static_cast<std::size_t>(length))), length);
    if (surface.current_font < 0 || surface.current_font >= text.font_count) return;
    font_entry& f = text.fonts[surface.current_font];
    bool face_applied = false;
    const int x0 = surface.current_x;
    const int baseline = surface.current_y + f.ascent;
    const packed_colour colour = surface.draw_colour;
    FT_Pos pen = 0;  // 26.6 pixels from x0
    for (int k = 0; k < length; ++k) {
        const unsigned char c = static_cast<std::size_t>(k) < shown.size() ? static_cast<unsigned char>(shown[k]) : ' ';
        const cached_glyph& g = GLYPH(f, c, face_applied);
        const int ox = x0 + static_cast<int>((pen + 32) >> 6) + g.left;
        const int oy = baseline - g.top;
        for (int r = 0; r < g.rows; ++r) {
            for (int col = 0; col < g.cols; ++col) {
                BLEND(ox + col, oy + r, g.coverage[static_cast<std::size_t>(r) * g.cols + col], colour);
            }
        }
        pen += g.advance;
    }
    const int moved = x0 + static_cast<int>((pen + 32) >> 6);
    surface.current_x = static_cast<coord>(std::clamp(moved, -32768, 32767));
}

}  // namespace orvex
