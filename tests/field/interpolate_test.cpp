// interpolate_test.cpp: the field between the nodes, checked against fields the rules must
// reproduce exactly (trilinear for linear, quadratic in each coordinate for cubic), against a
// harmonic field (cubic at least ten times closer than linear), on nodes, and outside.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "analytic_grid.h"
#include "field/field_grid.h"
#include "field/interpolate.h"
#include "field/unfold.h"

namespace orvex {
namespace {

using point_field = std::function<double(double, double, double)>;

// An electric map stored whole (no mirror) over x in [-2, 2], y in [-1.5, 1.5] and z in
// [-z_half, z_half], whose three components are f, 2 f and -f.
void LOAD_FIELD(const point_field& f, double z_half = 50.0) {
    mapgen::map_recipe m = testing::MAP(0, 0, 0, 0);
    m.z_hi = z_half;
    testing::LOAD_ANALYTIC(m);
    field_grid_record& g = field_grid;
    for (int k = 1; k <= stored_nz; ++k)
        for (int j = 1; j <= stored_ny; ++j)
            for (int i = 1; i <= stored_nx; ++i) {
                const std::size_t s = STORED_INDEX(i, j, k);
                const double v = f(g.xmws[static_cast<std::size_t>(i - 1)], g.ymws[static_cast<std::size_t>(j - 1)],
                                   g.zmws[static_cast<std::size_t>(k - 1)]);
                g.ex_in[s] = v;
                g.ey_in[s] = 2.0 * v;
                g.ez_in[s] = -v;
            }
    UNFOLD_GRID();
}

// The largest |interpolated Ex - f| over a lattice of points inside the cells that lie at least
// one cell from the grid's edge, at fractions that are not node fractions.
double LARGEST_ERROR(interpolation rule, const point_field& f) {
    const full_map& m = field_grid.full;
    double worst = 0.0;
    for (int i = 2; i < m.nx - 3; i += 3)
        for (int j = 2; j < m.ny - 3; j += 4)
            for (int k = 2; k < m.nz - 3; k += 17) {
                const double x = m.x[static_cast<std::size_t>(i)] + 0.37 * m.dx;
                const double y = m.y[static_cast<std::size_t>(j)] + 0.81 * m.dy;
                const double z = m.z[static_cast<std::size_t>(k)] + 0.13 * m.dz;
                std::array<double, 3> v;
                EXPECT_TRUE(INTERPOLATE(m, 0, rule, x, y, z, v));
                worst = std::max(worst, std::fabs(v[0] - f(x, y, z)));
                EXPECT_EQ(v[1], 2.0 * v[0]);  // every component through the same weights
            }
    return worst;
}

TEST(Interpolate, LinearIsExactOnATrilinearFieldAndCubicOnAQuadraticOne) {
    const point_field trilinear = [](double x, double y, double z) {
        return 3.0 + 2.0 * x - y + 0.5 * z + 0.25 * x * y - 0.75 * y * z + 0.125 * x * z + 0.0625 * x * y * z;
    };
    LOAD_FIELD(trilinear);
    EXPECT_LT(LARGEST_ERROR(interpolation::linear, trilinear), 1e-12 * 100.0);
    const point_field quadratic = [](double x, double y, double z) {
        return (1.0 + x - 0.5 * x * x) * (2.0 - y + 0.75 * y * y) * (0.5 + 0.02 * z - 0.001 * z * z);
    };
    LOAD_FIELD(quadratic);
    EXPECT_LT(LARGEST_ERROR(interpolation::cubic, quadratic), 1e-12 * 10.0);
    EXPECT_GT(LARGEST_ERROR(interpolation::linear, quadratic), 1e-4);  // the oracle can tell
}

// A harmonic field, cos(k x) cos(k y) cosh(sqrt(2) k z), sampled at 10 nodes a wavelength along
// x and y (z shortened so cosh stays modest): cubic is at least ten times closer than linear.
TEST(Interpolate, CubicIsTenTimesCloserThanLinearOnASmoothHarmonicField) {
    const double k = 2.0 * std::numbers::pi / (10.0 * (4.0 / 24.0));  // 10 x-steps a wavelength
    const point_field harmonic = [k](double x, double y, double z) {
        return std::cos(k * x) * std::cos(k * y) * std::cosh(std::sqrt(2.0) * k * z);
    };
    LOAD_FIELD(harmonic, 0.5);
    const double linear = LARGEST_ERROR(interpolation::linear, harmonic);
    const double cubic = LARGEST_ERROR(interpolation::cubic, harmonic);
    EXPECT_GT(linear, 0.0);
    EXPECT_LT(cubic * 10.0, linear) << "cubic " << cubic << ", linear " << linear;
}

// On a node, each rule gives the node's value bit for bit, also on the edges and at the pivot
// of a mirrored map; beyond the region by more than 1e-9 of a step there is no value.
TEST(Interpolate, NodesGiveTheirValuesAndPointsOutsideGiveNone) {
    testing::LOAD_ANALYTIC(testing::MAP(2, 1, 1, 1));
    UNFOLD_GRID();
    const full_map& m = field_grid.full;
    for (const interpolation rule : {interpolation::linear, interpolation::cubic})
        for (const grid_node n : {grid_node{1, 1, 1}, grid_node{25, 25, 201}, grid_node{49, 49, 401}, grid_node{3, 48, 7},
                                  grid_node{26, 24, 202}}) {
            std::array<double, 3> b;
            ASSERT_TRUE(INTERPOLATE(m, 1, rule, m.x[static_cast<std::size_t>(n.i - 1)],
                                    m.y[static_cast<std::size_t>(n.j - 1)], m.z[static_cast<std::size_t>(n.k - 1)], b));
            const std::size_t at = FULL_INDEX(n.i, n.j, n.k);
            EXPECT_EQ(b, (std::array<double, 3>{m.bx_full[at], m.by_full[at], m.bz_full[at]}))
                << INTERPOLATION_NAME(rule) << " at " << n.i << ", " << n.j << ", " << n.k;
        }
    std::array<double, 3> v;
    EXPECT_TRUE(INTERPOLATE(m, 0, interpolation::cubic, m.xmax + 1e-10 * m.dx, 0.0, m.zmin - 1e-10 * m.dz, v));
    EXPECT_FALSE(INTERPOLATE(m, 0, interpolation::cubic, m.xmax + 1e-8 * m.dx, 0.0, 0.0, v));
    EXPECT_TRUE(std::isnan(v[0]) && std::isnan(v[2]));
    EXPECT_FALSE(INTERPOLATE(m, 0, interpolation::linear, 0.0, 0.0, std::nan(""), v));
    EXPECT_EQ(INTERPOLATION_NAMED("cubic"), interpolation::cubic);
    EXPECT_FALSE(INTERPOLATION_NAMED("spline"));
}

}  // namespace
}  // namespace orvex
