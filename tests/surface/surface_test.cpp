// surface_test.cpp: the drawing surface checked pixel by pixel: lines, clipping, fills and text.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fresh_records.h"
#include "surface/display_list.h"
#include "surface/surface.h"
#include "surface/text_canvas.h"

namespace orvex {
namespace {

using pixel_set = std::set<std::pair<int, int>>;

constexpr packed_colour white = 0xFFFFFF, black = 0x000000, blue = 0xFF0000, red = 0x0000FF;

// A white page, whole-page clip, black pen, no font.
void WHITE_PAGE() {
    RESET_SURFACE();
    SET_BACK_COLOUR(white);
    CLEAR_WINDOW();
    SET_DRAW_COLOUR(black);
}

// Every page pixel that is not white.
pixel_set MARKED() {
    pixel_set out;
    for (int y = 1; y <= page_height; ++y) {
        for (int x = 1; x <= page_width; ++x) {
            if (PAGE_PIXEL(x, y) != white) out.insert({x, y});
        }
    }
    return out;
}

pixel_set LINE_PIXELS(int x0, int y0, int x1, int y1) {
    WHITE_PAGE();
    MOVE_TO(static_cast<coord>(x0), static_cast<coord>(y0));
    LINE_TO(static_cast<coord>(x1), static_cast<coord>(y1));
    return MARKED();
}

TEST(SurfaceLine, EveryOctantHasBothEndsOnePixelPerStepAndNoGaps) {
    const int cx = 640, cy = 400;
    const std::vector<std::pair<int, int>> ends = {
        {50, 20}, {20, 50}, {-20, 50}, {-50, 20}, {-50, -20}, {-20, -50}, {20, -50}, {50, -20},
        {40, 0},  {0, 40},  {-40, 0},  {0, -40},  {30, 30},   {-30, 30},  {-30, -30}, {30, -30}};
    for (const auto& [ex, ey] : ends) {
        SCOPED_TRACE("to offset " + std::to_string(ex) + "," + std::to_string(ey));
        const pixel_set line = LINE_PIXELS(cx, cy, cx + ex, cy + ey);
        EXPECT_EQ(DRAWING_STATE().current_x, cx + ex);
        EXPECT_EQ(DRAWING_STATE().current_y, cy + ey);
        EXPECT_TRUE(line.count({cx, cy}));
        EXPECT_TRUE(line.count({cx + ex, cy + ey}));
        const bool x_major = std::abs(ex) >= std::abs(ey);
        const int steps = std::max(std::abs(ex), std::abs(ey));
        ASSERT_EQ(line.size(), static_cast<std::size_t>(steps + 1));
        // Exactly one pixel at every step of the major axis, each next to the last one and
        // within half a pixel of the true line.
        std::pair<int, int> previous{cx, cy};
        for (int s = 0; s <= steps; ++s) {
            int found = 0;
            std::pair<int, int> here{};
            for (const auto& p : line) {
                const int major = x_major ? p.first - cx : p.second - cy;
                const int major_end = x_major ? ex : ey;
                if (major == (major_end > 0 ? s : -s)) {
                    ++found;
                    here = p;
                }
            }
            ASSERT_EQ(found, 1) << "step " << s;
            EXPECT_LE(std::abs(here.first - previous.first), 1);
            EXPECT_LE(std::abs(here.second - previous.second), 1);
            const double t = static_cast<double>(s) / steps;
            const double minor_true = x_major ? cy + t * ey : cx + t * ex;
            const int minor = x_major ? here.second : here.first;
            EXPECT_LE(std::abs(minor - minor_true), 0.5 + 1e-9) << "step " << s;
            previous = here;
        }
    }
}

TEST(SurfaceLine, SinglePointAndLinesOffThePage) {
    EXPECT_EQ(LINE_PIXELS(10, 10, 10, 10), (pixel_set{{10, 10}}));
    // Only the part on the page is drawn, and it is the part of the whole line.
    const pixel_set cut = LINE_PIXELS(-5, 3, 5, 3);
    EXPECT_EQ(cut, (pixel_set{{1, 3}, {2, 3}, {3, 3}, {4, 3}, {5, 3}}));
    EXPECT_TRUE(LINE_PIXELS(-32768, -32768, -1, 32767).empty());
    EXPECT_EQ(LINE_PIXELS(-32768, 1, 32767, 1).size(), static_cast<std::size_t>(page_width));
}

TEST(SurfaceClip, CornersIncludedEitherOrder) {
    for (const bool swapped : {false, true}) {
        WHITE_PAGE();
        if (swapped) SET_CLIP_RECT(20, 30, 10, 15); else SET_CLIP_RECT(10, 15, 20, 30);
        FILL_RECT(1, 1, 100, 100);
        const pixel_set drawn = MARKED();
        EXPECT_EQ(drawn.size(), 11u * 16u);
        EXPECT_TRUE(drawn.count({10, 15}));
        EXPECT_TRUE(drawn.count({20, 30}));
        EXPECT_FALSE(drawn.count({9, 15}));
        EXPECT_FALSE(drawn.count({21, 30}));
        EXPECT_FALSE(drawn.count({10, 31}));
    }
}

TEST(SurfaceClip, PartlyOffThePageIsCutToThePage) {
    WHITE_PAGE();
    SET_CLIP_RECT(-100, -50, 3, 2);
    EXPECT_EQ(DRAWING_STATE().clip_x1, 1);
    EXPECT_EQ(DRAWING_STATE().clip_y1, 1);
    EXPECT_EQ(DRAWING_STATE().clip_x2, 3);
    EXPECT_EQ(DRAWING_STATE().clip_y2, 2);
    SET_CLIP_RECT(1279, 799, 32767, 32767);
    FILL_RECT(-32768, -32768, 32767, 32767);
    EXPECT_EQ(MARKED(), (pixel_set{{1279, 799}, {1280, 799}, {1279, 800}, {1280, 800}}));
}

TEST(SurfaceClip, RectangleOffThePageIsRefusedAndClipKept) {
    WHITE_PAGE();
    SET_CLIP_RECT(100, 100, 200, 200);
    SET_CLIP_RECT(1281, 10, 1400, 20);    // right of the page
    SET_CLIP_RECT(-10, -10, 0, 0);        // above and left
    SET_CLIP_RECT(10, 801, 20, 32767);    // below
    EXPECT_EQ(DRAWING_STATE().clip_x1, 100);
    EXPECT_EQ(DRAWING_STATE().clip_y1, 100);
    EXPECT_EQ(DRAWING_STATE().clip_x2, 200);
    EXPECT_EQ(DRAWING_STATE().clip_y2, 200);
}

TEST(SurfaceClip, ClippedLineKeepsTheUnclippedPixels) {
    const pixel_set whole = LINE_PIXELS(5, 7, 95, 61);
    WHITE_PAGE();
    SET_CLIP_RECT(30, 20, 60, 50);
    MOVE_TO(5, 7);
    LINE_TO(95, 61);
    pixel_set expected;
    for (const auto& p : whole) {
        if (p.first >= 30 && p.first <= 60 && p.second >= 20 && p.second <= 50) expected.insert(p);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(MARKED(), expected);
}

TEST(SurfaceFill, BorderIncludedEitherOrderAndPixelsClipped) {
    WHITE_PAGE();
    SET_DRAW_COLOUR(red);
    FILL_RECT(8, 9, 5, 6);
    pixel_set expected;
    for (int y = 6; y <= 9; ++y) {
        for (int x = 5; x <= 8; ++x) expected.insert({x, y});
    }
    EXPECT_EQ(MARKED(), expected);
    EXPECT_EQ(PAGE_PIXEL(5, 6), red);

    WHITE_PAGE();
    SET_CLIP_RECT(50, 50, 60, 60);
    SET_PIXEL(49, 55, blue);
    SET_PIXEL(50, 50, blue);
    SET_PIXEL(0, 0, blue);
    EXPECT_EQ(MARKED(), (pixel_set{{50, 50}}));
    EXPECT_EQ(PAGE_PIXEL(50, 50), blue);
    // Clearing ignores the clip.
    SET_BACK_COLOUR(red);
    CLEAR_WINDOW();
    EXPECT_EQ(PAGE_PIXEL(1, 1), red);
    EXPECT_EQ(PAGE_PIXEL(page_width, page_height), red);
}

// ---- text ----

constexpr std::string_view page_font = "t'Arial'h16w8i";
constexpr std::string_view panel_font = "t'Arial'h12w4";

// Draws text at (x, y) and returns the marked pixels.
pixel_set TEXT_PIXELS(std::string_view font, std::string_view text, int length, int x = 100, int y = 100) {
    WHITE_PAGE();
    LOAD_FONTS();
    EXPECT_GE(SELECT_FONT(font), 0);
    MOVE_TO(static_cast<coord>(x), static_cast<coord>(y));
    DRAW_TEXT(text, length);
    return MARKED();
}

using SurfaceFont = testing_support::fresh_records;

TEST_F(SurfaceFont, DescriptorsAreCaseInsensitiveAndTrailingBlanksIgnored) {
    EXPECT_GT(LOAD_FONTS(), 0);
    const int page = SELECT_FONT(page_font);
    const int panel = SELECT_FONT(panel_font);
    ASSERT_GE(page, 0);
    ASSERT_GE(panel, 0);
    EXPECT_NE(page, panel);
    EXPECT_EQ(SELECT_FONT("T'ARIAL'H16W8I"), page);
    EXPECT_EQ(SELECT_FONT("t'arial'h16w8i   "), page);
    EXPECT_EQ(SELECT_FONT("ih16t'Arial'w8"), page);
    EXPECT_EQ(DRAWING_STATE().current_font, page);
}

// The fonts are the process's, each page slot's display list its own: a text drawn in either
// slot, whenever its font was first chosen, replays at that font's size.
TEST_F(SurfaceFont, EveryPageSlotRecordsTheFontsItsTextsUse) {
    LOAD_FONTS();
    std::array<display_font, 2> recorded;
    for (const int slot : {0, 1, 0}) {
        SELECT_PAGE_SLOT(slot);
        CLEAR_WINDOW();
        const int font = SELECT_FONT(page_font);
        ASSERT_GE(font, 0);
        MOVE_TO(100, 100);
        DRAW_TEXT("Bz (Gs)", 7);
        const display_list& list = DISPLAY_LIST();
        ASSERT_EQ(list.text_count, 1);
        EXPECT_EQ(list.texts[0].font, font);
        recorded[static_cast<std::size_t>(slot)] = list.fonts[static_cast<std::size_t>(font)];
        EXPECT_GT(recorded[static_cast<std::size_t>(slot)].em_y, 8.0) << "slot " << slot;
    }
    EXPECT_EQ(recorded[1].family, recorded[0].family);
    EXPECT_EQ(recorded[1].em_x, recorded[0].em_x);
    EXPECT_EQ(recorded[1].ascent, recorded[0].ascent);
    SELECT_PAGE_SLOT(0);
}

TEST_F(SurfaceFont, BadDescriptorIsRefusedAndPreviousFontKept) {
    LOAD_FONTS();
    const int panel = SELECT_FONT(panel_font);
    ASSERT_GE(panel, 0);
    for (std::string_view bad : {"", "   ", "t'Arial", "t''h12", "t'Arial'h", "t'Arial'h0w4", "t'Arial'hxw4",
                                 "t'Arial'h12w4b", "t'Arial' h12", "q", "t'Arial'h99999",
                                 "t'abcdefghijklmnopqrstuvwxyzabcdef'h12",  // 32 characters
                                 "t'No Such Typeface Anywhere'h12w4"}) {
        EXPECT_EQ(SELECT_FONT(bad), -1) << '"' << bad << '"';
        EXPECT_EQ(DRAWING_STATE().current_font, panel) << '"' << bad << '"';
    }
    // Text after a refused font is drawn in the previous one.
    const pixel_set before = TEXT_PIXELS(panel_font, "12.5", 4);
    WHITE_PAGE();
    ASSERT_EQ(SELECT_FONT(panel_font), panel);
    EXPECT_EQ(SELECT_FONT("t'nosuchface'"), -1);
    MOVE_TO(100, 100);
    DRAW_TEXT("12.5", 4);
    EXPECT_EQ(MARKED(), before);
}

TEST(SurfaceText, StartsAtTheCurrentPositionInsideItsCellAndMovesByItsWidth) {
    const pixel_set e = TEXT_PIXELS(page_font, "E", 1, 300, 200);
    ASSERT_FALSE(e.empty());
    const int width = DRAWING_STATE().current_x - 300;
    EXPECT_EQ(DRAWING_STATE().current_y, 200);
    EXPECT_GT(width, 4);
    for (const auto& p : e) {
        EXPECT_GE(p.first, 300);
        EXPECT_LT(p.first, 300 + width + 3);  // the italic slant may lean past the advance
        EXPECT_GE(p.second, 200);
        EXPECT_LT(p.second, 216);
    }
    // Two texts drawn one after the other equal one text drawn at once.
    const pixel_set joined = TEXT_PIXELS(panel_font, "0.123E+04", 9);
    const int joined_end = DRAWING_STATE().current_x;
    WHITE_PAGE();
    SELECT_FONT(panel_font);
    MOVE_TO(100, 100);
    DRAW_TEXT("0.123", 5);
    DRAW_TEXT("E+04", 4);
    EXPECT_NEAR(DRAWING_STATE().current_x, joined_end, 1);
    // The second part may start a fraction of a pixel off, so its edge pixels differ.
    EXPECT_NEAR(static_cast<double>(MARKED().size()), static_cast<double>(joined.size()), 0.1 * joined.size());
}

TEST(SurfaceText, TrailingBlanksAdvanceAndDrawNothing) {
    const pixel_set short_text = TEXT_PIXELS(page_font, "AB", 2);
    const int short_end = DRAWING_STATE().current_x;
    const pixel_set padded = TEXT_PIXELS(page_font, "AB    ", 6);
    const int padded_end = DRAWING_STATE().current_x;
    EXPECT_EQ(padded, short_text);
    EXPECT_GT(padded_end, short_end + 4 * 2);
    // A length beyond the text is made up of blanks; a shorter one draws only its part.
    TEXT_PIXELS(page_font, "AB", 6);
    EXPECT_EQ(DRAWING_STATE().current_x, padded_end);
    EXPECT_EQ(TEXT_PIXELS(page_font, "ABCD", 2), short_text);
}

TEST(SurfaceText, WidthsFollowTheDescriptor) {
    TEXT_PIXELS(panel_font, "0123456789", 10);
    EXPECT_NEAR(DRAWING_STATE().current_x - 100, 40, 2);  // digits are w wide
    std::string ascii;
    for (char c = ' '; c <= '~'; ++c) ascii += c;
    TEXT_PIXELS(page_font, ascii, static_cast<int>(ascii.size()));
    EXPECT_NEAR(DRAWING_STATE().current_x - 100, 8 * static_cast<int>(ascii.size()), 2);  // the mean is w
    const pixel_set tall = TEXT_PIXELS("t'Arial'h40", "H", 1);
    int top = 9999, bottom = 0;
    for (const auto& p : tall) {
        top = std::min(top, p.second);
        bottom = std::max(bottom, p.second);
    }
    // A capital H fills about two thirds of a 40-pixel cell, above the baseline.
    EXPECT_NEAR(bottom - top + 1, 26, 2);
    EXPECT_GT(top, 100 + 2);
}

TEST(SurfaceText, DrawnInTheDrawingColourOverAnUntouchedBackground) {
    WHITE_PAGE();
    SET_BACK_COLOUR(0x00FF00);
    CLEAR_WINDOW();
    LOAD_FONTS();
    SELECT_FONT(page_font);
    SET_DRAW_COLOUR(blue);
    MOVE_TO(100, 100);
    DRAW_TEXT("ORVEX  X", 8);
    int full = 0, mixed = 0;
    for (int y = 90; y <= 130; ++y) {
        for (int x = 90; x <= 200; ++x) {
            const packed_colour p = PAGE_PIXEL(x, y);
            if (p == 0x00FF00) continue;
            // Every changed pixel lies between the background and the drawing colour.
            EXPECT_EQ(p & 0xFFu, 0u);
            EXPECT_EQ(((p >> 8) & 0xFFu) + ((p >> 16) & 0xFFu), 255u) << std::hex << p;
            if (p == blue) ++full; else ++mixed;
        }
    }
    EXPECT_GT(full, 20);
    (void)mixed;
}

TEST(SurfaceText, ClippedLikeEveryOtherPixel) {
    WHITE_PAGE();
    LOAD_FONTS();
    SELECT_FONT(page_font);
    SET_CLIP_RECT(1, 1, 110, 800);
    MOVE_TO(100, 100);
    DRAW_TEXT("WWWWWW", 6);
    const pixel_set drawn = MARKED();
    EXPECT_FALSE(drawn.empty());
    for (const auto& p : drawn) EXPECT_LE(p.first, 110);
    // Text half off the page is cut, not wrapped.
    WHITE_PAGE();
    SELECT_FONT(page_font);
    MOVE_TO(1270, 795);
    DRAW_TEXT("WWWW", 4);
    for (const auto& p : MARKED()) {
        EXPECT_GE(p.first, 1270);
        EXPECT_GE(p.second, 795);
    }
}

TEST(SurfaceText, WithoutAFontNothingIsDrawnButTheCallIsLogged) {
    WHITE_PAGE();
    SET_DRAW_COLOUR(red);
    MOVE_TO(40, 50);
    DRAW_TEXT("Ex (V/cm)", 20);
    EXPECT_TRUE(MARKED().empty());
    EXPECT_EQ(DRAWING_STATE().current_x, 40);
    ASSERT_EQ(static_cast<int>(TEXT_LOG().size()), 1);
    const text_call& call = TEXT_LOG()[0];
    EXPECT_EQ(std::string(call.text.data(), 20), "Ex (V/cm)           ");
    EXPECT_EQ(call.length, 20);
    EXPECT_EQ(call.x, 40);
    EXPECT_EQ(call.y, 50);
    EXPECT_EQ(call.colour, red);
    EXPECT_EQ(call.font, -1);
}

TEST(SurfaceText, PanelFontKeepsDigitsPointMinusAndEApart) {
    const std::string glyphs = "0123456789.-E+";
    std::vector<std::vector<packed_colour>> shapes;
    for (const char c : glyphs) {
        WHITE_PAGE();
        LOAD_FONTS();
        SELECT_FONT(panel_font);
        MOVE_TO(100, 100);
        DRAW_TEXT(std::string_view(&c, 1), 1);
        std::vector<packed_colour> shape;
        for (int y = 98; y < 116; ++y) {
            for (int x = 98; x < 108; ++x) shape.push_back(PAGE_PIXEL(x, y));
        }
        EXPECT_NE(MARKED().size(), 0u) << c;
        shapes.push_back(shape);
    }
    for (std::size_t a = 0; a < shapes.size(); ++a) {
        for (std::size_t b = a + 1; b < shapes.size(); ++b) {
            int difference = 0;  // in grey levels summed over the cell
            for (std::size_t k = 0; k < shapes[a].size(); ++k) {
                difference += std::abs(static_cast<int>(shapes[a][k] & 0xFFu) - static_cast<int>(shapes[b][k] & 0xFFu));
            }
            EXPECT_GE(difference, 2 * 255) << glyphs[a] << " and " << glyphs[b] << " look alike";
        }
    }
}

// Each page slot's display list holds the fonts its texts were drawn in, also a font first made
// for the other slot's page: a vector replay of either page sets every text at its size.
TEST(SurfaceText, EachPageSlotRecordsTheFontsOfItsOwnTexts) {
    RESET_SURFACE();
    ASSERT_GT(LOAD_FONTS(), 0);
    display_font first{};
    for (const int slot : {1, 0}) {
        SELECT_PAGE_SLOT(slot);
        CLEAR_WINDOW();
        ASSERT_GE(SELECT_FONT(page_font), 0);
        MOVE_TO(100, 100);
        DRAW_TEXT("Ez", 2);
        const display_list& list = DISPLAY_LIST();
        ASSERT_EQ(list.text_count, 1) << slot;
        const display_font& f = list.fonts[static_cast<std::size_t>(list.texts[0].font)];
        EXPECT_GT(f.em_y, 12.0) << slot;  // a 16-pixel cell
        EXPECT_NE(f.family[0], '\0') << slot;
        if (slot == 1) first = f;
        else EXPECT_TRUE(f.family == first.family && f.em_x == first.em_x && f.em_y == first.em_y && f.ascent == first.ascent);
    }
    RESET_SURFACE();
}

// Text on a picture of any size: its width is the sum of the face's advances (Liberation Sans:
// a digit 1139 of 2048 units, a cell of 1854 + 434), and the upward text is the across text
// turned a quarter to the left, pixel for pixel.
TEST(SurfaceCanvasText, WidthIsTheFacesAdvancesAndUpwardIsTheAcrossTextTurned) {
    const text_face_metrics face = TEXT_FACE_METRICS();
    if (!face.usable) GTEST_SKIP() << "no face";
    EXPECT_NEAR(face.cell, 2288.0 / 2048.0, 1e-12);
    const double width = TEXT_WIDTH("0123456789", 14.0);
    EXPECT_NEAR(width, 10 * 1139.0 / 2288.0 * 14.0, 1e-9);
    std::vector<packed_colour> across(300 * 60, white), upward(60 * 300, white);
    canvas a{across.data(), 300, 60}, b{upward.data(), 60, 300};
    ASSERT_TRUE(DRAW_CANVAS_TEXT(a, 14.0, 10.0, 40.0, "0123456789", black, text_direction::across));
    ASSERT_TRUE(DRAW_CANVAS_TEXT(b, 14.0, 40.0, 290.0, "0123456789", black, text_direction::upward));
    int inked = 0, last = -1, first = 300;  // along the text from its start
    for (int n = 0; n < 60 * 300; ++n) {
        const int v = n / 300 - 40, u = n % 300 - 10;  // below the baseline, along it
        const packed_colour p = across[static_cast<std::size_t>(n)];
        ASSERT_EQ(p, upward[static_cast<std::size_t>(289 - u) * 60 + static_cast<std::size_t>(40 + v)]) << u << ", " << v;
        if (p != white) ++inked, last = std::max(last, u), first = std::min(first, u);
    }
    // Ink from the first digit's side bearing to within the last one's.
    EXPECT_GT(inked, 150);
    EXPECT_TRUE(first >= 0 && first <= 2 && last + 1 <= std::ceil(width) && last + 1 >= width - 3) << first << " " << last;
}

}  // namespace
}  // namespace orvex
