// multipoles_test.cpp: magnets of the map writer (2-D multipoles times an envelope in z) against
// what was put in, through B and E: only C_n, added units, centre, roll, gradient, length; and
// what a small or large disc is told.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>

#include "field/figures.h"
#include "field/multipoles.h"
#include "field/unfold.h"
#include "analytic_grid.h"

namespace orvex {
namespace {

using mapgen::field_model;

// The whole region x, y in [-2, 2] cm (25 x 25 nodes), z in [-50, 50] cm (201 planes).
void LOAD_MAGNET(int kind, int order, double roll_mrad = 0.0, double x0 = 0.0, double y0 = 0.0,
                 std::vector<mapgen::added_harmonic> added = {}, field_model model = field_model::multipole) {
    mapgen::map_recipe m = testing::MAP(kind, 0, 0, 0);
    m.model = model;
    m.magnet = {order, 1000.0, 1.0, added, x0, y0, roll_mrad / 1000.0, 10.0, 2.0};
    m.y_hi = 2.0;
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
}

// The envelope at z = 0 and its integral over z (its tails beyond 50 cm are below 1e-80).
const double g_middle = std::erf(10.0 / (std::numbers::sqrt2 * 2.0));
constexpr double g_integral = 20.0;

multipole_figures FIGURES(int field, double r_ref) {
    return MULTIPOLE_FIGURES(field_grid.full, MULTIPOLE_PLANES(field_grid.full, field, r_ref));
}

// Centred, turned by theta about z: only C_n, b_n + i a_n = 1e4 exp(-i n theta), a roll of theta.
TEST(Multipoles, PureMultipoleGivesOnlyItsOwnHarmonicAndItsRoll) {
    struct row {
        int kind, n;
        double roll_mrad;
    };
    for (const row r : {row{1, 1, 0.5}, row{1, 2, 1.0}, row{1, 2, -3.5}, row{1, 3, -2.0}, row{1, 4, 100.0}, row{1, 6, 0.0},
                        row{1, 9, 0.0}, row{1, 15, 0.0}, row{0, 2, 1.0}, row{0, 3, 7.0}, row{0, 15, 0.0}}) {
        LOAD_MAGNET(r.kind, r.n, r.roll_mrad);
        const auto own = static_cast<std::size_t>(r.n - 1);
        const multipole_planes planes = MULTIPOLE_PLANES(field_grid.full, r.kind, 1.0);
        ASSERT_EQ(planes.order, 15);
        EXPECT_NEAR(std::abs(planes.c[100][own]) / (1000.0 * g_middle), 1.0, 1e-9);
        for (std::size_t k = 0; k < planes.c.size(); ++k)
            for (std::size_t n = 0; n < 15; ++n)
                ASSERT_LE(std::abs(planes.c[k][n]), (n == own ? 1.0 : 1e-9) * std::abs(planes.c[k][own])) << r.n << " " << n;
        const multipole_figures f = MULTIPOLE_FIGURES(field_grid.full, planes);
        ASSERT_EQ(f.main, r.n);
        EXPECT_NEAR(std::abs((*f.integrated)[own]) / (1000.0 * g_integral), 1.0, 1e-9);
        const double turn = r.n * r.roll_mrad / 1000.0;
        for (std::size_t n = 0; n < 15; ++n) {
            EXPECT_NEAR(f.b[n], n == own ? 1e4 * std::cos(turn) : 0.0, 1e-5) << r.n << " " << n;
            EXPECT_NEAR(f.a[n], n == own ? -1e4 * std::sin(turn) : 0.0, 1e-5) << r.n << " " << n;
        }
        EXPECT_NEAR(*f.roll_mrad, r.roll_mrad, 1e-9) << r.kind << " " << r.n;
    }
}

// A quadrupole with b6 = 10 and a3 = -5 units at 1 cm: the same at r_ref = 1 cm, and at the map's
// own radius (2/3 of 2 cm) each scaled by (r_ref / 1 cm)^(n - 2); on every plane too.
TEST(Multipoles, AddedHarmonicsComeBackInUnits) {
    for (const int kind : {1, 0}) {
        LOAD_MAGNET(kind, 2, 0.0, 0.0, 0.0, {{6, 10.0, 0.0}, {3, 0.0, -5.0}});
        EXPECT_DOUBLE_EQ(REFERENCE_RADIUS(field_grid.full, std::nullopt), 4.0 / 3.0);
        for (const double r_ref : {1.0, REFERENCE_RADIUS(field_grid.full, std::nullopt)}) {
            const multipole_planes planes = MULTIPOLE_PLANES(field_grid.full, kind, r_ref);
            const multipole_figures f = MULTIPOLE_FIGURES(field_grid.full, planes);
            ASSERT_EQ(f.main, 2);
            const double b6 = 10.0 * std::pow(r_ref, 4), a3 = -5.0 * r_ref;
            for (std::size_t n = 1; n <= 15; ++n) {
                EXPECT_NEAR(f.b[n - 1], n == 2 ? 1e4 : n == 6 ? b6 : 0.0, 1e-4) << kind << " " << r_ref << " b" << n;
                EXPECT_NEAR(f.a[n - 1], n == 3 ? a3 : 0.0, 1e-4) << kind << " " << r_ref << " a" << n;
            }
            for (int k = 1; k <= planes.nz; k += 20) {  // the tails too, where the envelope is 1e-88
                EXPECT_NEAR(PLANE_UNITS(planes, k, 6, 2)->real(), b6, 1e-4) << k;
                EXPECT_NEAR(PLANE_UNITS(planes, k, 3, 2)->imag(), a3, 1e-4) << k;
            }
        }
    }
}

// A displaced quadrupole gives its centre; G(z) = Re C_2 / r_ref is 1000 Gs/cm times the
// envelope whatever r_ref: its integral 1000 x 2h, the magnetic length 2h / g(0). The writer's
// other quadrupole, uniform over 100 cm: Bx = 500 y, By = 500 x is normal; the upright
// Ex = 2000 x, Ey = -2000 y has C_2 = 2000 i r_ref: skew, rolled by -45 degrees, without a
// magnetic length.
TEST(Multipoles, QuadrupoleCentreGradientAndMagneticLength) {
    for (const int kind : {1, 0}) {
        const std::complex<double> centre = kind == 1 ? std::complex(0.05, -0.03) : std::complex(-0.4, 0.25);
        LOAD_MAGNET(kind, 2, 0.0, centre.real(), centre.imag());
        for (const double r_ref : {1.0, 0.7}) {
            const multipole_figures f = FIGURES(kind, r_ref);
            EXPECT_LT(std::abs(std::complex(*f.centre_x, *f.centre_y) - centre), 1e-9);
            const quadrupole_figures q = *f.quadrupole;
            EXPECT_EQ(q.middle_node, 101);
            EXPECT_NEAR(q.gradient_middle / (1000.0 * g_middle), 1.0, 1e-9);
            EXPECT_NEAR(*q.gradient_integral / (1000.0 * g_integral), 1.0, 1e-9);
            EXPECT_NEAR(*q.magnetic_length / (g_integral / g_middle), 1.0, 1e-9);
        }
    }
    LOAD_MAGNET(2, 2, 0.0, 0.0, 0.0, {}, field_model::quadrupole);
    const multipole_figures b = FIGURES(1, 1.0), e = FIGURES(0, 1.0);
    EXPECT_NEAR(b.b[1], 1e4, 1e-9);
    EXPECT_NEAR(b.quadrupole->gradient_middle, 500.0, 1e-9);
    EXPECT_NEAR(*b.quadrupole->magnetic_length, 100.0, 1e-9);
    EXPECT_NEAR(e.a[1], 1e4, 1e-9);
    EXPECT_NEAR(*e.roll_mrad, -250.0 * std::numbers::pi, 1e-9);
    EXPECT_NEAR((*e.integrated)[1].imag(), 2000.0 * 100.0, 1e-6);
    EXPECT_FALSE(e.quadrupole->magnetic_length);
}

// On the 1/6 cm grid a disc of 0.2 cm holds 5 nodes (n = 1, 2 only, still exact), one of 0.1 cm
// a single node (none); a disc beyond the map is told, the map's own is not; a node that is not
// finite leaves no integrated figure.
TEST(Multipoles, SmallLargeAndUnfinishedDiscsAreTold) {
    LOAD_MAGNET(1, 2);
    const full_map& m = field_grid.full;
    const multipole_figures small = FIGURES(1, 0.2), none = FIGURES(1, 0.1), wide = FIGURES(1, 2.5);
    EXPECT_TRUE(small.order == 2 && std::fabs(small.b[1] - 1e4) < 1e-9);
    EXPECT_NE(MULTIPOLE_NOTES(m, small).at(0).find("holds 5 nodes of each z plane: the magnetic multipoles are fitted to n = 2"),
              std::string::npos);
    EXPECT_TRUE(none.order == 0 && !none.integrated);
    EXPECT_NE(MULTIPOLE_NOTES(m, none).at(0).find("holds 1 node of each z plane: no magnetic multipoles"), std::string::npos);
    EXPECT_NE(MULTIPOLE_NOTES(m, wide).at(0).find("reaches beyond the map's transverse region (x -2 to 2, y -2 to 2 cm)"),
              std::string::npos);
    EXPECT_NEAR(wide.b[1], 1e4, 1e-9);
    EXPECT_TRUE(MULTIPOLE_NOTES(m, FIGURES(1, REFERENCE_RADIUS(m, std::nullopt))).empty());
    const map_figures all = MAP_FIGURES(m, {std::nullopt, std::nullopt, true, 0.2}, 1);
    EXPECT_EQ(all.fields.at(0).multipoles->r_ref, 0.2);
    EXPECT_EQ(all.notes, MULTIPOLE_NOTES(m, small));

    field_grid.full.by_full[FULL_INDEX(13, 13, 40)] = NAN;  // on the axis, plane 40
    const multipole_planes planes = MULTIPOLE_PLANES(m, 1, 1.0);
    EXPECT_TRUE(std::isnan(planes.c[39][1].real()) && std::isfinite(planes.c[38][1].real()));
    const multipole_figures f = MULTIPOLE_FIGURES(m, planes);
    EXPECT_TRUE(!f.integrated && f.main == 0 && !f.roll_mrad && !PLANE_UNITS(planes, 40, 2, 2));
}

}  // namespace
}  // namespace orvex
