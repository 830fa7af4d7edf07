// vplot_test.cpp: one profile in one panel: its number texts, titles, where they are drawn,
// and the curve pixels, checked against scales computed here from the data.
#include <gtest/gtest.h>

#include "page/logged_texts.h"
#include "page/panel_edges.h"

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "console/assume.h"
#include "page/page.h"
#include "page/page_readout.h"
#include "page/plotted_page.h"
#include "surface/surface.h"
#include "page/vplot.h"

namespace orvex {
namespace {

constexpr packed_colour white = 0xFFFFFF;
constexpr packed_colour black = 0x000000;
constexpr packed_colour red = 0x0000FF;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();

std::string S(const std::array<char, 8>& a) { return std::string(a.data(), a.size()); }
std::string S(const std::array<char, 9>& a) { return std::string(a.data(), a.size()); }

TEST(FormatPosition, FixedPointRightAlignedInEight) {
    EXPECT_EQ(S(FORMAT_POSITION(12.5)), "  12.500");
    EXPECT_EQ(S(FORMAT_POSITION(-100.0)), "-100.000");
    EXPECT_EQ(S(FORMAT_POSITION(0.0)), "   0.000");
    EXPECT_EQ(S(FORMAT_POSITION(1.23456)), "   1.235");
    EXPECT_EQ(S(FORMAT_POSITION(9999.999)), "9999.999");
    EXPECT_EQ(S(FORMAT_POSITION(-999.999)), "-999.999");
    // A hair below zero on a symmetric axis still reads 0.000.
    EXPECT_EQ(S(FORMAT_POSITION(-4.4e-16)), "   0.000");
}

TEST(FormatPosition, AsterisksWhenTooWide) {
    EXPECT_EQ(S(FORMAT_POSITION(-1000.0)), "********");
    EXPECT_EQ(S(FORMAT_POSITION(-999.9996)), "********");  // rounds to -1000.000
    EXPECT_EQ(S(FORMAT_POSITION(10000.0)), "********");
    EXPECT_EQ(S(FORMAT_POSITION(9999.9996)), "********");
    EXPECT_EQ(S(FORMAT_POSITION(1e300)), "********");
    EXPECT_EQ(S(FORMAT_POSITION(nan)), "********");
    EXPECT_EQ(S(FORMAT_POSITION(-inf)), "********");
}

TEST(FormatValue, MantissaExponentAndSign) {
    EXPECT_EQ(S(FORMAT_VALUE(1234.5)), "0.123E+04");
    EXPECT_EQ(S(FORMAT_VALUE(-1234.5)), "-.123E+04");
    EXPECT_EQ(S(FORMAT_VALUE(0.0)), "0.000E+00");
    EXPECT_EQ(S(FORMAT_VALUE(-0.0)), "0.000E+00");
    EXPECT_EQ(S(FORMAT_VALUE(1e-12)), "0.100E-11");
    EXPECT_EQ(S(FORMAT_VALUE(-1e-12)), "-.100E-11");
    EXPECT_EQ(S(FORMAT_VALUE(9.0)), "0.900E+01");
    EXPECT_EQ(S(FORMAT_VALUE(0.5)), "0.500E+00");
    EXPECT_EQ(S(FORMAT_VALUE(0.01234)), "0.123E-01");
    EXPECT_EQ(S(FORMAT_VALUE(1.0)), "0.100E+01");
}

TEST(FormatValue, RoundingThatCarriesMovesTheExponent) {
    EXPECT_EQ(S(FORMAT_VALUE(999.6)), "0.100E+04");
    EXPECT_EQ(S(FORMAT_VALUE(-999.6)), "-.100E+04");
    EXPECT_EQ(S(FORMAT_VALUE(0.09996)), "0.100E+00");
    EXPECT_EQ(S(FORMAT_VALUE(999.4)), "0.999E+03");
}

TEST(FormatValue, AsterisksWhenTheExponentNeedsThreeDigits) {
    EXPECT_EQ(S(FORMAT_VALUE(1e98)), "0.100E+99");
    EXPECT_EQ(S(FORMAT_VALUE(1e99)), "*********");
    EXPECT_EQ(S(FORMAT_VALUE(9.996e98)), "*********");  // carries into exponent 100
    EXPECT_EQ(S(FORMAT_VALUE(1e-100)), "0.100E-99");
    EXPECT_EQ(S(FORMAT_VALUE(1e-101)), "*********");
    EXPECT_EQ(S(FORMAT_VALUE(-1e200)), "*********");
    EXPECT_EQ(S(FORMAT_VALUE(nan)), "*********");
    EXPECT_EQ(S(FORMAT_VALUE(inf)), "*********");
}

// The page as the profile plot finds it: white, panel_table and colour_table from the tabled
// layout (two blocks of 5 x 3 panels of 148 x 100 pixels, 4 divisions each).
void FRESH_PAGE() {
    RESET_SURFACE();
    colour_table = {0xFFFFFF, 0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF};
    for (int n = 1; n <= 30; ++n) {
        const testing_support::panel_edges e = testing_support::PANEL_EDGES(n);
        panel_table[static_cast<std::size_t>(n - 1)] = {e.ix1, e.ix2, e.iy1, e.iy2, 4, 4};
    }
    SET_BACK_COLOUR(white);
    CLEAR_WINDOW();
}

using testing_support::logged_text;
using testing_support::TEXTS;

// Pixels of colour c inside the rectangle, corners included.
int COUNT(packed_colour c, int x1, int y1, int x2, int y2) {
    int count = 0;
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x) count += PAGE_PIXEL(x, y) == c;
    return count;
}

int COUNT_PAGE(packed_colour c) { return COUNT(c, 1, 1, page_width, page_height); }

// The curve drawn from hand-placed vertices with the surface's own lines and the panel's
// clip: what the profile plot must give.
std::vector<packed_colour> EXPECTED_CURVE(const panel_record& p, const std::vector<std::vector<std::pair<int, int>>>& runs) {
    RESET_SURFACE();
    SET_BACK_COLOUR(white);
    CLEAR_WINDOW();
    SET_CLIP_RECT(static_cast<coord>(p.ix1), static_cast<coord>(p.iy1), static_cast<coord>(p.ix2), static_cast<coord>(p.iy2));
    SET_DRAW_COLOUR(red);
    for (const auto& run : runs) {
        MOVE_TO(static_cast<coord>(run[0].first), static_cast<coord>(run[0].second));
        for (std::size_t i = 1; i < run.size(); ++i)
            LINE_TO(static_cast<coord>(run[i].first), static_cast<coord>(run[i].second));
    }
    return {PAGE_PIXELS().begin(), PAGE_PIXELS().end()};
}

// Only the red pixels of the page, everything else white.
std::vector<packed_colour> RED_OF_PAGE() {
    std::vector<packed_colour> out(PAGE_PIXELS().begin(), PAGE_PIXELS().end());
    for (packed_colour& c : out)
        if (c != red) c = white;
    return out;
}

std::vector<packed_colour> PLOT(int panel, const std::vector<double>& pos, const std::vector<double>& val) {
    FRESH_PAGE();
    VPLOT1X(panel, static_cast<std::int32_t>(pos.size()), pos.data(), val.data(), "X (cm)", "Ex (V/cm)", red);
    return RED_OF_PAGE();
}

TEST(ProfilePlot, NumbersAndTitlesAtTheirPlaces) {
    FRESH_PAGE();
    const double pos[2] = {-2.0, 2.0};
    const double val[2] = {-100.0, 300.0};
    VPLOT1X(1, 2, pos, val, "X (cm), Y=Z=0", "Ex (V/cm)", red);
    const int panel_font = SELECT_FONT("t'Arial'h12w4");
    EXPECT_GE(panel_font, 0);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    // Panel 1: 60..208 across, 48..148 down; ticks 37 and 25 pixels.
    const logged_text expected[8] = {
        {"  -2.000", 50, 150, black, panel_font},
        {"   0.000", 124, 150, black, panel_font},
        {"   2.000", 198, 150, black, panel_font},
        {"0.300E+03", 16, 44, black, panel_font},
        {"0.100E+03", 16, 94, black, panel_font},
        {"-.100E+03", 16, 144, black, panel_font},
        {"X (cm), Y=Z=0       ", 106, 160, black, panel_font},
        {"Ex (V/cm)           ", 22, 32, black, panel_font},
    };
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(texts[i].text, expected[i].text);
        EXPECT_EQ(texts[i].x, expected[i].x);
        EXPECT_EQ(texts[i].y, expected[i].y);
        EXPECT_EQ(texts[i].colour, expected[i].colour);
        EXPECT_EQ(texts[i].font, expected[i].font);
    }
    // The call leaves the clip on its panel and the curve colour.
    EXPECT_EQ(DRAWING_STATE().clip_x1, 60);
    EXPECT_EQ(DRAWING_STATE().clip_y1, 48);
    EXPECT_EQ(DRAWING_STATE().clip_x2, 208);
    EXPECT_EQ(DRAWING_STATE().clip_y2, 148);
    EXPECT_EQ(DRAWING_STATE().draw_colour, red);
}

TEST(ProfilePlot, TitlesAreTwentyCharactersExactly) {
    FRESH_PAGE();
    const double pos[2] = {0.0, 1.0};
    const double val[2] = {0.0, 1.0};
    VPLOT1X(30, 2, pos, val, "An axis title longer than twenty", "", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[6].text, "An axis title longer");
    EXPECT_EQ(texts[7].text, std::string(20, ' '));
    // Panel 30: 1100..1248 across, 640..740 down.
    EXPECT_EQ(texts[6].x, (1100 + 1248) / 2 - 28);
    EXPECT_EQ(texts[6].y, 752);
    EXPECT_EQ(texts[7].x, 1062);
    EXPECT_EQ(texts[7].y, 624);
}

TEST(ProfilePlot, CurveVerticesOnTheScalePixels) {
    // A sine over 401 positions, drawn into panel 8 (268..416, 344..444).
    std::vector<double> pos, val;
    for (int k = 0; k < 401; ++k) {
        pos.push_back(-50.0 + 0.25 * k);
        val.push_back(40.0 * std::sin(pos.back() / 7.0) + 3.0);
    }
    const std::vector<packed_colour> got = PLOT(8, pos, val);
    double lo = 9.0, hi = -9.0e9;
    for (double v : val) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    std::vector<std::pair<int, int>> run;
    for (std::size_t k = 0; k < pos.size(); ++k) {
        const int px = 268 + static_cast<int>((pos[k] + 50.0) / 100.0 * 148.0);
        const int py = 444 - static_cast<int>((val[k] - lo) / (hi - lo) * 100.0);
        run.emplace_back(px, py);
    }
    EXPECT_EQ(run.front().first, 268);
    EXPECT_EQ(run.back().first, 416);
    const std::vector<packed_colour> expected = EXPECTED_CURVE(panel_table[7], {run});
    for (const auto& [x, y] : run) EXPECT_EQ(got[static_cast<std::size_t>(y - 1) * page_width + x - 1], red);
    EXPECT_TRUE(got == expected);
}

TEST(ProfilePlot, AllZeroValuesGiveTheTinySymmetricAxis) {
    FRESH_PAGE();
    const std::vector<double> pos = {0.0, 1.0, 2.0, 3.0}, val(4, 0.0);
    VPLOT1X(1, 4, pos.data(), val.data(), "X", "Bx (Gs)", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[3].text, "0.100E-11");
    EXPECT_EQ(texts[4].text, "0.000E+00");
    EXPECT_EQ(texts[5].text, "-.100E-11");
    // A horizontal line 50 pixels above the bottom edge, the whole panel width, nothing else.
    EXPECT_EQ(COUNT(red, 60, 98, 208, 98), 149);
    EXPECT_EQ(COUNT_PAGE(red), 149);
}

TEST(ProfilePlot, ValueAxisNeverStartsAboveNine) {
    FRESH_PAGE();
    const std::vector<double> pos = {0.0, 1.0, 2.0}, val = {20.0, 30.0, 25.0};
    VPLOT1X(2, 3, pos.data(), val.data(), "X", "Ey (V/cm)", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[3].text, "0.300E+02");
    EXPECT_EQ(texts[5].text, "0.900E+01");
    // Panel 2 (268..416, 48..148): the curve lies above the bottom edge.
    const int py0 = 148 - static_cast<int>((20.0 - 9.0) / 21.0 * 100.0);
    EXPECT_EQ(PAGE_PIXEL(268, py0), red);
    EXPECT_EQ(COUNT(red, 268, 148 - 40, 416, 148), 0);
    EXPECT_EQ(PAGE_PIXEL(342, 48), red);
}

TEST(ProfilePlot, DecreasingPositionsRunRightToLeftOfTheNumbers) {
    FRESH_PAGE();
    const std::vector<double> pos = {10.0, 5.0, 0.0}, val = {0.0, 10.0, 0.0};
    VPLOT1X(1, 3, pos.data(), val.data(), "X", "Ex", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].text, "  10.000");
    EXPECT_EQ(texts[1].text, "   5.000");
    EXPECT_EQ(texts[2].text, "   0.000");
    EXPECT_EQ(PAGE_PIXEL(60, 148), red);   // pos(1) on the left edge
    EXPECT_EQ(PAGE_PIXEL(134, 48), red);   // the top of the peak
    EXPECT_EQ(PAGE_PIXEL(208, 148), red);  // pos(n) on the right edge
}

TEST(ProfilePlot, OddDivisionsLeaveTheLastEdgeWithoutANumber) {
    FRESH_PAGE();
    panel_table[0].ndiv_x = 3;
    panel_table[0].ndiv_y = 5;
    const std::vector<double> pos = {0.0, 3.0}, val = {0.0, 5.0};
    VPLOT1X(1, 2, pos.data(), val.data(), "X", "Ex", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 2u + 3u + 2u);
    EXPECT_EQ(texts[0].text, "   0.000");
    EXPECT_EQ(texts[1].text, "   2.000");
    EXPECT_EQ(texts[1].x, 60 + 2 * 49 - 10);
    EXPECT_EQ(texts[2].text, "0.500E+01");
    EXPECT_EQ(texts[3].text, "0.300E+01");
    EXPECT_EQ(texts[3].y, 48 + 2 * 20 - 4);
    EXPECT_EQ(texts[4].text, "0.100E+01");
}

TEST(ProfilePlotGuards, ConstantValueIsDrawnThroughTheMiddle) {
    FRESH_PAGE();
    const std::vector<double> pos = {0.0, 1.0, 2.0}, val(3, 5.0);
    VPLOT1X(1, 3, pos.data(), val.data(), "X", "Ex", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[3].text, "0.500E+01");
    EXPECT_EQ(texts[4].text, "0.500E+01");
    EXPECT_EQ(texts[5].text, "0.500E+01");
    EXPECT_EQ(COUNT(red, 60, 98, 208, 98), 149);
    EXPECT_EQ(COUNT_PAGE(red), 149);
}

TEST(ProfilePlotGuards, ValuesAllNineAreAZeroRangeToo) {
    FRESH_PAGE();
    const std::vector<double> pos = {0.0, 1.0}, val = {9.0, 9.0};
    VPLOT1X(1, 2, pos.data(), val.data(), "X", "Ex", red);
    EXPECT_EQ(TEXTS()[4].text, "0.900E+01");
    EXPECT_EQ(COUNT_PAGE(red), 149);
}

TEST(ProfilePlotGuards, ZeroPositionRange) {
    FRESH_PAGE();
    const double pos1[1] = {3.0}, val1[1] = {2.0};
    VPLOT1X(1, 1, pos1, val1, "X", "Ex", red);
    std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].text, "   3.000");
    EXPECT_EQ(texts[2].text, "   3.000");
    EXPECT_EQ(COUNT_PAGE(red), 0);  // one point is no line

    // pos(1) = pos(n): both ends in the middle column, a point between them far away.
    FRESH_PAGE();
    const double pos3[3] = {0.0, 2.0, 0.0}, val3[3] = {0.0, 1.0, 2.0};
    VPLOT1X(1, 3, pos3, val3, "X", "Ex", red);
    EXPECT_EQ(PAGE_PIXEL(134, 148), red);
    EXPECT_EQ(PAGE_PIXEL(134, 48), red);
    EXPECT_EQ(COUNT(red, 60, 48, 133, 148), 0);
}

TEST(ProfilePlotGuards, NonFinitePointsBreakTheCurve) {
    const std::vector<double> pos = {0.0, 1.0, 2.0, 3.0, 4.0}, val = {0.0, 4.0, nan, 4.0, 0.0};
    const std::vector<packed_colour> got = PLOT(1, pos, val);
    // Range 0..4 from the finite points; 37 pixels a unit across, 25 down.
    const std::vector<packed_colour> expected =
        EXPECTED_CURVE(panel_table[0], {{{60, 148}, {97, 48}}, {{171, 48}, {208, 148}}});
    EXPECT_TRUE(got == expected);

    // A position that is not finite leaves its point out as well, and does not set x_lo.
    const std::vector<double> pos2 = {-inf, 0.0, 1.0, 2.0}, val2 = {1.0, 0.0, 2.0, 0.0};
    const std::vector<packed_colour> got2 = PLOT(1, pos2, val2);
    EXPECT_TRUE(got2 == EXPECTED_CURVE(panel_table[0], {{{60, 148}, {134, 48}, {208, 148}}}));
}

TEST(ProfilePlotGuards, NoFiniteValueGivesTheAllZeroAxisAndNoCurve) {
    FRESH_PAGE();
    const std::vector<double> pos = {0.0, 1.0, 2.0}, val(3, nan);
    VPLOT1X(1, 3, pos.data(), val.data(), "X", "Ex", red);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0].text, "   0.000");
    EXPECT_EQ(texts[2].text, "   2.000");
    EXPECT_EQ(texts[3].text, "0.100E-11");
    EXPECT_EQ(texts[5].text, "-.100E-11");
    EXPECT_EQ(COUNT_PAGE(red), 0);
}

TEST(ProfilePlotGuards, FarPointIsCutNotWrappedIntoThePanel) {
    // Range 0..2 both ways; the third point lies 3.7e7 pixels right of the panel.
    const std::vector<double> pos = {0.0, 1.0, 1e6, 2.0}, val = {0.0, 1.0, 1.0, 2.0};
    const std::vector<packed_colour> got = PLOT(1, pos, val);
    // In the panel: the rise to (134, 98), the level run to the right edge, and the return
    // from far right, which meets the panel only at its top-right corner.
    const std::vector<packed_colour> expected =
        EXPECTED_CURVE(panel_table[0], {{{60, 148}, {134, 98}, {208, 98}}, {{208, 48}, {208, 48}}});
    EXPECT_TRUE(got == expected);
    EXPECT_EQ(COUNT(red, 60, 48, 207, 97), 0);
}

TEST(ProfilePlotGuards, FarPointsInBothDirections) {
    const std::vector<double> pos = {0.0, -1e9, 1.0, 1e9, 2.0}, val = {1.0, 1.0, 1.0, 1.0, 3.0};
    const std::vector<packed_colour> got = PLOT(1, pos, val);
    // Range 0..2 across, 1..3 down: every level point on the bottom edge.
    EXPECT_EQ(COUNT(red, 60, 148, 208, 148), 149);
    EXPECT_EQ(COUNT(red, 60, 48, 207, 147), 0);
    EXPECT_EQ(got[static_cast<std::size_t>(48 - 1) * page_width + 208 - 1], red);
}

// Values of +-DBL_MAX: the value span overflows, the top vertex has no pixel (inf / inf), and
// the readout places no marker for it (nor converts the NaN pixel to an integer).
TEST(ProfilePlotGuards, OverflowingValueSpanPlacesNoMarker) {
    const double big = std::numeric_limits<double>::max();
    const std::vector<double> pos = {0.0, 1.0, 2.0}, val = {-big, 0.0, big};
    PLOT(1, pos, val);
    plotted_panel p;
    p.n = 3, p.pos = pos.data(), p.val = val.data();
    p.scale = PROFILE_SCALE(p.n, p.pos, p.val);
    p.frame = panel_table[0];
    EXPECT_EQ(NODE_PIXEL(p, 1).y, p.frame.iy2);
    EXPECT_FALSE(NODE_PIXEL(p, 3).shown);
}

TEST(ProfilePlotGuards, NoPointsDrawNothing) {
    FRESH_PAGE();
    const double none[1] = {0.0};
    VPLOT1X(1, 0, none, none, "X", "Ex", red);
    VPLOT1X(1, -5, none, none, "X", "Ex", red);
    EXPECT_EQ(static_cast<int>(TEXT_LOG().size()), 0);
    EXPECT_EQ(COUNT_PAGE(white), page_width * page_height);
}

// Drawing a profile before INI_GRAPH has opened the page is a fault in the order of the
// stages: debug and sanitizer builds stop at once.
TEST(StageOrderDeathTest, DrawingBeforeThePageIsOpenStops) {
    if (!ORVEX_ASSUMPTIONS_CHECKED) GTEST_SKIP() << "stage order is checked in debug and sanitizer builds";
    const double pos[2] = {0.0, 1.0}, val[2] = {1.0, 2.0};
    EXPECT_DEATH(
        {
            panel_table = {};
            VPLOT1X(1, 2, pos, val, "X", "Ex", red);
        },
        "INI_GRAPH has opened the page before a profile is drawn");
}

}  // namespace
}  // namespace orvex
