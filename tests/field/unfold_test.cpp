// Unfolding of stored maps to the whole region: analytic maps of every kind and flag pattern,
// the pivot and end nodes, the case selection with unchecked flags, and the limits.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <vector>

#include "analytic_grid.h"
#include "field/field_grid.h"
#include "field/unfold.h"

namespace orvex {
namespace {

using testing::FIELD;
using testing::LOAD_ANALYTIC;
using testing::MAP;

// Coordinate of full node n on an axis, taken from the stored side: exactly the stored value,
// negated below the pivot of a mirrored axis.
double MIRRORED_COORD(const double* stored, bool mirrored, int n, int pivot) {
    if (!mirrored) return stored[n - 1];
    return n < pivot ? -stored[pivot - n] : stored[n - pivot];
}

TEST(UnfoldGrid, AnalyticMapOfEveryKindAndFlagPatternEqualsTheFieldEverywhere) {
    for (int kind = 0; kind <= 2; ++kind) {
        for (int flags = 0; flags < 8; ++flags) {
            const mapgen::map_recipe m = MAP(kind, flags & 1, (flags >> 1) & 1, (flags >> 2) & 1);
            const bool yz = m.ksym_yz == 1, xz = m.ksym_xz == 1, xy = m.ksym_xy == 1;
            SCOPED_TRACE(::testing::Message() << "kind " << kind << " flags " << yz << xz << xy);
            LOAD_ANALYTIC(m);
            UNFOLD_GRID();
            const field_grid_record& g = field_grid;
            ASSERT_EQ(g.full.nx, yz ? 49 : 25);
            ASSERT_EQ(g.full.ny, xz ? 49 : 25);
            ASSERT_EQ(g.full.nz, xy ? 401 : 201);
            // A mirrored axis stores 0..hi: its lower limit is -xmws(25), else xmws(1) = -hi.
            EXPECT_EQ(g.full.xmin, yz ? -g.xmws[24] : g.xmws[0]);
            EXPECT_EQ(g.full.ymin, xz ? -g.ymws[24] : g.ymws[0]);
            EXPECT_EQ(g.full.zmin, xy ? -g.zmws[200] : g.zmws[0]);
            EXPECT_EQ(g.full.xmin, -m.x_hi);
            EXPECT_EQ(g.full.ymin, -m.y_hi);
            EXPECT_EQ(g.full.zmin, -m.z_hi);
            EXPECT_EQ(g.full.xmax, m.x_hi);
            EXPECT_EQ(g.full.ymax, m.y_hi);
            EXPECT_EQ(g.full.zmax, m.z_hi);

            const double dx = (g.full.xmax - g.full.xmin) / (g.full.nx - 1), dy = (g.full.ymax - g.full.ymin) / (g.full.ny - 1),
                         dz = (g.full.zmax - g.full.zmin) / (g.full.nz - 1);
            long exact_misses = 0, near_misses = 0, spare_written = 0;
            for (int k = 1; k <= full_capacity_z; ++k)
                for (int j = 1; j <= full_capacity_y; ++j)
                    for (int i = 1; i <= full_capacity_x; ++i) {
                        const std::size_t f = FULL_INDEX(i, j, k);
                        const double got[6] = {g.full.ex_full[f], g.full.ey_full[f], g.full.ez_full[f],
                                               g.full.bx_full[f], g.full.by_full[f], g.full.bz_full[f]};
                        if (i > g.full.nx || j > g.full.ny || k > g.full.nz) {
                            for (double v : got) spare_written += v != 0.0;
                            continue;
                        }
                        // From the stored coordinates the mirrored values must be bit-exact.
                        const std::array<double, 6> want_e =
                            FIELD(m, MIRRORED_COORD(g.xmws.data(), yz, i, 25),
                                  MIRRORED_COORD(g.ymws.data(), xz, j, 25),
                                  MIRRORED_COORD(g.zmws.data(), xy, k, 201));
                        // On the uniform full grid they agree to the rounding of the coordinates.
                        const std::array<double, 6> want_u =
                            FIELD(m, g.full.xmin + (i - 1) * dx, g.full.ymin + (j - 1) * dy, g.full.zmin + (k - 1) * dz);
                        for (std::size_t c = 0; c < 6; ++c) {
                            exact_misses += got[c] != want_e[c];
                            near_misses += std::fabs(got[c] - want_u[c]) > 1e-9;
                        }
                    }
            EXPECT_EQ(exact_misses, 0);
            EXPECT_EQ(near_misses, 0);
            EXPECT_EQ(spare_written, 0);
        }
    }
}

// A run unfolds a field only when it is first asked for: exactly the values of a full
// unfolding, and the other field's arrays untouched.
TEST(UnfoldGrid, PlottedTripleAloneGivesTheSameValuesAndLeavesTheOtherUntouched) {
    for (const int field_flag : {0, 1}) {
        SCOPED_TRACE(field_flag);
        LOAD_ANALYTIC(MAP(2, 1, 1, 1));
        UNFOLD_GRID();
        const field_grid_record& g = field_grid;
        const std::array<const full_array*, 3> plotted =
            field_flag == 1 ? std::array<const full_array*, 3>{&g.full.bx_full, &g.full.by_full, &g.full.bz_full} : std::array<const full_array*, 3>{&g.full.ex_full, &g.full.ey_full, &g.full.ez_full};
        const std::array<const full_array*, 3> other =
            field_flag == 1 ? std::array<const full_array*, 3>{&g.full.ex_full, &g.full.ey_full, &g.full.ez_full} : std::array<const full_array*, 3>{&g.full.bx_full, &g.full.by_full, &g.full.bz_full};
        std::vector<double> full_unfolding;
        for (const full_array* a : plotted) full_unfolding.insert(full_unfolding.end(), a->begin(), a->end());

        LOAD_ANALYTIC(MAP(2, 1, 1, 1));
        UNFOLD_GRID(fields_unfolded::on_request);
        for (const full_array* a : plotted) EXPECT_TRUE(std::all_of(a->begin(), a->end(), [](double v) { return v == 0.0; }));
        EXPECT_EQ(FIELD_TRIPLE(g.full, field_flag)[0], plotted[0]);
        std::vector<double> alone;
        for (const full_array* a : plotted) alone.insert(alone.end(), a->begin(), a->end());
        EXPECT_TRUE(alone == full_unfolding);
        for (const full_array* a : other) EXPECT_TRUE(std::all_of(a->begin(), a->end(), [](double v) { return v == 0.0; }));
    }
}

// Stored values that break the parity (non-zero on the mirror plane) show what the unfolding
// copies where: the pivot as stored, both ends from the last stored node with opposite signs.
TEST(UnfoldGrid, PivotIsCopiedAsStoredAndEndsComeFromTheLastStoredNode) {
    LOAD_ANALYTIC(MAP(0, 1, 0, 0));
    field_grid_record& g = field_grid;
    g.ex_in[STORED_INDEX(1, 4, 9)] = 7.5;  // odd component on the plane x = 0
    UNFOLD_GRID();
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(25, 4, 9)], 7.5);
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(1, 4, 9)], -g.ex_in[STORED_INDEX(25, 4, 9)]);
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(49, 4, 9)], g.ex_in[STORED_INDEX(25, 4, 9)]);
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(24, 4, 9)], -g.ex_in[STORED_INDEX(2, 4, 9)]);
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(26, 4, 9)], g.ex_in[STORED_INDEX(2, 4, 9)]);
    EXPECT_EQ(g.full.ey_full[FULL_INDEX(24, 4, 9)], g.ey_in[STORED_INDEX(2, 4, 9)]);
    EXPECT_NE(g.ex_in[STORED_INDEX(25, 4, 9)], 0.0);

    // Both fields, all mirrors: Bz at (1, 1, 1) takes sx * sy = +1 and By sx * sz = +1; Bx on
    // the z pivot plane is copied as stored.
    LOAD_ANALYTIC(MAP(2, 1, 1, 1));
    g.bx_in[STORED_INDEX(3, 5, 1)] = -2.25;
    UNFOLD_GRID();
    EXPECT_EQ(g.full.bz_full[FULL_INDEX(1, 1, 1)], g.bz_in[STORED_INDEX(25, 25, 201)]);
    EXPECT_EQ(g.full.by_full[FULL_INDEX(1, 1, 1)], g.by_in[STORED_INDEX(25, 25, 201)]);
    EXPECT_EQ(g.full.ez_full[FULL_INDEX(1, 1, 1)], -g.ez_in[STORED_INDEX(25, 25, 201)]);
    EXPECT_EQ(g.full.ez_full[FULL_INDEX(1, 1, 401)], g.ez_in[STORED_INDEX(25, 25, 201)]);
    EXPECT_EQ(g.full.bx_full[FULL_INDEX(27, 29, 201)], -2.25);
    EXPECT_EQ(g.full.bx_full[FULL_INDEX(23, 29, 201)], -2.25);
    EXPECT_EQ(g.full.bx_full[FULL_INDEX(27, 21, 201)], 2.25);  // only the y sign applies
    EXPECT_EQ(g.full.ex_full[FULL_INDEX(25, 25, 201)], g.ex_in[STORED_INDEX(1, 1, 1)]);
}

// The selection tests the flag sum and the flags exactly as given; nothing checks them.
TEST(UnfoldGrid, CaseSelectionUsesTheFlagsAsGiven) {
    field_grid_record& g = field_grid;
    struct row {
        int kind, yz, xz, xy, nx, ny, nz;
    };
    const row rows[] = {
        {2, 1, 1, 0, 49, 49, 201},  // sum 2: the unset flag picks the pair
        {1, 1, 0, 1, 49, 25, 401},
        {0, 0, 1, 1, 25, 49, 401},
        {2, 2, 0, 0, 49, 25, 401},  // sum 2 with yz = 2: xz = 0 is tested first among the rest
        {2, 2, 2, 0, 0, 0, 0},      // sum 4: no case
        {1, 0, 0, 2, 25, 49, 401},  // sum 2 with yz = 0: y and z, whatever xy holds
        {5, 0, 0, 0, 0, 0, 0},      // unknown kind
        {-1, 1, 1, 1, 0, 0, 0},
        {0, 0, 2, -1, 0, 0, 0},     // sum 1 but no flag equals 1
    };
    for (const row& r : rows) {
        SCOPED_TRACE(::testing::Message() << "kind " << r.kind << " flags " << r.yz << r.xz << r.xy);
        LOAD_ANALYTIC(MAP(r.kind == 5 || r.kind < 0 ? 2 : r.kind, 0, 0, 0));
        g.field_kind = r.kind;
        g.ksym_yz = r.yz;
        g.ksym_xz = r.xz;
        g.ksym_xy = r.xy;
        g.ksym = r.yz + r.xz + r.xy;
        UNFOLD_GRID();
        EXPECT_EQ(g.full.nx, r.nx);
        EXPECT_EQ(g.full.ny, r.ny);
        EXPECT_EQ(g.full.nz, r.nz);
        // Limits are always set, each mirrored only by its own flag equal to 1.
        EXPECT_EQ(g.full.xmin, r.yz == 1 ? -g.xmws[24] : g.xmws[0]);
        EXPECT_EQ(g.full.ymin, r.xz == 1 ? -g.ymws[24] : g.ymws[0]);
        EXPECT_EQ(g.full.zmin, r.xy == 1 ? -g.zmws[200] : g.zmws[0]);
        EXPECT_EQ(g.full.zmax, g.zmws[200]);
        if (g.full.nx == 0) {
            EXPECT_EQ(g.full.ny, 0);
            EXPECT_EQ(g.full.ex_full[FULL_INDEX(1, 1, 1)], 0.0);  // full arrays left untouched
        }
    }
}

}  // namespace
}  // namespace orvex
