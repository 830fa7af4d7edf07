// pen_test.cpp: polylines through far-off and missing points: near segments are the surface's
// own lines, far ones are cut in double precision and never wrap, missing points break the line.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "surface/pen.h"
#include "surface/surface.h"

namespace orvex {
namespace {

constexpr packed_colour ink = 0x0000FF;
constexpr double nan = std::numeric_limits<double>::quiet_NaN();
constexpr double inf = std::numeric_limits<double>::infinity();
constexpr pixel_box graph_box{-16000.0, -16000.0, 16000.0, 16000.0};

void FRESH_PAGE() {
    RESET_SURFACE();
    SET_DRAW_COLOUR(ink);
}

// Pixels in ink inside the rectangle, corners included.
int COUNT(int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = y1; y <= y2; ++y) {
        for (int x = x1; x <= x2; ++x) n += PAGE_PIXEL(x, y) == ink;
    }
    return n;
}

int COUNT_PAGE() { return COUNT(1, 1, page_width, page_height); }

TEST(Pen, NearPointsDrawTheSurfacesOwnLines) {
    FRESH_PAGE();
    MOVE_TO(10, 20);
    LINE_TO(300, 211);
    LINE_TO(-5000, 700);
    const std::vector<packed_colour> expected(PAGE_PIXELS().begin(), PAGE_PIXELS().end());
    FRESH_PAGE();
    pen p;
    PEN_MOVE(p, 10.0, 20.0);
    PEN_LINE(p, 300.0, 211.0);
    PEN_LINE(p, -5000.0, 700.0);
    EXPECT_TRUE(std::ranges::equal(PAGE_PIXELS(), expected));
    EXPECT_EQ(DRAWING_STATE().current_x, -5000);
    EXPECT_EQ(DRAWING_STATE().current_y, 700);
    // Both ends near: drawn whole even where it leaves the cut box.
    FRESH_PAGE();
    pen boxed{.near = coord_box, .cut = {50.0, 50.0, 150.0, 150.0}};
    PEN_MOVE(boxed, 1.0, 1.0);
    PEN_LINE(boxed, 300.0, 300.0);
    EXPECT_EQ(COUNT_PAGE(), 300);
}

TEST(Pen, FarPointIsCutAndNeverWrapsIntoThePage) {
    // 65736 would read as 200 in 16 bits.
    FRESH_PAGE();
    pen p;
    PEN_MOVE(p, 100.0, 150.0);
    PEN_LINE(p, 65736.0, 150.0);
    EXPECT_EQ(COUNT(100, 150, page_width, 150), page_width - 99);
    EXPECT_EQ(COUNT_PAGE(), page_width - 99);
    // Back from far off to a near point: the near point is where the next segment starts.
    PEN_LINE(p, 400.0, 400.0);
    PEN_LINE(p, 400.0, 500.0);
    EXPECT_EQ(COUNT(400, 401, 400, 500), 100);
    EXPECT_EQ(DRAWING_STATE().current_x, 400);
    EXPECT_EQ(DRAWING_STATE().current_y, 500);
    // A far segment is cut to the cut box, here a panel and its margin.
    FRESH_PAGE();
    pen boxed{.near = coord_box, .cut = {48.0, 48.0, 152.0, 152.0}};
    PEN_MOVE(boxed, 100.0, 100.0);
    PEN_LINE(boxed, 100.0, 1e12);
    EXPECT_EQ(COUNT(100, 100, 100, 152), 53);
    EXPECT_EQ(COUNT_PAGE(), 53);
}

TEST(Pen, NextSegmentStartsAtTheNearPointNotAtTheCutEnd) {
    // -1e17 + (100 + 1e17) is 96 in double precision: the cut segment ends there, but the
    // next one starts from 100.
    FRESH_PAGE();
    pen p{.near = graph_box, .cut = graph_box};
    PEN_MOVE(p, -1e17, 300.0);
    PEN_LINE(p, 100.0, 300.0);
    PEN_LINE(p, 100.0, 400.0);
    EXPECT_EQ(COUNT(100, 301, 100, 400), 100);
    EXPECT_EQ(COUNT(1, 301, 99, 400), 0);
}

TEST(Pen, EndsWhoseDistanceOverflowsDrawNothing) {
    FRESH_PAGE();
    pen p;
    PEN_MOVE(p, -1.5e308, 300.0);
    PEN_LINE(p, 1.5e308, 300.0);
    EXPECT_EQ(COUNT_PAGE(), 0);
    EXPECT_EQ(DRAWING_STATE().current_x, 1);  // never moved
    EXPECT_EQ(DRAWING_STATE().current_y, 1);
}

TEST(Pen, PointsThatAreNotFiniteBreakTheLine) {
    for (const double missing : {nan, inf, -inf}) {
        FRESH_PAGE();
        pen p{.near = graph_box, .cut = graph_box};
        PEN_MOVE(p, 100.0, 100.0);
        PEN_LINE(p, 200.0, 100.0);
        PEN_LINE(p, missing, 100.0);
        PEN_LINE(p, 300.0, 100.0);
        PEN_LINE(p, 400.0, 100.0);
        PEN_LINE(p, 500.0, missing);
        EXPECT_EQ(COUNT(100, 100, 200, 100), 101) << missing;
        EXPECT_EQ(COUNT(300, 100, 400, 100), 101) << missing;
        EXPECT_EQ(COUNT_PAGE(), 202) << missing;
        EXPECT_EQ(DRAWING_STATE().current_x, 400) << missing;
        // The line goes on at the next finite point.
        PEN_LINE(p, 500.0, 200.0);
        EXPECT_EQ(DRAWING_STATE().current_x, 500) << missing;
        EXPECT_EQ(DRAWING_STATE().current_y, 200) << missing;
        EXPECT_EQ(COUNT_PAGE(), 202) << missing;
    }
}

}  // namespace
}  // namespace orvex
