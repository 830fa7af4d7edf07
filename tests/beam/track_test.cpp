// track_test.cpp: the tracking against physical laws and closed forms: energy in a static
// magnetic field, the thick-lens matrix of a uniform quadrupole, the gain of a fast particle
// through an RF gap against the gap's figures over a whole phase scan, the Larmor rotation of a
// solenoid, losses where they must happen, and the integrator's convergence.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <sstream>
#include <numbers>

#include "field/analytic_grid.h"
#include "beam/phase_scan.h"
#include "beam/track_json.h"
#include "field/figures.h"
#include "field/unfold.h"
#include "physics_fields.h"

namespace orvex {
namespace {

using mapgen::field_model;
constexpr double pi = std::numbers::pi;
constexpr double c_b = 299.792458e-6;  // q c B / (p c) per Gs, 1/cm, for p c in MeV
constexpr double v0_gap = 1000.0 * 3.0 * 2.5066282746310002;  // 1000 V/cm x sigma sqrt(2 pi), V

// The writer's model over x, y in [-xy, xy], z in [z_lo, z_hi], no mirrors, unfolded.
void LOAD(field_model model, int kind, double xy, double z_lo, double z_hi, int mirrors = 0) {
    mapgen::map_recipe m = testing::MAP(kind, mirrors, mirrors, mirrors);
    m.model = model;
    m.x_hi = m.y_hi = xy;
    m.z_lo = z_lo;
    m.z_hi = z_hi;
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
}

// A Gaussian gap (Ez 1000 V/cm on the axis, sigma 3 cm) centred at z = centre, as a field of
// revolution free of divergence, over x, y in [-2, 2] and z in [z_lo, z_hi].
void LOAD_GAP_AT(double centre, double z_lo, double z_hi) {
    LOAD(field_model::gaussian_gap, 0, 2.0, z_lo, z_hi);
    field_grid_record& g = field_grid;
    const mapgen::axial_profile gap{1000.0, centre, 3.0, 0.0};
    std::size_t n = 0;
    for (std::size_t k = 0; k < 201; ++k)
        for (std::size_t j = 0; j < 25; ++j)
            for (std::size_t i = 0; i < 25; ++i, ++n) {
                const mapgen::vector3 e = mapgen::AXIAL_FIELD(&gap, 1, g.xmws[i], g.ymws[j], g.zmws[k]);
                g.ex_in[n] = e.x, g.ey_in[n] = e.y, g.ez_in[n] = e.z;
            }
    UNFOLD_GRID();
}

track_request REQUEST(std::string_view who, double w_mev) {
    track_request r;
    r.who = *PARTICLE_NAMED(who);
    r.energy_mev = w_mev;
    return r;
}

TEST(Particles, NamedAndGivenByMassAndCharge) {
    EXPECT_EQ(PARTICLE_NAMED("alpha")->mass_mev, 3727.3794066);
    EXPECT_EQ(PARTICLE_NAMED("electron")->charge, -1.0);
    const auto pion = PARTICLE_NAMED("139.57039,1");
    ASSERT_TRUE(pion);
    EXPECT_EQ(pion->mass_mev, 139.57039);
    std::string why;
    for (const char* bad : {"muon", "0,1", "1,0", "-1,1", "1,", ",1", "nan,1", "1,2,3"}) {
        EXPECT_FALSE(PARTICLE_NAMED(bad, &why)) << bad;
        EXPECT_EQ(why, particle_rule) << bad;
    }
    // p c = sqrt(E^2 - (m c^2)^2) with E = W + m c^2: a proton of 1 GeV.
    const double m = 938.27208816, e = 1000.0 + m;
    EXPECT_NEAR(MOMENTUM_MEV(*PARTICLE_NAMED("proton"), 1000.0), std::sqrt(e * e - m * m), 1e-9);
    EXPECT_NEAR(BETA_AT(*PARTICLE_NAMED("proton"), 1000.0), std::sqrt(1.0 - (m / e) * (m / e)), 1e-15);
}

// The magnetic force does no work: a proton that spirals far off the axis through a solenoid
// keeps its kinetic energy.
TEST(Tracking, StaticMagneticFieldKeepsTheEnergy) {
    LOAD(field_model::solenoid, 1, 2.0, -20.0, 20.0);
    track_request r = REQUEST("proton", 0.5);
    r.x_cm = 0.7, r.yp_mrad = 20.0, r.xp_mrad = -15.0;
    const track_result t = TRACK(field_grid.full, r);
    ASSERT_EQ(t.loss, track_loss::none);
    EXPECT_GT(std::hypot(t.last.x - t.entry.x, t.last.y - t.entry.y), 0.1);  // it did turn
    EXPECT_LE(std::fabs(t.last.w - r.energy_mev), 1e-10 * r.energy_mev);
}

// In a static electric field the gain is the fall of the potential: q (V(entry) - V(exit)),
// with V = 1000 V cosh(a x) cosh(b y) cos(c z) of the harmonic model, off the axis and at a slant
// (the map ends where Ez and its curvature vanish, z c = -3 pi and 2 pi, so that the cubic rule's
// extrapolated end cells hold the field as well as the others).
TEST(Tracking, StaticElectricFieldGainsThePotentialDifference) {
    const double c = std::sqrt(0.13), z_in = -3.0 * pi / c, z_out = 2.0 * pi / c;
    LOAD(field_model::harmonic, 0, 2.0, z_in, z_out);
    const auto potential = [](double x, double y, double z) {
        return 1000.0 * std::cosh(0.3 * x) * std::cosh(0.2 * y) * std::cos(std::sqrt(0.13) * z);
    };
    for (const char* who : {"proton", "alpha"}) {
        track_request r = REQUEST(who, 0.5);
        r.x_cm = 0.5, r.y_cm = -0.3, r.xp_mrad = 3.0, r.yp_mrad = 2.0;  // the slopes do work in Ex, Ey
        const track_result t = TRACK(field_grid.full, r);
        ASSERT_EQ(t.loss, track_loss::none);
        const double want = r.who.charge * 1e-6 * (potential(0.5, -0.3, z_in) - potential(t.last.x, t.last.y, z_out));
        EXPECT_GT(std::fabs(want), 1e-3);  // a rise of some 2 kV
        EXPECT_NEAR(t.gain_mev, want, 1e-6 * std::fabs(want)) << who;
    }
}

// A uniform quadrupole (By = G x, Bx = G y) over the whole map is a thick lens with hard edges:
// cos / sin in x for a positive particle, cosh / sinh in y; the time of flight on the axis is L / v.
TEST(Tracking, QuadrupoleIsTheThickLens) {
    LOAD(field_model::quadrupole, 1, 2.0, -50.0, 50.0);
    const track_request r = REQUEST("proton", 800.0);
    const track_result t = TRACK(field_grid.full, r);
    ASSERT_EQ(t.loss, track_loss::none);
    const double pc = MOMENTUM_MEV(r.who, r.energy_mev), length = 100.0;
    EXPECT_NEAR(t.time_of_flight_ns, length / (BETA_AT(r.who, r.energy_mev) * 29.9792458), 1e-12);
    const std::optional<transfer_matrix> m = TRANSFER_MATRIX(field_grid.full, r, t);
    ASSERT_TRUE(m);
    const double k = std::sqrt(c_b * 500.0 / pc), phase = k * length;  // 1/cm, rad
    // (mm, mrad): R12 in cm/rad is 1e-2 m, R21 in 1/cm is 1e2 1/m.
    const std::array<std::array<double, 4>, 4> want{{
        {std::cos(phase), std::sin(phase) / k * 1e-2, 0.0, 0.0},
        {-k * std::sin(phase) * 1e2, std::cos(phase), 0.0, 0.0},
        {0.0, 0.0, std::cosh(phase), std::sinh(phase) / k * 1e-2},
        {0.0, 0.0, k * std::sinh(phase) * 1e2, std::cosh(phase)},
    }};
    for (std::size_t i = 0; i < 4; ++i)
        for (std::size_t j = 0; j < 4; ++j) EXPECT_NEAR(m->r[i][j], want[i][j], 1e-6 * std::max(1.0, std::fabs(want[i][j]))) << i << j;
    ASSERT_TRUE(m->focal_x_m && m->focal_y_m);
    EXPECT_NEAR(*m->focal_x_m, 1.0 / (k * std::sin(phase) * 1e2), 1e-6);
    EXPECT_LT(*m->focal_y_m, 0.0);  // defocusing in y
}

// A particle fast and heavy enough to keep its speed through a gap gains q V(beta)
// cos(phi - phi_crest) at every phase, with V(beta) = V0 exp(-(q sigma)^2 / 2) and the crest
// -q (c - z0) of a gap centred at c, the RF clock starting at z0 = 0, or at the middle plane of
// a map that does not hold z = 0; the crest found by the scan is there.
TEST(Tracking, FastParticleGainsTheGapVoltageOverTheWholeScan) {
    struct row {
        double centre, z_lo, z_hi, origin;
    };
    for (const row& w : {row{7.0, -50.0, 50.0, 0.0}, row{63.0, 10.0, 110.0, 60.0}}) {
        const double frequency = 352.21;
        LOAD_GAP_AT(w.centre, w.z_lo, w.z_hi);
        EXPECT_EQ(RF_TIME_ORIGIN(field_grid.full), w.origin);
        track_request r = REQUEST("alpha", 8000.0);
        r.frequency_mhz = frequency;
        const double beta = BETA_AT(r.who, r.energy_mev);
        const double q = 2.0 * pi * frequency * 1e6 / (beta * 29'979'245'800.0);
        const double v = v0_gap * std::exp(-(q * 3.0) * (q * 3.0) / 2.0), crest = -q * (w.centre - w.origin) * 180.0 / pi;
        const std::optional<rf_figures> rf = RF_AT_BETA(field_grid.full, frequency, beta);
        ASSERT_TRUE(rf && rf->crest_phase);
        EXPECT_NEAR(rf->gain, v, 1e-9 * v);
        EXPECT_NEAR(*rf->crest_phase, crest, 1e-9);

        const phase_scan s = PHASE_SCAN(field_grid.full, r, 36);
        ASSERT_EQ(s.tracks.size(), 36u);
        const double volts_to_mev = 2.0 * 1e-6;  // charge 2
        for (std::size_t k = 0; k < 36; ++k) {
            ASSERT_EQ(s.tracks[k].loss, track_loss::none);
            EXPECT_EQ(s.phases_deg[k], -180.0 + 10.0 * static_cast<double>(k));
            const double want = volts_to_mev * v * std::cos((s.phases_deg[k] - crest) * pi / 180.0);
            EXPECT_NEAR(s.tracks[k].gain_mev, want, 1e-4 * volts_to_mev * v) << s.phases_deg[k];
        }
        ASSERT_TRUE(s.crest && s.crest->refined);
        EXPECT_NEAR(s.crest->phase_deg, crest, 1e-2);
        EXPECT_NEAR(s.crest->track.gain_mev, volts_to_mev * v, 1e-4 * volts_to_mev * v);
        for (const track_result& t : s.tracks) EXPECT_LE(t.gain_mev, s.crest->track.gain_mev);
        // The clock reads 0 where the particle crosses z0.
        std::vector<track_point> path;
        track_options o;
        o.trajectory = &path;
        const track_result t = TRACK(field_grid.full, r, o);
        for (const track_point& p : path) {
            if (p.z == w.origin) {
                EXPECT_LT(std::fabs(p.t), 1e-12);
            }
        }
        EXPECT_EQ(path.back().w, t.last.w);
    }
}

// Through a solenoid the matrix is a rotation by the Larmor angle theta = q integral(Bz) / (2 p)
// (x + i y turned by -theta for theta > 0) times one focusing block for both planes, and it is
// symplectic. (The map
// is mirrored in x, y and z for fine nodes: between nodes the interpolated Br and Bz agree to
// about dz^2, which shows in this form as about 1e-5 theta^4.)
TEST(Tracking, SolenoidMatrixRotatesByTheLarmorAngle) {
    LOAD(field_model::gaussian_solenoid, 1, 2.0, 0.0, 20.0, 1);
    for (const char* who : {"electron", "proton"}) {
        const track_request r = REQUEST(who, 5.0);  // theta -0.205 and 0.0116 rad
        const track_result t = TRACK(field_grid.full, r);
        const std::optional<transfer_matrix> m = TRANSFER_MATRIX(field_grid.full, r, t);
        ASSERT_TRUE(m);
        const double theta = r.who.charge * c_b * v0_gap / (2.0 * MOMENTUM_MEV(r.who, r.energy_mev));
        const double c = std::cos(theta), s = std::sin(theta);
        for (std::size_t i = 0; i < 2; ++i)
            for (std::size_t j = 0; j < 2; ++j) {
                // The focusing block F from the diagonal blocks, C F = R(x, x) = R(y, y).
                const double f = (m->r[i][j] + m->r[i + 2][j + 2]) / (2.0 * c);
                const double scale = 1e-6 * std::max(1.0, std::fabs(f));
                EXPECT_NEAR(m->r[i][j], c * f, scale) << who << i << j;
                EXPECT_NEAR(m->r[i + 2][j + 2], c * f, scale) << who << i << j;
                EXPECT_NEAR(m->r[i][j + 2], s * f, scale) << who << i << j;
                EXPECT_NEAR(m->r[i + 2][j], -s * f, scale) << who << i << j;
            }
        // A static magnetic field between field-free ends keeps phase space: R^T J R = J.
        const std::array<std::array<double, 4>, 4> j{{{0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, -1, 0}}};
        for (std::size_t a = 0; a < 4; ++a)
            for (std::size_t b = 0; b < 4; ++b) {
                double sum = 0.0;
                for (std::size_t p = 0; p < 4; ++p)
                    for (std::size_t q = 0; q < 4; ++q) sum += m->r[p][a] * j[p][q] * m->r[q][b];
                EXPECT_NEAR(sum, j[a][b], 1e-6) << who << a << b;
            }
    }
}

// A particle that leaves the region is lost at its edge; an electron too slow to climb the
// gap's potential turns back where its kinetic energy is spent: W0 = e integral of Ez up to z.
TEST(Tracking, LostParticlesSayWhereAndWhy) {
    LOAD(field_model::quadrupole, 1, 2.0, -50.0, 50.0);
    track_request r = REQUEST("proton", 800.0);
    r.y_cm = 0.5;  // defocused in y by cosh(3.3)
    r.x_cm = 1.0, r.xp_mrad = 30.0;
    const track_result out = TRACK(field_grid.full, r);
    ASSERT_EQ(out.loss, track_loss::left_region);
    EXPECT_LT(out.last.z, 50.0);
    EXPECT_NEAR(std::max(std::fabs(out.last.x), std::fabs(out.last.y)), 2.0, 1e-4);
    EXPECT_FALSE(TRANSFER_MATRIX(field_grid.full, r, out));

    LOAD(field_model::gaussian_gap, 0, 2.0, -30.0, 30.0);
    const double w0 = 0.005;  // MeV: 5 kV of the 7.52 kV
    const track_result back = TRACK(field_grid.full, REQUEST("electron", w0));
    ASSERT_EQ(back.loss, track_loss::turned_back);
    // 1000 sigma sqrt(pi / 2) (1 + erf(z / (sigma sqrt 2))) = W0 / e.
    double lo = -30.0, hi = 30.0;
    for (int it = 0; it < 200; ++it) {
        const double mid = (lo + hi) / 2.0;
        (1000.0 * 3.0 * std::sqrt(pi / 2.0) * (1.0 + std::erf(mid / (3.0 * std::sqrt(2.0)))) < w0 * 1e6 ? lo : hi) = mid;
    }
    EXPECT_NEAR(back.last.z, lo, 1e-3);
    EXPECT_LT(back.last.w, 1e-3 * w0);
}

// What cannot be tracked is refused before anything is tracked, with why.
TEST(Tracking, RefusalsSayWhy) {
    LOAD(field_model::quadrupole, 1, 2.0, -50.0, 50.0);
    struct row {
        double w, x, frequency;
        const char* says;
    };
    for (const row& w : {row{0.0, 0.0, 352.0, "the kinetic energy must be a number of MeV above 0"},
                         row{1.0, 2.5, 352.0, "the start (x, y) = (2.5, 0) cm lies outside the map's transverse region "
                                              "x in [-2, 2], y in [-2, 2] cm"},
                         row{1.0, 0.0, -1.0, "the frequency needs a positive number of MHz"}}) {
        track_request r = REQUEST("proton", 1.0);
        r.energy_mev = w.w, r.x_cm = w.x, r.frequency_mhz = w.frequency;
        EXPECT_EQ(TRACK_REFUSAL(field_grid.full, r), w.says);
    }
    EXPECT_EQ(TRACK_REFUSAL(field_grid.full, REQUEST("proton", 1.0)), "");
}

// The trajectory CSV holds every step, entry first and exit last, and reads back as the same
// doubles.
TEST(Tracking, TrajectoryCsvReadsBackExactly) {
    LOAD(field_model::quadrupole, 1, 2.0, -50.0, 50.0);
    track_request r = REQUEST("proton", 800.0);
    r.x_cm = 0.1, r.yp_mrad = -0.5;
    std::vector<track_point> path;
    track_options o;
    o.trajectory = &path;
    const track_result t = TRACK(field_grid.full, r, o);
    ASSERT_EQ(path.size(), static_cast<std::size_t>(t.steps) + 1);
    std::istringstream csv(TRAJECTORY_CSV(path, "EM_quad.bin", r));
    std::string line;
    std::getline(csv, line);
    EXPECT_EQ(line, "z,x,y,xp,yp,W,t");
    std::size_t rows = 0;
    while (std::getline(csv, line)) {
        if (line.starts_with('#')) continue;
        std::array<double, 7> v{};
        const char* at = line.data();
        for (double& x : v) at = std::from_chars(at, line.data() + line.size(), x).ptr + 1;
        const track_point& p = path[rows++];
        EXPECT_EQ(v, (std::array<double, 7>{p.z, p.x, p.y, p.xp, p.yp, p.w, p.t}));
    }
    EXPECT_EQ(rows, path.size());
    EXPECT_EQ(path.back().xp, t.last.xp);
    EXPECT_EQ(path.front().x, 0.1);
}

// Halving every step changes the gain by less than 1e-9 of it and the exit slopes by less than
// 1e-9 mrad: slow and fast particles, RF and static fields, electric and magnetic.
TEST(Tracking, HalvingTheStepChangesNothingThatShows) {
    struct row {
        field_model model;
        int kind;
        const char* who;
        double w_mev;
        std::optional<double> frequency;
        double phase, x, xp;
    };
    const row rows[] = {
        {field_model::gaussian_gap, 0, "proton", 2.0, 352.21, -30.0, 0.3, 1.0},
        {field_model::gaussian_gap, 0, "electron", 0.1, 1300.0, 20.0, 0.2, -2.0},
        {field_model::pillbox, 2, "electron", 1.0, 1300.0, 10.0, 0.5, 0.0},
        {field_model::harmonic, 2, "proton", 20.0, 200.0, 45.0, 0.5, 3.0},
        {field_model::lens_doublet, 2, "deuteron", 10.0, std::nullopt, 0.0, 0.4, 1.0},
        {field_model::rfq_cell, 0, "proton", 3.0, 352.21, -90.0, 0.05, 0.0},
    };
    for (const row& w : rows) {
        LOAD(w.model, w.kind, 2.0, -30.0, 30.0);
        track_request r = REQUEST(w.who, w.w_mev);
        r.frequency_mhz = w.frequency;
        r.phase_deg = w.phase, r.x_cm = w.x, r.xp_mrad = w.xp, r.y_cm = -0.1;
        const track_result t = TRACK(field_grid.full, r);
        ASSERT_EQ(t.loss, track_loss::none) << w.who;
        const std::optional<halving_check> h = HALVING_CHECK(field_grid.full, r, t);
        ASSERT_TRUE(h);
        EXPECT_LT(h->gain_change_mev, 1e-9 * std::fabs(t.gain_mev)) << w.who << " gain " << t.gain_mev;
        EXPECT_LT(h->slope_change_mrad, 1e-9) << w.who;
    }
}

}  // namespace
}  // namespace orvex
