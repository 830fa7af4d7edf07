// font_faces.cpp: LOAD_FONTS and SELECT_FONT: fontconfig finds a font's face, FreeType opens
// and sizes it. Everything is loaded once per process: FreeType, the faces and the fonts;
// selecting a font that was selected before is a table look-up.
//
// "Arial" and its usual names are drawn with the Liberation faces, which have the same metrics.
// Where fontconfig has no Liberation face, such a name is drawn with fontconfig's best match
// for the generic family (sans-serif for Arial), and one line on standard error names the face
// that stands in, once per name: the page keeps its numbers and titles, a little off their
// usual widths. Any other name must be a family fontconfig really has, otherwise the
// descriptor is refused.
#include "surface/text_fonts.h"  // FreeType first: its headers come through this one
#include FT_ADVANCES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "surface/surface.h"
#include "surface/surface_state.h"

namespace orvex {

namespace text_detail {

namespace {
text_state the_text;
}  // namespace

text_state& TEXT() { return the_text; }

}  // namespace text_detail

using text_detail::TEXT;

namespace {

using text_detail::cached_face;
using text_detail::font_entry;
using text_detail::font_request;
using text_detail::text_state;

// Names that stand for a face with the same metrics under another name, and the generic
// family that stands in when that face is missing.
struct face_alias {
    std::string_view name, family, generic;
};
constexpr std::array<face_alias, 8> face_aliases{{
    {"arial", "liberation sans", "sans-serif"},
    {"helvetica", "liberation sans", "sans-serif"},
    {"arial narrow", "liberation sans narrow", "sans-serif"},
    {"times new roman", "liberation serif", "serif"},
    {"times", "liberation serif", "serif"},
    {"courier new", "liberation mono", "monospace"},
    {"courier", "liberation mono", "monospace"},
    {"cour", "liberation mono", "monospace"},
}};

char LOWER(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SAME_NAME(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LOWER(a[i]) != LOWER(b[i])) return false;
    }
    return true;
}

// The system's font directories and caches, without the rules of the system's configuration.
// Reading the whole configuration (dozens of rule files) costs a run several milliseconds; the
// page needs only the Liberation faces, which this finds in a fraction of one, in the same
// files. A lookup that needs the rules (an alias, a stand-in for a missing face) uses the whole
// configuration, read then. A user who points fontconfig elsewhere (FONTCONFIG_FILE,
// FONTCONFIG_PATH) always gets the whole configuration.
constexpr const char* quick_configuration =
    "<?xml version=\"1.0\"?><fontconfig>"
    "<dir>/usr/share/fonts</dir><dir>/usr/local/share/fonts</dir>"
    "<dir prefix=\"xdg\">fonts</dir><dir>~/.fonts</dir>"
    "<cachedir>/var/cache/fontconfig</cachedir><cachedir prefix=\"xdg\">fontconfig</cachedir>"
    "</fontconfig>";

FcConfig* QUICK_CONFIGURATION() {
    if (std::getenv("FONTCONFIG_FILE") != nullptr || std::getenv("FONTCONFIG_PATH") != nullptr) return nullptr;
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return nullptr;
    if (FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(quick_configuration), FcFalse) != FcTrue ||
        FcConfigBuildFonts(config) != FcTrue) {
        FcConfigDestroy(config);
        return nullptr;
    }
    return config;
}

// The whole configuration, read once, when a lookup first needs it; false when it cannot be.
bool START_WHOLE_CONFIGURATION() {
    text_state& text = TEXT();
    if (!text.whole_started) {
        text.whole_started = true;
        text.whole_usable = FcInit() == FcTrue;
    }
    return text.whole_usable;
}

// Starts FreeType and the quick configuration once; false when fonts cannot be had at all.
bool START_TEXT() {
    text_state& text = TEXT();
    if (text.started) return text.usable;
    text.started = true;
    if (FT_Init_FreeType(&text.library) != 0) return false;
    text.quick = QUICK_CONFIGURATION();
    if (text.quick == nullptr && !START_WHOLE_CONFIGURATION()) return false;
    FcFontSet* set = FcConfigGetFonts(text.quick, FcSetSystem);  // the whole one's when quick is null
    text.font_total = set != nullptr ? set->nfont : 0;
    text.usable = true;
    return true;
}

// Opens (or finds already open) the face in file at index; its slot, or -1.
int OPEN_FACE(const char* file, int index) {
    text_state& text = TEXT();
    for (int k = 0; k < text.face_count; ++k) {
        if (text.faces[k].file == file && text.faces[k].index == index) return k;
    }
    if (text.face_count == text_detail::face_capacity) return -1;
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

// What fontconfig offers for a family at the request's slant: the best match, with its file,
// index, slant and family name. matched is false when fontconfig has nothing at all.
struct face_match {
    bool matched = false;
    bool family_found = false;  // the match's family is the one asked for
    std::string file, family;
    int index = 0;
    int slant = FC_SLANT_ROMAN;
};

face_match MATCH_FAMILY(FcConfig* config, const std::string& family, bool italic) {
    face_match m;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return m;
    FcChar8* value = nullptr;
    for (int k = 0; FcPatternGetString(match, FC_FAMILY, k, &value) == FcResultMatch; ++k) {
        if (k == 0) m.family = reinterpret_cast<const char*>(value);
        if (SAME_NAME(reinterpret_cast<const char*>(value), family)) m.family_found = true;
    }
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        m.matched = true;
        m.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &m.index);
        FcPatternGetInteger(match, FC_SLANT, 0, &m.slant);
    }
    FcPatternDestroy(match);
    return m;
}

// The stand-in of each alias already announced on standard error.
std::array<bool, face_aliases.size()> stand_in_told{};

// Finds the face for a request with fontconfig. The face's family must be the one asked for
// or, for the names in face_aliases, the family with the same metrics, or failing that the
// generic family's best match. -1 when there is no such face.
int FIND_FACE(const font_request& r, bool& synthetic_italic, std::string& family) {
    const std::string_view name(r.name.data());
    const face_alias* alias = nullptr;
    for (const face_alias& a : face_aliases) {
        if (a.name == name) alias = &a;
    }
    const std::string wanted(alias != nullptr ? alias->family : name);
    face_match m;
    if (TEXT().quick != nullptr) m = MATCH_FAMILY(TEXT().quick, wanted, r.italic);
    if (!m.family_found && START_WHOLE_CONFIGURATION()) m = MATCH_FAMILY(nullptr, wanted, r.italic);
    if (!m.family_found && alias != nullptr && START_WHOLE_CONFIGURATION()) {
        m = MATCH_FAMILY(nullptr, std::string(alias->generic), r.italic);
        const auto told = static_cast<std::size_t>(alias - face_aliases.data());
        if (m.matched && !stand_in_told[told]) {
            stand_in_told[told] = true;
            std::fprintf(stderr, "plot_orvex_3dfields: no %.*s face for \"%.*s\"; its texts are drawn with %s\n",
                         static_cast<int>(alias->family.size()), alias->family.data(),
                         static_cast<int>(name.size()), name.data(), m.family.c_str());
            std::fflush(stderr);
        }
        m.family_found = m.matched;
    }
    synthetic_italic = r.italic && m.slant == FC_SLANT_ROMAN;
    family = m.family;
    if (!m.matched || !m.family_found) return -1;
    return OPEN_FACE(m.file.c_str(), m.index);
}

// Sizes the face for a font: the cell height h spans ascender to descender, the mean ASCII
// advance is w.
void SIZE_FONT(font_entry& f) {
    const cached_face& cf = TEXT().faces[f.face];
    const FT_Face face = cf.face;
    const double cell_em = static_cast<double>(face->ascender - face->descender) / face->units_per_EM;
    const double em_y = f.request.height / cell_em;
    const double em_x = f.request.width > 0 ? f.request.width / cf.ascii_advance_em : em_y;
    f.em_y = std::max<FT_F26Dot6>(64, std::lround(em_y * 64.0));
    f.em_x = std::max<FT_F26Dot6>(64, std::lround(em_x * 64.0));
    f.ascent = static_cast<int>(std::lround(em_y * face->ascender / face->units_per_EM));
}

}  // namespace

void text_detail::APPLY_FONT(const font_entry& f) {
    const FT_Face face = TEXT().faces[f.face].face;
    FT_Set_Char_Size(face, f.em_x, f.em_y, 72, 72);
    if (f.synthetic_italic) {
        FT_Matrix shear{0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
        FT_Set_Transform(face, &shear, nullptr);
    } else {
        FT_Set_Transform(face, nullptr, nullptr);
    }
}

int LOAD_FONTS() {
    if (!START_TEXT()) return 0;
    return TEXT().font_total;
}

int SELECT_FONT(std::string_view descriptor) {
    text_state& text = TEXT();
    int& current = surface_detail::SURFACE().drawing.current_font;
    font_request r;
    if (!text_detail::PARSE_FONT_DESCRIPTOR(descriptor, r)) return -1;
    for (int k = 0; k < text.font_count; ++k) {
        if (text_detail::SAME_REQUEST(text.fonts[k].request, r)) {
            // The fonts are the process's, the display lists each slot's: a page drawn in the
            // other slot records the font too, or its vector replay has texts of no size.
            surface_detail::RECORD_FONT(surface_detail::SURFACE(), k, text.fonts[k].shown);
            current = k;
            return k;
        }
    }
    if (!START_TEXT() || text.font_count == text_detail::font_capacity) return -1;
    bool synthetic_italic = false;
    std::string family;
    const int face = FIND_FACE(r, synthetic_italic, family);
    if (face < 0) return -1;
    font_entry& f = text.fonts[text.font_count];
    f.request = r;
    f.face = face;
    f.synthetic_italic = synthetic_italic;
    SIZE_FONT(f);
    // The same font for vector replays of the page's texts.
    display_font shown;
    std::copy_n(family.begin(), std::min(family.size(), shown.family.size() - 1), shown.family.begin());
    shown.italic = r.italic && !synthetic_italic;
    shown.slanted = synthetic_italic;
    shown.em_x = static_cast<double>(f.em_x) / 64.0;
    shown.em_y = static_cast<double>(f.em_y) / 64.0;
    shown.ascent = f.ascent;
    f.shown = shown;
    surface_detail::RECORD_FONT(surface_detail::SURFACE(), text.font_count, shown);
    current = text.font_count;
    return text.font_count++;
}

}  // namespace orvex
