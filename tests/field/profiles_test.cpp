// The ten lines: their fixed indices for every count, the positions, the sampled values of the
// selected triple, and what the store keeps for the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

#include "analytic_grid.h"
#include "console/assume.h"
#include "field/field_grid.h"
#include "field/profiles.h"
#include "field/unfold.h"

namespace orvex {
namespace {

using testing::FIELD;
using testing::LOAD_ANALYTIC;
using testing::MAP;

std::vector<std::pair<int, int>> ALL_INDICES() {
    std::vector<std::pair<int, int>> out;
    for (int line = 1; line <= line_count; ++line) {
        const line_indices li = LINE_INDICES(field_grid.full, line);
        out.emplace_back(li.first, li.second);
    }
    return out;
}

// The field the tests sample and read back.
int sampled_field = 0;

void SAMPLE_ALL(int field = 0) {
    sampled_field = field;
    for (int line = 1; line <= line_count; ++line) SAMPLE_LINE(field_grid.full, field, line);
}

profile PROFILE(int line, int component) { return orvex::PROFILE(sampled_field, line, component); }

TEST(LineIndices, FixedNodesForEachCountPattern) {
    full_map& g = field_grid.full;
    using v = std::vector<std::pair<int, int>>;
    g.nx = g.ny = 49;
    g.nz = 401;
    EXPECT_EQ(ALL_INDICES(), (v{{25, 201}, {25, 201}, {25, 25}, {25, 37}, {37, 25}, {32, 37}, {37, 32},
                                {37, 37}, {41, 41}, {7, 7}}));
    g.nx = g.ny = 25;
    g.nz = 201;
    EXPECT_EQ(ALL_INDICES(), (v{{13, 101}, {13, 101}, {13, 13}, {13, 19}, {19, 13}, {17, 19}, {19, 17},
                                {19, 19}, {21, 21}, {3, 3}}));
    g.nx = 49;  // only x mirrored
    EXPECT_EQ(ALL_INDICES(), (v{{13, 101}, {25, 101}, {25, 13}, {25, 19}, {37, 13}, {32, 19}, {37, 17},
                                {37, 19}, {41, 21}, {7, 3}}));
    RESET_FIELD_GRID();
}

TEST(ProfileLines, LabelsAndTitlesFitTheirTexts) {
    for (const profile_line& l : profile_lines) {
        EXPECT_EQ(l.console_label.size(), 21u) << l.console_label;
        EXPECT_EQ(l.console_label.front(), ' ');
        EXPECT_EQ(l.console_label.back(), ' ');
        EXPECT_LE(l.axis_title.size(), 20u) << l.axis_title;
    }
}

// All mirrors: positions run symmetric about 0, and every sample equals the analytic field at
// its position (to the rounding of the positions), so a wrong index, step or component shows.
TEST(SampleLine, MirroredMapGivesSymmetricPositionsAndTheFieldAtThem) {
    for (int flag = 0; flag <= 1; ++flag) {
        const mapgen::map_recipe m = MAP(2, 1, 1, 1);
        LOAD_ANALYTIC(m);
        UNFOLD_GRID();
        SAMPLE_ALL(flag);
        const field_grid_record& g = field_grid;
        EXPECT_DOUBLE_EQ(g.full.dx, 2.0 * m.x_hi / 48.0);
        EXPECT_DOUBLE_EQ(g.full.dz, 2.0 * m.z_hi / 400.0);

        const profile px = PROFILE(1, 1), py = PROFILE(2, 1), pz = PROFILE(3, 1);
        ASSERT_EQ(px.n, 49);
        ASSERT_EQ(py.n, 49);
        ASSERT_EQ(pz.n, 401);
        EXPECT_EQ(px.pos[0], -m.x_hi);
        EXPECT_NEAR(px.pos[48], m.x_hi, 1e-14);
        EXPECT_NEAR(px.pos[24], 0.0, 1e-14);
        for (int i = 0; i < 49; ++i) EXPECT_NEAR(px.pos[i], -px.pos[48 - i], 1e-14);
        for (int k = 0; k < 401; ++k) EXPECT_NEAR(pz.pos[k], -pz.pos[400 - k], 1e-12);

        for (int line = 1; line <= line_count; ++line) {
            const line_indices li = LINE_INDICES(field_grid.full, line);
            for (int c = 1; c <= 3; ++c) {
                const profile p = PROFILE(line, c);
                for (int n = 0; n < p.n; ++n) {
                    double x = 0, y = 0, z = 0;
                    if (line == 1) x = p.pos[n], y = py.pos[li.first - 1], z = pz.pos[li.second - 1];
                    else if (line == 2) x = px.pos[li.first - 1], y = p.pos[n], z = pz.pos[li.second - 1];
                    else x = px.pos[li.first - 1], y = py.pos[li.second - 1], z = p.pos[n];
                    ASSERT_NEAR(p.val[n], FIELD(m, x, y, z)[static_cast<std::size_t>(3 * flag + c - 1)], 1e-9)
                        << "line " << line << " component " << c << " node " << n + 1;
                }
            }
        }
    }
}

// Lines 4 to 10 share line 3's positions; each line keeps its own values for the run.
TEST(SampleLine, StoreKeepsEveryLineAndSharesTheZPositions) {
    mapgen::map_recipe m = MAP(0, 0, 0, 0);
    m.x_lo = 1.0;  // an unmirrored range not centred on 0
    m.x_hi = 3.0;
    LOAD_ANALYTIC(m);
    const field_grid_record& g = field_grid;
    UNFOLD_GRID();
    SAMPLE_ALL();
    EXPECT_EQ(PROFILE(1, 1).pos[12], 2.0);  // the centre node is the middle of the stored range
    const double first = PROFILE(3, 3).val[150];
    for (int line = 4; line <= line_count; ++line) {
        EXPECT_EQ(PROFILE(line, 1).pos, PROFILE(3, 1).pos);
        EXPECT_EQ(PROFILE(line, 2).n, 201);
        for (int other = 3; other < line; ++other) EXPECT_NE(PROFILE(line, 3).val, PROFILE(other, 3).val);
    }
    EXPECT_EQ(PROFILE(3, 3).val[150], first);
    EXPECT_EQ(PROFILE(3, 3).val[150], g.full.ez_full[FULL_INDEX(13, 13, 151)]);
    EXPECT_EQ(PROFILE(10, 2).val[7], g.full.ey_full[FULL_INDEX(3, 3, 8)]);
    EXPECT_EQ(PROFILE(0, 1).n, 0);
    EXPECT_EQ(PROFILE(1, 4).val, nullptr);
}

// A map that lacks the plotted field gives thirty all-zero profiles of full length.
TEST(SampleLine, FieldMissingFromTheMapGivesZeroProfiles) {
    const int cases[2][2] = {{1, 0}, {0, 1}};  // kind, field_flag
    for (const auto& kc : cases) {
        LOAD_ANALYTIC(MAP(kc[0], 1, 0, 1));
        UNFOLD_GRID();
        SAMPLE_ALL(kc[1]);
        int nonzero = 0, lines = 0;
        for (int line = 1; line <= line_count; ++line)
            for (int c = 1; c <= 3; ++c) {
                const profile p = PROFILE(line, c);
                lines += p.n == (line == 1 ? 49 : line == 2 ? 25 : 401);
                for (int n = 0; n < p.n; ++n) nonzero += p.val[n] != 0.0;
            }
        EXPECT_EQ(lines, 30);
        EXPECT_EQ(nonzero, 0);
    }
}

// No unfolding case: counts 0, each step the span over -1, every profile empty.
TEST(SampleLine, EmptyGridGivesEmptyProfilesAndFiniteSteps) {
    LOAD_ANALYTIC(MAP(2, 1, 1, 1));
    UNFOLD_GRID();
    SAMPLE_ALL();  // fill the store first, so emptiness is not left over from the start
    ASSERT_EQ(PROFILE(10, 3).n, 401);
    field_grid.field_kind = 5;
    UNFOLD_GRID();
    SAMPLE_ALL();
    const field_grid_record& g = field_grid;
    EXPECT_EQ(g.full.nx, 0);
    EXPECT_EQ(g.full.dx, -(g.full.xmax - g.full.xmin));
    EXPECT_TRUE(std::isfinite(g.full.dy) && std::isfinite(g.full.dz));
    for (int line = 1; line <= line_count; ++line)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(PROFILE(line, c).n, 0);
}

// Sampling a stored lattice that was never unfolded is a fault in the order of the stages:
// debug and sanitizer builds stop at once and say which assumption failed.
TEST(StageOrderDeathTest, SamplingBeforeUnfoldingStops) {
    if (!ORVEX_ASSUMPTIONS_CHECKED) GTEST_SKIP() << "stage order is checked in debug and sanitizer builds";
    LOAD_ANALYTIC(MAP(2, 1, 1, 1));
    UNFOLD_GRID();
    SAMPLE_LINE(field_grid.full, 0, 1);  // in order: no stop
    LOAD_ANALYTIC(MAP(2, 0, 0, 0));
    field_grid.full.complete = false;  // as a reader leaves it
    EXPECT_DEATH(SAMPLE_LINE(field_grid.full, 0, 1), "UNFOLD_GRID has run before the grid is sampled");
}

}  // namespace
}  // namespace orvex
