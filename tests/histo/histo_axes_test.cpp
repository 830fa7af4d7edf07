// Axis numbers and titles of the histogram graphs: number forms, LOG_TOP, the k values and
// places of each routine, the return-without-drawing rules and refused graphs.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "console/console.h"
#include "fresh_records.h"
#include "console/run_stop.h"
#include "histo/histo.h"
#include "surface/surface.h"

namespace {

struct shown {
    std::string text;
    int x, y;
    bool operator==(const shown&) const = default;
};

std::ostream& operator<<(std::ostream& out, const shown& s) {
    return out << '"' << s.text << "\" at (" << s.x << ", " << s.y << ")";
}

// Every text drawn since the surface was reset, as drawn (all its characters).
std::vector<shown> TEXTS() {
    std::vector<shown> out;
    for (int i = 0; i < static_cast<int>(orvex::TEXT_LOG().size()); ++i) {
        const orvex::text_call& c = orvex::TEXT_LOG()[static_cast<std::size_t>(i)];
        out.push_back({std::string(c.text.data(), static_cast<std::size_t>(c.length)), c.x, c.y});
    }
    return out;
}

std::string S8(const std::array<char, 8>& a) { return std::string(a.data(), a.size()); }

class HistoAxes : public orvex::testing_support::fresh_records {
protected:
    void SetUp() override {
        fresh_records::SetUp();
        orvex::SET_CONSOLE_QUIET(true);
        orvex::graph_table = {};
        // W = 200, H = 100: tick_dx 50, tick_dy 25 with 4 divisions.
        orvex::graph_table[2] = {.ix1 = 101, .ix2 = 301, .iy1 = 101, .iy2 = 201, .ndiv_x = 4, .ndiv_y = 4, .active = 1};
    }
    void TearDown() override { orvex::SET_CONSOLE_QUIET(false); }
    void DIVISIONS(int nx, int ny) {
        orvex::graph_table[2].ndiv_x = nx;
        orvex::graph_table[2].ndiv_y = ny;
    }
};

TEST(AxisNumbers, ThreeFormsAndAsterisksWhenTooWide) {
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_INTEGER(12)), "      12");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_INTEGER(-1234567)), "-1234567");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_INTEGER(123456789)), "********");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(12.0)), "     12.");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(-2.6)), "     -3.");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(1234567.0)), "1234567.");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(12345678.0)), "********");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(1e300)), "********");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(12.5)), "  12.500");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(-999.9996)), "********");  // "-1000.000"
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(9999.999)), "9999.999");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(std::nan(""))), "********");
    // Values that round to zero carry no sign.
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(0.3 - 3 * 0.1)), "   0.000");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_POINT(-0.2)), "      0.");
    EXPECT_EQ(S8(orvex::FORMAT_AXIS_FIXED3(-0.0006)), "  -0.001");
}

TEST(AxisNumbers, LogTopCountsDecades) {
    EXPECT_EQ(orvex::LOG_TOP(500), 3);
    EXPECT_EQ(orvex::LOG_TOP(1), 1);
    EXPECT_EQ(orvex::LOG_TOP(9), 1);
    EXPECT_EQ(orvex::LOG_TOP(10), 2);
    EXPECT_EQ(orvex::LOG_TOP(2147483647), 10);
    EXPECT_EQ(orvex::LOG_TOP(0), 1);
    EXPECT_EQ(orvex::LOG_TOP(-5), 1);
}

TEST_F(HistoAxes, Histo1xNumbersCountsFromTheTopWithNearestSteps) {
    orvex::HISTO1X(3, {0.0, 100.0}, "x (mm)", 10, 0x00FF00);
    const std::vector<shown> ten = {
        {"      0.", 83, 205}, {"     50.", 183, 205}, {"    100.", 283, 205},  // k = 0, 2, 4 across
        {"      10", 63, 97},  {"       5", 63, 147},  {"       0", 63, 197},   // nmax at the top
        {"x (mm)  ", 305, 193}, {"Counts", 65, 85}};
    EXPECT_EQ(TEXTS(), ten);
    EXPECT_EQ(orvex::TEXT_LOG()[0].colour, 0x00FF00u);
    // Numbers and titles alike are in the 12-pixel font.
    const int font = orvex::SELECT_FONT("t'Arial'h12w4");
    for (int i = 0; i < 8; ++i) EXPECT_EQ(orvex::TEXT_LOG()[static_cast<std::size_t>(i)].font, font);
    orvex::RESET_SURFACE();
    orvex::HISTO1X(3, {0.0, 100.0}, "x (mm)", 9, 0x00FF00);
    const std::vector<shown> texts = TEXTS();
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[3].text, "       9");
    EXPECT_EQ(texts[4].text, "       4");  // 9 - nearest(4.5), halves away from zero
    EXPECT_EQ(texts[5].text, "       0");
    // The axis routines leave the whole page as clip and the colour set.
    EXPECT_EQ(orvex::DRAWING_STATE().clip_x1, 1);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_y2, 800);
    EXPECT_EQ(orvex::DRAWING_STATE().draw_colour, 0x00FF00u);
}

TEST_F(HistoAxes, Histo1xNeedsActiveOthersIgnoreIt) {
    orvex::graph_table[2].active = 0;
    orvex::SET_CLIP_RECT(5, 5, 10, 10);
    orvex::HISTO1X(3, {0.0, 1.0}, "x", 10, 0);
    EXPECT_EQ(static_cast<int>(orvex::TEXT_LOG().size()), 0);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_x1, 5);  // returned before touching the surface
    // An unused graph may be left all zero: HISTO1X still returns quietly.
    orvex::HISTO1X(7, {0.0, 1.0}, "x", 10, 0);
    EXPECT_EQ(static_cast<int>(orvex::TEXT_LOG().size()), 0);
    orvex::HISTO1Y(3, {0.0, 1.0}, "y", 10, 0);
    EXPECT_EQ(static_cast<int>(orvex::TEXT_LOG().size()), 8);
}

TEST_F(HistoAxes, OneDivisionEachWay) {
    DIVISIONS(1, 1);
    orvex::HISTO1X(3, {-1.0, 1.0}, "x", 100, 0);
    const std::vector<shown> both_edges = {{"     -1.", 83, 205}, {"      1.", 283, 205}, {"     100", 63, 97},
                                           {"       0", 63, 197}, {"x       ", 305, 193}, {"Counts", 65, 85}};
    EXPECT_EQ(TEXTS(), both_edges);
    orvex::RESET_SURFACE();
    orvex::HISTO1Y(3, {-1.0, 1.0}, "y", 100, 0);
    orvex::LISTO1X(3, {-1.0, 1.0}, "x", 100, 0);
    orvex::HISTO2D(3, {-1.0, 1.0}, {-1.0, 1.0}, "x", "y", 0);
    EXPECT_EQ(static_cast<int>(orvex::TEXT_LOG().size()), 0);
}

TEST_F(HistoAxes, OneDivisionOnOneAxisNumbersOnlyItsFirstEdge) {
    DIVISIONS(1, 4);
    orvex::HISTO2D(3, {0.0, 2.0}, {-1.0, 1.0}, "x", "y", 0);
    const std::vector<shown> one_across = {{"   0.000", 83, 205},  {"   1.000", 63, 97},
                                           {"   0.000", 63, 147},  {"  -1.000", 63, 197},
                                           {"x                   ", 305, 193},
                                           {"y                   ", 65, 85}};
    EXPECT_EQ(TEXTS(), one_across);
    orvex::RESET_SURFACE();
    DIVISIONS(4, 1);
    orvex::LISTO1X(3, {0.0, 2.0}, "x", 500, 0);
    const std::vector<shown> one_down = {{"   0.000", 83, 205}, {"   1.000", 183, 205}, {"   2.000", 283, 205},
                                         {"   3.000", 63, 97},  {"x       ", 305, 193}, {"Log-10 (counts)", 65, 85}};
    EXPECT_EQ(TEXTS(), one_down);
}

TEST_F(HistoAxes, OddDivisionsLeaveTheLastEdgeUnnumbered) {
    DIVISIONS(3, 5);  // tick_dx 66, tick_dy 20
    orvex::HISTO1X(3, {0.0, 3.0}, "x", 50, 0);
    const std::vector<shown> texts = TEXTS();
    const std::vector<shown> expected = {{"      0.", 83, 205}, {"      2.", 215, 205}, {"      50", 63, 97},
                                         {"      30", 63, 137}, {"      10", 63, 177}, {"x       ", 305, 193},
                                         {"Counts", 65, 85}};
    EXPECT_EQ(texts, expected);
}

TEST_F(HistoAxes, ListoLogTopAndBinsUpCountsAcross) {
    orvex::LISTO1X(3, {0.0, 4.0}, "x", 500, 0);
    std::vector<shown> t = TEXTS();
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[3].text, "   3.000");
    EXPECT_EQ(t[4].text, "   1.500");
    EXPECT_EQ(t[5].text, "   0.000");
    EXPECT_EQ(t[7], (shown{"Log-10 (counts)", 65, 85}));
    // No logarithm for nmax 0: the axis shows one decade.
    orvex::RESET_SURFACE();
    orvex::LISTO1X(3, {0.0, 4.0}, "x", 0, 0);
    t = TEXTS();
    ASSERT_EQ(t.size(), 8u);
    EXPECT_EQ(t[3].text, "   1.000");
    EXPECT_EQ(t[5].text, "   0.000");
    // HISTO1Y: counts from 0 at the left edge to nmax at the right edge, bins from ylim[1] at the top.
    orvex::RESET_SURFACE();
    orvex::HISTO1Y(3, {-2.0, 2.0}, "a long y title", 10, 0);
    const std::vector<shown> up = {{"   0.000", 83, 205},  {"   5.000", 183, 205}, {"  10.000", 283, 205},
                                   {"   2.000", 63, 97},   {"   0.000", 63, 147},  {"  -2.000", 63, 197},
                                   {"Counts", 305, 193},   {"a long y", 65, 85}};
    EXPECT_EQ(TEXTS(), up);
}

TEST_F(HistoAxes, NmaxZeroDrawsTheNumbersItCan) {
    orvex::HISTO1X(3, {0.0, 1.0}, "x", 0, 0);
    const std::vector<shown> t = TEXTS();
    ASSERT_EQ(t.size(), 8u);
    for (int i = 3; i < 6; ++i) EXPECT_EQ(t[static_cast<std::size_t>(i)].text, "       0");
}

TEST_F(HistoAxes, BadGraphsStopBeforeDrawing) {
    EXPECT_THROW(orvex::HISTO1X(0, {0.0, 1.0}, "x", 1, 0), orvex::run_stop);
    EXPECT_THROW(orvex::HISTO2D(11, {0.0, 1.0}, {0.0, 1.0}, "x", "y", 0), orvex::run_stop);
    EXPECT_THROW(orvex::SELECT_G(4, 0), orvex::run_stop);  // entry never set up
    DIVISIONS(4, 0);
    EXPECT_THROW(orvex::HISTO1Y(3, {0.0, 1.0}, "y", 1, 0), orvex::run_stop);
    DIVISIONS(201, 4);  // more divisions than the 200 pixels across
    EXPECT_THROW(orvex::HISTO2D(3, {0.0, 1.0}, {0.0, 1.0}, "x", "y", 0), orvex::run_stop);
    DIVISIONS(4, 4);
    orvex::graph_table[2].ix2 = 1281;
    try {
        orvex::LISTO1X(3, {0.0, 1.0}, "x", 1, 0);
        FAIL() << "no stop";
    } catch (const orvex::run_stop& stop) {
        EXPECT_EQ(stop.message.rfind("LISTO1X: graph 3 ", 0), 0u) << stop.message;
    }
    EXPECT_EQ(static_cast<int>(orvex::TEXT_LOG().size()), 0);
}

TEST_F(HistoAxes, SelectGraphConfinesDrawing) {
    orvex::SELECT_G(3, 0x123456);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_x1, 101);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_x2, 301);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_y1, 101);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_y2, 201);
    EXPECT_EQ(orvex::DRAWING_STATE().draw_colour, 0x123456u);
}

}  // namespace
