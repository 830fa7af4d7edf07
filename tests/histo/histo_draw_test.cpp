// Drawing into a graph: histogram polylines with linear and log counts, the 2-D pixels and
// their console records, grid lines, the Twiss ellipse, clipping and refused calls.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <algorithm>
#include <vector>

#include "console/console.h"
#include "fresh_records.h"
#include "console/run_stop.h"
#include "histo/histo.h"
#include "surface/surface.h"

namespace {

using orvex::PAGE_PIXEL;

constexpr orvex::packed_colour ink = 0x0000FF;

std::array<std::int32_t, orvex::count2d_capacity> cells;  // 7.7 MB, static

// The pixels drawn (not black) on the whole page.
struct drawn {
    int count = 0;
    int x_min = 100000, x_max = -1, y_min = 100000, y_max = -1;
};

drawn DRAWN() {
    drawn d;
    for (int y = 1; y <= orvex::page_height; ++y) {
        for (int x = 1; x <= orvex::page_width; ++x) {
            if (PAGE_PIXEL(x, y) == 0) continue;
            ++d.count;
            d.x_min = std::min(d.x_min, x);
            d.x_max = std::max(d.x_max, x);
            d.y_min = std::min(d.y_min, y);
            d.y_max = std::max(d.y_max, y);
        }
    }
    return d;
}

class HistoDraw : public orvex::testing_support::fresh_records {
protected:
    void SetUp() override {
        fresh_records::SetUp();
        orvex::SET_CONSOLE_QUIET(true);
        orvex::graph_table = {};
        // W = 200, H = 100.
        orvex::graph_table[0] = {.ix1 = 101, .ix2 = 301, .iy1 = 101, .iy2 = 201, .ndiv_x = 4, .ndiv_y = 4, .active = 1};
        // W = 200, H = 300.
        orvex::graph_table[1] = {.ix1 = 401, .ix2 = 601, .iy1 = 101, .iy2 = 401, .ndiv_x = 4, .ndiv_y = 3, .active = 1};
        // W = 200, H = 200.
        orvex::graph_table[2] = {.ix1 = 701, .ix2 = 901, .iy1 = 101, .iy2 = 301, .ndiv_x = 4, .ndiv_y = 4, .active = 1};
    }
    void TearDown() override { orvex::SET_CONSOLE_QUIET(false); }
    void EXPECT_LEFT_ON_GRAPH(int g, orvex::packed_colour colour) {
        const orvex::graph_record& r = orvex::graph_table[static_cast<std::size_t>(g - 1)];
        EXPECT_EQ(orvex::DRAWING_STATE().clip_x1, r.ix1);
        EXPECT_EQ(orvex::DRAWING_STATE().clip_x2, r.ix2);
        EXPECT_EQ(orvex::DRAWING_STATE().clip_y1, r.iy1);
        EXPECT_EQ(orvex::DRAWING_STATE().clip_y2, r.iy2);
        EXPECT_EQ(orvex::DRAWING_STATE().draw_colour, colour);
    }
    std::array<double, 10> xbin{};
    std::array<std::int32_t, 10> count{};
    void BOOK(const std::vector<double>& x) { orvex::HFILL1X(x, {0.0, 10.0}, 10, xbin, count); }
};

TEST_F(HistoDraw, EmptyBinsLieOnTheBottomEdgeFromFirstToLastCentre) {
    BOOK({});
    orvex::HPLOT1X(1, {0.0, 10.0}, 10, xbin, count, 10, ink);
    const drawn d = DRAWN();
    // Centres 0.5 and 9.5 of 0..10 over W = 200 map to 101 + 10 and 101 + 190.
    EXPECT_EQ(d.count, 181);
    EXPECT_EQ(d.x_min, 111);
    EXPECT_EQ(d.x_max, 291);
    EXPECT_EQ(d.y_min, 201);
    EXPECT_EQ(d.y_max, 201);
    EXPECT_EQ(orvex::DRAWING_STATE().current_x, 291);  // at the last point drawn
    EXPECT_LEFT_ON_GRAPH(1, ink);
}

TEST_F(HistoDraw, CountsAboveNmaxAreCutAtTheTop) {
    BOOK({0.5, 1.5, 1.5, 1.5, 1.5, 2.5, 2.5});  // 1, 4, 2 counts
    orvex::HPLOT1X(1, {0.0, 10.0}, 10, xbin, count, 2, ink);
    const drawn d = DRAWN();
    EXPECT_EQ(d.y_min, 101);  // the border, not beyond
    EXPECT_EQ(d.x_min, 111);
    EXPECT_EQ(d.x_max, 291);
    EXPECT_EQ(PAGE_PIXEL(111, 151), ink);  // 1 of 2 counts: half way up
    EXPECT_EQ(PAGE_PIXEL(151, 101), ink);  // 2 counts: the top edge
    // The peak of 4 counts (at 131, 200 pixels up) is cut away: the rise from (111, 151) leaves
    // through the top edge near x = 117.7 and the fall comes back at (151, 101).
    std::vector<int> top_row;
    for (int x = 112; x < 151; ++x) {
        if (PAGE_PIXEL(x, 101) != 0) top_row.push_back(x);
    }
    ASSERT_EQ(top_row.size(), 1u);
    EXPECT_NEAR(top_row[0], 117.7, 0.5);
}

TEST_F(HistoDraw, FarCountsKeepTheirLineInsteadOfWrapping) {
    // 2e9 counts over nmax 1 would put the peak 2e11 pixels up: far beyond 16-bit coordinates.
    count.fill(0);
    count[1] = 2000000000;
    for (int i = 0; i < 10; ++i) xbin[static_cast<std::size_t>(i)] = 0.5 + i;
    orvex::HPLOT1X(1, {0.0, 10.0}, 10, xbin, count, 1, ink);
    const drawn d = DRAWN();
    // The rise from (111, 201) and the fall to (151, 201) are all but vertical lines.
    EXPECT_EQ(PAGE_PIXEL(111, 150), ink);
    EXPECT_EQ(PAGE_PIXEL(111, 101), ink);
    EXPECT_EQ(PAGE_PIXEL(151, 150), ink);
    EXPECT_EQ(PAGE_PIXEL(131, 150), 0u);
    EXPECT_EQ(d.y_min, 101);
    EXPECT_EQ(d.count, 101 + 101 + 140);  // two columns and the bottom from 152 to 291
}

TEST_F(HistoDraw, NmaxZeroPutsCountsOnTheZeroEdge) {
    BOOK({0.5, 1.5, 1.5});
    orvex::HPLOT1X(1, {0.0, 10.0}, 10, xbin, count, 0, ink);
    drawn d = DRAWN();
    EXPECT_EQ(d.y_min, 201);
    EXPECT_EQ(d.count, 181);
    orvex::RESET_SURFACE();
    orvex::HPLOT1Y(1, {0.0, 10.0}, 10, xbin, count, 0, ink);
    d = DRAWN();
    EXPECT_EQ(d.x_min, 101);
    EXPECT_EQ(d.x_max, 101);
}

TEST_F(HistoDraw, BinsRunningUpHaveTheirCountsFromTheLeftEdge) {
    BOOK({0.5, 0.5, 0.5, 0.5, 9.5, 9.5});
    orvex::HPLOT1Y(1, {0.0, 10.0}, 10, xbin, count, 4, ink);
    // Bin 1 (centre 0.5, 4 counts) at the right edge, 5 pixels up; bin 10 half way across, near the top.
    EXPECT_EQ(PAGE_PIXEL(301, 196), ink);
    EXPECT_EQ(PAGE_PIXEL(201, 106), ink);
    EXPECT_EQ(PAGE_PIXEL(101, 150), ink);  // empty bins on the left edge
    EXPECT_EQ(orvex::DRAWING_STATE().current_x, 201);
    EXPECT_EQ(orvex::DRAWING_STATE().current_y, 106);
    EXPECT_LEFT_ON_GRAPH(1, ink);
}

TEST_F(HistoDraw, LogCountsRiseOneDecadeInLogTopSteps) {
    // Graph 2 has H = 300; nmax 500 gives three decades.
    std::vector<double> x;
    for (int k = 0; k < 10; ++k) x.push_back(1.5);
    for (int k = 0; k < 100; ++k) x.push_back(3.5);
    x.push_back(5.5);
    BOOK(x);
    count[7] = -4;  // no logarithm: drawn like an empty bin
    orvex::LPLOT1X(2, {0.0, 10.0}, 10, xbin, count, 500, ink);
    const int iy2 = 401;
    EXPECT_EQ(PAGE_PIXEL(401 + 30, iy2 - 100), ink);  // 10 counts: one third up
    EXPECT_EQ(PAGE_PIXEL(401 + 70, iy2 - 200), ink);  // 100 counts: two thirds up
    EXPECT_EQ(PAGE_PIXEL(401 + 10, iy2), ink);        // 0 counts
    EXPECT_EQ(PAGE_PIXEL(401 + 110, iy2), ink);       // 1 count
    EXPECT_EQ(PAGE_PIXEL(401 + 150, iy2), ink);       // -4 counts
    EXPECT_EQ(DRAWN().y_min, iy2 - 200);
    EXPECT_LEFT_ON_GRAPH(2, ink);
    // nmax 0: one decade, so 10 counts reach the top edge.
    orvex::RESET_SURFACE();
    orvex::LPLOT1X(2, {0.0, 10.0}, 10, xbin, count, 0, ink);
    EXPECT_EQ(PAGE_PIXEL(401 + 30, 101), ink);
}

TEST_F(HistoDraw, TwoDimensionalCellsAreOnePixelWhateverTheirCount) {
    std::array<double, 20> xb{};
    std::array<double, 10> yb{};
    const std::vector<double> x = {0.25, 1.75, 1.25, 1.25};
    const std::vector<double> y = {0.25, 0.75, 0.55, 0.55};
    const std::vector<double> w = {1.0, 1000.0, 2.0, -5.0};  // the third cell ends at -3
    orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 1.0}, 20, 10, xb, yb, cells);
    orvex::HPLOT2D(1, {0.0, 2.0}, {0.0, 1.0}, 20, 10, xb, yb, cells, ink);
    const drawn d = DRAWN();
    EXPECT_EQ(d.count, 2);
    // Cell (3, 3), centre (0.25, 0.25): px 101 + 25, py 201 - 25.
    EXPECT_EQ(PAGE_PIXEL(126, 176), ink);
    // Cell (18, 8), centre (1.75, 0.75).
    EXPECT_EQ(PAGE_PIXEL(276, 126), ink);
    EXPECT_LEFT_ON_GRAPH(1, ink);
    const std::string expected = std::string(" di, dx = ") + orvex::FORMAT_LISTED_INTEGER(200) +
                                 orvex::FORMAT_LISTED_REAL(2.0) + "\n" + " dj, dy = " +
                                 orvex::FORMAT_LISTED_INTEGER(100) + orvex::FORMAT_LISTED_REAL(1.0) + "\n" +
                                 " xyk, kmn = " + orvex::FORMAT_LISTED_REAL(1e-4) + orvex::FORMAT_LISTED_INTEGER(0) +
                                 "\n";
    EXPECT_EQ(std::string(orvex::CONSOLE_LOG()), expected);
}

TEST_F(HistoDraw, PixelAreaOfHugeRangesIsHeldWithin32Bits) {
    std::array<double, 1> xb{}, yb{};
    orvex::HFILL2D({}, {}, {}, {0.0, 1e20}, {0.0, 1e20}, 1, 1, xb, yb, cells);
    orvex::HPLOT2D(1, {0.0, 1e20}, {0.0, 1e20}, 1, 1, xb, yb, cells, ink);
    const std::string log(orvex::CONSOLE_LOG());
    EXPECT_NE(log.find(" xyk, kmn = " + orvex::FORMAT_LISTED_REAL((1e20 / 200) * 1e20 / 100) +
                       orvex::FORMAT_LISTED_INTEGER(2147483647)),
              std::string::npos)
        << log;
}

TEST_F(HistoDraw, GridLinesAndTheirClip) {
    const std::array<double, 3> xs = {0.0, 5.0, 12.0};  // 12 lies outside the range
    const std::array<double, 2> ys = {0.0, 10.0};
    orvex::GRID2D(1, {0.0, 10.0}, {0.0, 10.0}, xs, ys, ink);
    const drawn d = DRAWN();
    EXPECT_EQ(d.x_min, 101);
    EXPECT_EQ(d.x_max, 301);
    EXPECT_EQ(d.y_min, 101);
    EXPECT_EQ(d.y_max, 201);
    EXPECT_EQ(d.count, 2 * 101 + 2 * 201 - 4);  // two verticals (left edge, middle), two horizontals
    EXPECT_EQ(PAGE_PIXEL(201, 150), ink);
    EXPECT_EQ(PAGE_PIXEL(301, 150), 0u);
    EXPECT_LEFT_ON_GRAPH(1, ink);
    orvex::RESET_SURFACE();
    orvex::GRID1X(1, {0.0, 10.0}, std::array<double, 1>{10.0}, ink);
    orvex::GRID1Y(1, {0.0, 10.0}, std::array<double, 1>{-1e300}, ink);  // far off: nothing
    EXPECT_EQ(DRAWN().count, 101);
    EXPECT_EQ(PAGE_PIXEL(301, 101), ink);
}

TEST_F(HistoDraw, UprightEllipseReachesItsHalfAxes) {
    // a = sqrt(e / gamma) = 0.5025 across, b = sqrt(e gamma) = 0.315 up, on 200 x 200 pixels
    // over (-1, 1) x (-1, 1).
    const double a = 0.5025, b = 0.315;
    orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.0, 0.0, a * b, 0.0, 1.0, b / a, 1, ink);
    const drawn d = DRAWN();
    EXPECT_EQ(d.x_min, 701 + 49);    // trunc(100 x 0.4975)
    EXPECT_EQ(d.x_max, 701 + 150);   // trunc(100 x 1.5025)
    EXPECT_EQ(d.y_min, 301 - 131);   // trunc(100 x 1.315)
    EXPECT_EQ(d.y_max, 301 - 68);    // trunc(100 x 0.685)
    EXPECT_EQ(PAGE_PIXEL(701 + 150, 301 - 100), ink);  // the start, (x0 + a, y0)
    EXPECT_LEFT_ON_GRAPH(3, ink);
    // beta takes no part.
    const std::vector<orvex::packed_colour> first(orvex::PAGE_PIXELS().begin(), orvex::PAGE_PIXELS().end());
    orvex::RESET_SURFACE();
    orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.0, 0.0, a * b, 0.0, 1000.0, b / a, 1, ink);
    EXPECT_TRUE(std::ranges::equal(orvex::PAGE_PIXELS(), first));
}

TEST_F(HistoDraw, EllipseClosesAtItsStartPixel) {
    // With alpha 1 the point of t = 2 pi lies a rounding error left of the start, which sits
    // exactly on a pixel boundary (px 701 + 150).
    orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.0, 0.0, 0.25, 1.0, 2.0, 1.0, 1, ink);
    EXPECT_EQ(orvex::DRAWING_STATE().current_x, 701 + 150);
    EXPECT_EQ(orvex::DRAWING_STATE().current_y, 301 - 100);
    // No emittance: 100 zero-length segments, one pixel at the centre.
    orvex::RESET_SURFACE();
    orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.5, -0.5, 0.25, 0.3, 2.0, 1.0, 0, ink);
    const drawn d = DRAWN();
    EXPECT_EQ(d.count, 1);
    EXPECT_EQ(PAGE_PIXEL(701 + 150, 301 - 50), ink);
}

TEST_F(HistoDraw, EllipseLargerThanTheGraphIsCut) {
    orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.8, 0.0, 1.0, 0.5, 1.0, 1.0, 4, ink);
    const drawn d = DRAWN();
    EXPECT_GT(d.count, 0);
    EXPECT_GE(d.x_min, 701);
    EXPECT_LE(d.x_max, 901);
    EXPECT_GE(d.y_min, 101);
    EXPECT_LE(d.y_max, 301);
}

TEST_F(HistoDraw, BadCallsStopBeforeDrawing) {
    BOOK({1.0});
    EXPECT_THROW(orvex::HPLOT1X(11, {0.0, 10.0}, 10, xbin, count, 10, ink), orvex::run_stop);
    EXPECT_THROW(orvex::HPLOT1X(1, {0.0, 10.0}, 0, xbin, count, 10, ink), orvex::run_stop);
    EXPECT_THROW(orvex::HPLOT1X(1, {0.0, 10.0}, 11, xbin, count, 10, ink), orvex::run_stop);  // arrays of 10
    EXPECT_THROW(orvex::LPLOT1X(1, {1.0, 1.0}, 10, xbin, count, 10, ink), orvex::run_stop);
    EXPECT_THROW(orvex::GRID1Y(5, {0.0, 1.0}, std::array<double, 1>{0.5}, ink), orvex::run_stop);
    EXPECT_THROW(orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.0, 0.0, 1.0, 0.0, 1.0, 0.0, 1, ink), orvex::run_stop);
    EXPECT_THROW(orvex::ELLIPS(3, {-1.0, 1.0}, {-1.0, 1.0}, 0.0, 0.0, -1.0, 0.0, 1.0, 1.0, 1, ink), orvex::run_stop);
    std::array<double, 1> xb{}, yb{};
    EXPECT_THROW(orvex::HPLOT2D(1, {0.0, 1.0}, {0.0, 1.0}, 1, 1201, xb, yb, cells, ink), orvex::run_stop);
    EXPECT_EQ(DRAWN().count, 0);
    EXPECT_TRUE(orvex::CONSOLE_LOG().find(" di, dx") == std::string_view::npos);
    EXPECT_EQ(orvex::DRAWING_STATE().clip_x1, 1);  // the surface was not touched
}

}  // namespace
