// probe_test.cpp: where a probe reads the map (a segment's points as numpy.linspace places them,
// their distances, a circle's points) and what it reads there (each field's three components in
// order, NaN outside), against closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "analytic_grid.h"
#include "field/probe.h"
#include "field/unfold.h"

namespace orvex {
namespace {

TEST(Probe, SegmentAndCirclePointsFollowTheirClosedForms) {
    const point3 from{0.1, -0.3, -7.0}, to{0.7, 0.2, 11.0};
    const std::vector<point3> line = SEGMENT_POINTS(from, to, 7);
    const std::vector<double> s = SEGMENT_POSITIONS(from, to, 7);
    ASSERT_EQ(line.size(), 7u);
    ASSERT_EQ(s.size(), 7u);
    EXPECT_EQ(line.front(), from);
    EXPECT_EQ(line.back(), to);  // exactly, as numpy.linspace ends
    const double length = std::sqrt(0.6 * 0.6 + 0.5 * 0.5 + 18.0 * 18.0);
    for (std::size_t k = 0; k < 7; ++k) {
        const double t = static_cast<double>(k) / 6.0;
        EXPECT_NEAR(line[k][0], 0.1 + 0.6 * t, 1e-15);
        EXPECT_NEAR(line[k][1], -0.3 + 0.5 * t, 1e-15);
        EXPECT_NEAR(line[k][2], -7.0 + 18.0 * t, 1e-14);
        // The position is the distance from the first point.
        EXPECT_NEAR(s[k], std::hypot(line[k][0] - from[0], line[k][1] - from[1], line[k][2] - from[2]), 1e-13);
    }
    EXPECT_EQ(s.back(), length);
    EXPECT_EQ(SEGMENT_POINTS(from, from, 2), (std::vector<point3>{from, from}));

    const std::vector<point3> circle = CIRCLE_POINTS(1.25, 3.5, 8);
    ASSERT_EQ(circle.size(), 8u);
    EXPECT_EQ(circle[0], (point3{1.25, 0.0, 3.5}));
    for (std::size_t k = 0; k < 8; ++k) {
        EXPECT_NEAR(std::hypot(circle[k][0], circle[k][1]), 1.25, 1e-15);
        EXPECT_NEAR(std::atan2(circle[k][1], circle[k][0]), std::remainder(std::numbers::pi * static_cast<double>(k) / 4.0, 2.0 * std::numbers::pi), 1e-14);
        EXPECT_EQ(circle[k][2], 3.5);
    }
    EXPECT_EQ(CIRCLE_POINTS(2.0, 0.0, 1), (std::vector<point3>{{2.0, 0.0, 0.0}}));
}

// The writer's two-field map: on a node each field reads that node, in field order, by both
// rules; between nodes both rules stay near the analytic field; outside every value is NaN.
TEST(Probe, ReadsEachFieldInOrderAndNothingOutside) {
    const mapgen::map_recipe recipe = testing::MAP(2, 1, 1, 0);
    testing::LOAD_ANALYTIC(recipe);
    UNFOLD_GRID();
    const full_map& m = field_grid.full;
    const std::array<component_triple, 2> both{FIELD_TRIPLE(m, 1), FIELD_TRIPLE(m, 0)};
    double v[6];
    for (const interpolation rule : {interpolation::linear, interpolation::cubic}) {
        const point3 node{m.x[30], m.y[7], m.z[100]};
        ASSERT_TRUE(PROBE_AT(m, rule, node, both, v));
        const std::array<double, 6> f = testing::FIELD(recipe, node[0], node[1], node[2]);
        const std::size_t at = FULL_INDEX(31, 8, 101);
        EXPECT_EQ(v[0], m.bx_full[at]);
        EXPECT_EQ(v[2], m.bz_full[at]);
        EXPECT_EQ(v[4], m.ey_full[at]);
        EXPECT_NEAR(v[3], f[0], 1e-9 * std::fabs(f[0]));
        const point3 between{0.3 * m.dx + m.x[30], 0.6 * m.dy + m.y[7], 0.2 * m.dz + m.z[100]};
        ASSERT_TRUE(PROBE_AT(m, rule, between, both, v));
        const std::array<double, 6> g = testing::FIELD(recipe, between[0], between[1], between[2]);
        EXPECT_NEAR(v[5], g[2], 1e-3 * std::fabs(g[2]));  // Ez: smooth on the scale of a cell
        EXPECT_NEAR(v[1], g[4], 1e-3 * std::fabs(g[4]));  // By
        EXPECT_FALSE(PROBE_AT(m, rule, {m.xmax, m.ymin, m.zmax + 1e-6 * m.dz}, both, v));
        for (const double value : v) EXPECT_TRUE(std::isnan(value));
    }
}

}  // namespace
}  // namespace orvex
