// multipoles_test.cpp: the harmonics of magnets written by the map writer (2-D multipoles of any
// order times an envelope in z, free of divergence) against what was put in: a pure 2n-pole
// gives only C_n, added harmonics come back in units (scaled to another radius as r^(n - M)),
// a displaced quadrupole its centre, a rolled magnet its roll, a quadrupole its gradient and
// magnetic length, an electric quadrupole the same through E; and what a small or large disc
// is told.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <string>

#include "field/figures.h"
#include "field/multipoles.h"
#include "field/unfold.h"
#include "analytic_grid.h"

namespace orvex {
namespace {

using mapgen::field_model;
using mapgen::multipole_magnet;

constexpr double half = 10.0, rise = 2.0;  // the envelope of every magnet here, cm
constexpr int middle = 101;                // z = 0 on the 201 planes of -50..50 cm

// The whole region x, y in [-2, 2] cm (25 x 25 nodes), z in [-50, 50] cm, written whole.
void LOAD_MAGNET(const multipole_magnet& magnet, int kind, field_model model = field_model::multipole) {
    mapgen::map_recipe m = testing::MAP(kind, 0, 0, 0);
    m.model = model;
    m.magnet = magnet;
    m.x_hi = m.y_hi = 2.0;
    m.z_hi = 50.0;
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
}

multipole_magnet MAGNET(int order, double roll_mrad = 0.0, double x0 = 0.0, double y0 = 0.0) {
    multipole_magnet magnet;
    magnet.order = order;
    magnet.strength = 1000.0;
    magnet.radius = 1.0;
    magnet.roll = roll_mrad / 1000.0;
    magnet.x0 = x0, magnet.y0 = y0;
    magnet.half_length = half, magnet.rise = rise;
    return magnet;
}

// The envelope at z = 0 and its integral over z (the tails beyond 50 cm are below 1e-80).
const double g_middle = std::erf(half / (std::numbers::sqrt2 * rise));
constexpr double g_integral = 2.0 * half;

multipole_figures FIGURES(int field, double r_ref) {
    return MULTIPOLE_FIGURES(field_grid.full, MULTIPOLE_PLANES(field_grid.full, field, r_ref));
}

TEST(Multipoles, PureMultipoleGivesOnlyItsOwnHarmonic) {
    for (const int kind : {1, 0}) {
        for (const int n : {1, 2, 3, 4, 6, 9, 15}) {
            LOAD_MAGNET(MAGNET(n), kind);
            const int field = kind == 0 ? 0 : 1;
            const multipole_planes planes = MULTIPOLE_PLANES(field_grid.full, field, 1.0);
            ASSERT_EQ(planes.order, 15);
            ASSERT_EQ(planes.nz, 201);
            EXPECT_NEAR(planes.c[middle - 1][static_cast<std::size_t>(n - 1)].real() / (1000.0 * g_middle), 1.0, 1e-9) << n;
            for (std::size_t k = 0; k < planes.c.size(); ++k) {
                const double own = std::abs(planes.c[k][static_cast<std::size_t>(n - 1)]);
                for (int other = 1; other <= 15; ++other) {
                    if (other == n) continue;
                    ASSERT_LE(std::abs(planes.c[k][static_cast<std::size_t>(other - 1)]), 1e-9 * own) << n << " " << other << " " << k;
                }
            }
            const multipole_figures f = MULTIPOLE_FIGURES(field_grid.full, planes);
            ASSERT_TRUE(f.integrated);
            EXPECT_EQ(f.main, n);
            EXPECT_NEAR((*f.integrated)[static_cast<std::size_t>(n - 1)].real() / (1000.0 * g_integral), 1.0, 1e-9);
            for (int other = 1; other <= 15; ++other) {
                EXPECT_NEAR(f.b[static_cast<std::size_t>(other - 1)], other == n ? 1e4 : 0.0, 1e-5) << n << " " << other;
                EXPECT_NEAR(f.a[static_cast<std::size_t>(other - 1)], 0.0, 1e-5) << n << " " << other;
            }
            ASSERT_TRUE(f.roll_mrad);
            EXPECT_NEAR(*f.roll_mrad, 0.0, 1e-9);
            EXPECT_EQ(f.quadrupole.has_value(), n == 2);
        }
    }
}

// A quadrupole with b6 = 10 and a3 = -5 units at 1 cm: the same units at r_ref = 1 cm, and at
// the map's own radius (2/3 of 2 cm) each scaled by (r_ref / 1 cm)^(n - 2); per plane too.
TEST(Multipoles, AddedHarmonicsComeBackInUnits) {
    for (const int kind : {1, 0}) {
        multipole_magnet magnet = MAGNET(2);
        magnet.added = {{6, 10.0, 0.0}, {3, 0.0, -5.0}};
        LOAD_MAGNET(magnet, kind);
        const double map_radius = REFERENCE_RADIUS(field_grid.full, std::nullopt);
        EXPECT_DOUBLE_EQ(map_radius, 4.0 / 3.0);
        for (const double r_ref : {1.0, map_radius}) {
            const multipole_planes planes = MULTIPOLE_PLANES(field_grid.full, kind == 0 ? 0 : 1, r_ref);
            const multipole_figures f = MULTIPOLE_FIGURES(field_grid.full, planes);
            ASSERT_EQ(f.main, 2);
            const double b6 = 10.0 * std::pow(r_ref, 4), a3 = -5.0 * r_ref;
            for (int n = 1; n <= 15; ++n) {
                const auto at = static_cast<std::size_t>(n - 1);
                EXPECT_NEAR(f.b[at], n == 2 ? 1e4 : n == 6 ? b6 : 0.0, 1e-4) << kind << " " << r_ref << " b" << n;
                EXPECT_NEAR(f.a[at], n == 3 ? a3 : 0.0, 1e-4) << kind << " " << r_ref << " a" << n;
            }
            for (int k = 1; k <= planes.nz; k += 20) {  // the tails too, where the envelope is 1e-88
                const auto u6 = PLANE_UNITS(planes, k, 6, 2), u3 = PLANE_UNITS(planes, k, 3, 2);
                ASSERT_TRUE(u6 && u3);
                EXPECT_NEAR(u6->real(), b6, 1e-4) << k;
                EXPECT_NEAR(u3->imag(), a3, 1e-4) << k;
            }
        }
    }
}

TEST(Multipoles, DisplacedQuadrupoleGivesItsCentre) {
    for (const int kind : {1, 0}) {
        for (const auto& [x0, y0] : {std::pair{0.05, -0.03}, std::pair{-0.4, 0.25}}) {
            LOAD_MAGNET(MAGNET(2, 0.0, x0, y0), kind);
            const multipole_figures f = FIGURES(kind == 0 ? 0 : 1, REFERENCE_RADIUS(field_grid.full, std::nullopt));
            ASSERT_EQ(f.main, 2);
            ASSERT_TRUE(f.centre_x && f.centre_y);
            EXPECT_NEAR(*f.centre_x, x0, 1e-9);
            EXPECT_NEAR(*f.centre_y, y0, 1e-9);
        }
    }
}

// A normal magnet turned by +theta about z gives +theta, whatever its order; centred magnets
// have their centre on the axis.
TEST(Multipoles, RolledMagnetGivesItsRoll) {
    struct row {
        int kind, order;
        double roll_mrad;
    };
    for (const row r : {row{1, 2, 1.0}, row{1, 2, -3.5}, row{1, 1, 0.5}, row{1, 3, -2.0}, row{1, 4, 100.0},
                        row{0, 2, 1.0}, row{0, 3, 7.0}}) {
        LOAD_MAGNET(MAGNET(r.order, r.roll_mrad), r.kind);
        const multipole_figures f = FIGURES(r.kind == 0 ? 0 : 1, 1.0);
        ASSERT_EQ(f.main, r.order);
        ASSERT_TRUE(f.roll_mrad);
        EXPECT_NEAR(*f.roll_mrad, r.roll_mrad, 1e-9) << r.kind << " " << r.order;
        if (r.order == 2) {
            EXPECT_NEAR(*f.centre_x, 0.0, 1e-12);
            EXPECT_NEAR(*f.centre_y, 0.0, 1e-12);
        }
    }
}

// G(z) = Re C_2 / r_ref is the writer's 1000 Gs/cm times the envelope, whatever r_ref: its
// integral 1000 x 2h and the magnetic length 2h / g(0).
TEST(Multipoles, QuadrupoleGradientAndMagneticLength) {
    for (const int kind : {1, 0}) {
        LOAD_MAGNET(MAGNET(2), kind);
        for (const double r_ref : {1.0, 0.7}) {
            const multipole_figures f = FIGURES(kind == 0 ? 0 : 1, r_ref);
            ASSERT_TRUE(f.quadrupole && f.quadrupole->gradient_integral && f.quadrupole->magnetic_length);
            EXPECT_EQ(f.quadrupole->middle_node, middle);
            EXPECT_EQ(f.quadrupole->middle_z, 0.0);
            EXPECT_NEAR(f.quadrupole->gradient_middle / (1000.0 * g_middle), 1.0, 1e-9);
            EXPECT_NEAR(*f.quadrupole->gradient_integral / (1000.0 * g_integral), 1.0, 1e-9);
            EXPECT_NEAR(*f.quadrupole->magnetic_length / (g_integral / g_middle), 1.0, 1e-9);
        }
    }
}

// The writer's other quadrupole, uniform in z: Bx = 500 y, By = 500 x is normal; the upright
// electric one, Ex = 2000 x, Ey = -2000 y, has C_2 = 2000 i r_ref: skew, rolled by -45 degrees,
// no gradient G at the middle and so no magnetic length.
TEST(Multipoles, UprightQuadrupolesUniformInZ) {
    LOAD_MAGNET({}, 2, field_model::quadrupole);
    const multipole_figures b = FIGURES(1, 1.0);
    ASSERT_EQ(b.main, 2);
    EXPECT_NEAR(b.b[1], 1e4, 1e-9);
    EXPECT_NEAR(b.quadrupole->gradient_middle, 500.0, 1e-9);
    EXPECT_NEAR(*b.quadrupole->gradient_integral, 500.0 * 100.0, 1e-6);
    EXPECT_NEAR(*b.quadrupole->magnetic_length, 100.0, 1e-9);
    const multipole_figures e = FIGURES(0, 1.0);
    ASSERT_EQ(e.main, 2);
    EXPECT_NEAR(e.a[1], 1e4, 1e-9);
    EXPECT_NEAR(e.b[1], 0.0, 1e-9);
    EXPECT_NEAR(*e.roll_mrad, -250.0 * std::numbers::pi, 1e-9);
    EXPECT_NEAR((*e.integrated)[1].imag(), 2000.0 * 100.0, 1e-6);
    EXPECT_FALSE(e.quadrupole->magnetic_length);
}

// The nodes a disc holds on the 1/6 cm grid: 5 within 0.2 cm (n = 1, 2 only, still exact),
// 1 within 0.1 cm (none); a disc beyond the map is told, the map's own radius is not.
TEST(Multipoles, SmallAndLargeDiscsAreTold) {
    LOAD_MAGNET(MAGNET(2), 1);
    const full_map& m = field_grid.full;
    const multipole_figures small = FIGURES(1, 0.2);
    EXPECT_EQ(small.nodes, 5);
    EXPECT_EQ(small.order, 2);
    EXPECT_NEAR(small.b[1], 1e4, 1e-9);
    ASSERT_EQ(MULTIPOLE_NOTES(m, small).size(), 1u);
    EXPECT_EQ(MULTIPOLE_NOTES(m, small)[0], "the reference disc (r = 0.2 cm) holds 5 nodes of each z plane: the magnetic "
                                            "multipoles are fitted to n = 2 only (n = 15 needs 30 nodes)");
    const multipole_figures none = FIGURES(1, 0.1);
    EXPECT_EQ(none.order, 0);
    EXPECT_FALSE(none.integrated);
    ASSERT_EQ(MULTIPOLE_NOTES(m, none).size(), 1u);
    EXPECT_NE(MULTIPOLE_NOTES(m, none)[0].find("holds 1 node of each z plane: no magnetic multipoles"), std::string::npos);
    const multipole_figures wide = FIGURES(1, 2.5);
    ASSERT_EQ(MULTIPOLE_NOTES(m, wide).size(), 1u);
    EXPECT_NE(MULTIPOLE_NOTES(m, wide)[0].find("reaches beyond the map's transverse region (x -2 to 2, y -2 to 2 cm)"),
              std::string::npos);
    EXPECT_NEAR(wide.b[1], 1e4, 1e-9);
    EXPECT_TRUE(MULTIPOLE_NOTES(m, FIGURES(1, REFERENCE_RADIUS(m, std::nullopt))).empty());
    // The figures carry the multipoles at the radius asked for, and their notes.
    figure_request asked;
    asked.radius_cm = 0.2;
    const map_figures all = MAP_FIGURES(m, asked, 1);
    ASSERT_TRUE(all.fields[0].multipoles);
    EXPECT_EQ(all.fields[0].multipoles->r_ref, 0.2);
    EXPECT_EQ(all.notes, MULTIPOLE_NOTES(m, small));
}

// A node that is not finite inside the disc: its plane's coefficients are not finite, and no
// integrated figure is formed from them.
TEST(Multipoles, NodeNotFiniteLeavesIntegratedFiguresAbsent) {
    mapgen::map_recipe m = testing::MAP(1, 0, 0, 0);
    m.model = field_model::multipole;
    m.magnet = MAGNET(2);
    m.x_hi = m.y_hi = 2.0;
    mapgen::map_defects d;
    d.values.push_back({4, 13, 13, 40, NAN});
    testing::LOAD_ANALYTIC(m, d);
    UNFOLD_GRID();
    const multipole_planes planes = MULTIPOLE_PLANES(field_grid.full, 1, 1.0);
    EXPECT_TRUE(std::isnan(planes.c[39][1].real()));
    EXPECT_TRUE(std::isfinite(planes.c[38][1].real()));
    const multipole_figures f = MULTIPOLE_FIGURES(field_grid.full, planes);
    EXPECT_FALSE(f.integrated);
    EXPECT_EQ(f.main, 0);
    EXPECT_FALSE(f.roll_mrad);
    EXPECT_FALSE(PLANE_UNITS(planes, 40, 2, 2));
}

}  // namespace
}  // namespace orvex
