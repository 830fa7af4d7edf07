// figures_test.cpp: the figures against closed forms on fields free of divergence written by the
// map writer (a Gaussian Ez on the axis, a Gaussian solenoid, a linear quadrupole, the gradients
// of harmonic potentials, the bundled devices), the divergence note on a solenoid whose Bx has
// the wrong sign, and the JSON document read back.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <nlohmann/json.hpp>
#include <numbers>
#include <regex>
#include <string>
#include <thread>

#include "field/figures.h"
#include "field/figures_json.h"
#include "field/unfold.h"
#include "analytic_grid.h"

namespace orvex {
namespace {

using mapgen::field_model;
using testing::LOAD_ANALYTIC;
using testing::MAP;

constexpr double pi = std::numbers::pi;
constexpr double sigma = 3.0;  // cm, of the Gaussian models

// Loads the model's map (kind, flags, x = y in [-xy, xy], z in [-z, z]) and unfolds both fields.
void LOAD(field_model model, int kind, int yz, int xz, int xy, double xy_hi, double z_hi, const mapgen::map_defects& d = {}) {
    mapgen::map_recipe m = MAP(kind, yz, xz, xy);
    m.model = model;
    m.x_hi = m.y_hi = xy_hi;
    m.z_hi = z_hi;
    LOAD_ANALYTIC(m, d);
    UNFOLD_GRID();
}

double RELATIVE(double got, double want) { return std::fabs(got - want) / std::fabs(want); }

TEST(Figures, GaussianGapMeetsItsTransitTimeFactor) {
    LOAD(field_model::gaussian_gap, 0, 1, 1, 0, 2.0, 30.0);
    const double frequency = 352.21;
    const field_figures f = COMPUTE_FIGURES(field_grid.full, 0, {frequency, 0.5});
    ASSERT_TRUE(f.axial_voltage);
    EXPECT_LT(RELATIVE(*f.axial_voltage, 1000.0 * sigma * std::sqrt(2.0 * pi)), 1e-12);
    // The largest Ez lies on the middle node of the axis, z = 0.
    EXPECT_EQ(f.lines[2].components[2].largest->node, 101);
    EXPECT_EQ(f.lines[2].components[2].largest->position, 0.0);
    for (const double beta : {1.0, 0.5, 0.2}) {
        const auto rf = RF_AT_BETA(field_grid.full, frequency, beta);
        ASSERT_TRUE(rf && rf->transit_time && rf->crest_phase && rf->single_gap_transit_time);
        const double q = 2.0 * pi * frequency * 1e6 / (beta * 29'979'245'800.0);
        EXPECT_LT(RELATIVE(*rf->transit_time, std::exp(-(q * sigma) * (q * sigma) / 2.0)), 1e-12) << beta;
        EXPECT_LT(RELATIVE(rf->gain, *f.axial_voltage * *rf->transit_time), 1e-12) << beta;
        EXPECT_LT(std::fabs(*rf->crest_phase), 1e-9) << beta;  // a gap centred on z = 0
        // Ez >= 0 everywhere: the sum of |Ez| is V0 and the two transit-time factors agree.
        EXPECT_LT(RELATIVE(*rf->single_gap_transit_time, *rf->transit_time), 1e-12) << beta;
    }
    ASSERT_TRUE(f.at_beta && f.best);
    EXPECT_EQ(f.at_beta->beta, 0.5);
    EXPECT_NEAR(f.best->beta, 1.0, 1e-6);  // the gain of a single gap rises with beta
    ASSERT_TRUE(f.divergence);
    EXPECT_LT(f.divergence->ratio, 1e-2);
}

// The best beta of a field whose gain has its peak inside the range: no beta on a fine grid
// gains more, and it is a maximum to 1e-6 in beta.
TEST(Figures, BestBetaIsTheLargestGain) {
    LOAD(field_model::harmonic, 0, 1, 1, 1, 2.0, 50.0);
    const double frequency = 0.4 * std::sqrt(0.13) * 29'979'245'800.0 / (2.0 * pi * 1e6);  // q = c at beta 0.4
    const auto best = COMPUTE_FIGURES(field_grid.full, 0, {frequency, std::nullopt}).best;
    ASSERT_TRUE(best);
    EXPECT_NEAR(best->beta, 0.4, 0.02);
    for (int n = 0; n <= 20000; ++n) {
        const double beta = 0.001 + 0.999 * n / 20000.0;
        ASSERT_LE(RF_AT_BETA(field_grid.full, frequency, beta)->gain, best->gain * (1.0 + 1e-12)) << beta;
    }
    for (const double side : {-1e-6, 1e-6})
        EXPECT_LT(RF_AT_BETA(field_grid.full, frequency, best->beta + side)->gain, best->gain);
}

TEST(Figures, GaussianSolenoidEffectiveLengthAndWrongSignNote) {
    LOAD(field_model::gaussian_solenoid, 1, 1, 1, 1, 2.0, 30.0);
    field_figures f = COMPUTE_FIGURES(field_grid.full, 1, {});
    ASSERT_TRUE(f.bz_integral && f.bz2_integral && f.effective_length && f.hard_edge_field);
    EXPECT_LT(RELATIVE(*f.bz_integral, 1000.0 * sigma * std::sqrt(2.0 * pi)), 1e-12);
    EXPECT_LT(RELATIVE(*f.bz2_integral, 1e6 * sigma * std::sqrt(pi)), 1e-12);
    EXPECT_LT(RELATIVE(*f.effective_length, 2.0 * std::sqrt(pi) * sigma), 1e-12);
    EXPECT_LT(RELATIVE(*f.hard_edge_field, 1000.0 / std::sqrt(2.0)), 1e-12);
    ASSERT_TRUE(f.divergence);
    EXPECT_LT(f.divergence->ratio, 1e-2);
    EXPECT_EQ(DIVERGENCE_NOTE(1, *f.divergence), "");

    mapgen::map_defects wrong;
    wrong.negate[3] = true;  // Bx
    LOAD(field_model::gaussian_solenoid, 1, 1, 1, 1, 2.0, 30.0, wrong);
    const auto d = DIVERGENCE(field_grid.full, 1);
    ASSERT_TRUE(d);
    EXPECT_GT(d->ratio, 0.3);
    EXPECT_LE(d->ratio, 1.0);
    // The node named is where the sum is largest, at the coordinates the page gives it.
    EXPECT_EQ(d->x, (d->i - 1) * ((field_grid.full.xmax - field_grid.full.xmin) / (field_grid.full.nx - 1)) + field_grid.full.xmin);
    EXPECT_TRUE(std::regex_match(DIVERGENCE_NOTE(1, *d),
                                 std::regex("the divergence of B reaches 0\\.[3-9][0-9]? of its terms at node \\(\\d+, \\d+, \\d+\\) "
                                            "\\(x = [-0-9.e]+, y = [-0-9.e]+, z = [-0-9.e]+ cm\\): a component's sign, "
                                            "axis or unit may be wrong")))
        << DIVERGENCE_NOTE(1, *d);
}

TEST(Figures, QuadrupoleGradientsAndAbsentFigures) {
    LOAD(field_model::quadrupole, 2, 1, 1, 0, 2.0, 50.0);
    const field_figures b = COMPUTE_FIGURES(field_grid.full, 1, {});
    ASSERT_TRUE(b.gradient && b.gradient->integral);
    EXPECT_LT(RELATIVE(b.gradient->largest, 500.0), 1e-12);
    EXPECT_LT(RELATIVE(*b.gradient->integral, 500.0 * 100.0), 1e-12);
    // By = G x along line 1: its extremes at the ends; along line 5 (x = M) a constant.
    EXPECT_EQ(b.lines[0].components[1].smallest->node, 1);
    EXPECT_LT(RELATIVE(b.lines[0].components[1].smallest->value, -1000.0), 1e-12);
    EXPECT_EQ(b.lines[0].components[1].largest->node, 49);
    const double x_m = (LINE_INDICES(field_grid.full, 5).first - 1) * (4.0 / 48.0) - 2.0;
    EXPECT_LT(RELATIVE(*b.lines[4].components[1].integral, 500.0 * x_m * 100.0), 1e-12);
    // Bz is 0 on the axis: no effective length, no hard-edge field; every term of the
    // divergence is 0: no figure.
    EXPECT_EQ(*b.bz_integral, 0.0);
    EXPECT_FALSE(b.effective_length || b.hard_edge_field || b.divergence);

    const field_figures e = COMPUTE_FIGURES(field_grid.full, 0, {352.0, 0.5});
    ASSERT_TRUE(e.gradient && e.at_beta && e.divergence);
    EXPECT_LT(RELATIVE(e.gradient->largest, 2000.0), 1e-12);
    EXPECT_LT(RELATIVE(*e.gradient->integral, 2000.0 * 100.0), 1e-12);
    EXPECT_EQ(e.at_beta->gain, 0.0);  // Ez is 0: no phase, no transit-time factor, no best beta
    EXPECT_FALSE(e.at_beta->crest_phase || e.at_beta->transit_time || e.at_beta->single_gap_transit_time || e.best);
    EXPECT_LT(e.divergence->ratio, 1e-12);

    // The document: what is absent is an absent key; every number reads back as computed.
    const std::array<field_figures, 2> both{e, b};
    const std::array<std::string_view, 1> notes{"a note"};
    const std::string text = FIGURES_JSON({"program", "MW_quad.txt", &field_grid.full, {352.0, 0.5}, both, notes});
    EXPECT_EQ(text.find("null"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    const nlohmann::json doc = nlohmann::json::parse(text);
    EXPECT_EQ(doc["map"]["file"], "MW_quad.txt");
    EXPECT_EQ(doc["request"]["beta"].get<double>(), 0.5);
    ASSERT_EQ(doc["fields"].size(), 2u);
    const auto& axis_b = doc["fields"][1]["axis"];
    EXPECT_FALSE(axis_b.contains("effective_length_cm") || axis_b.contains("hard_edge_field_Gs"));
    EXPECT_EQ(axis_b["gradient"]["largest"].get<double>(), b.gradient->largest);
    EXPECT_FALSE(doc["fields"][1].contains("divergence"));
    EXPECT_FALSE(doc["fields"][0]["axis"]["at_beta"].contains("T"));
    EXPECT_EQ(doc["fields"][0]["divergence"]["D"].get<double>(), e.divergence->ratio);
    const auto& line5 = doc["fields"][1]["lines"][4];
    EXPECT_EQ(line5["By"]["integral"].get<double>(), *b.lines[4].components[1].integral);
    EXPECT_EQ(line5["fixed_nodes"][0], LINE_INDICES(field_grid.full, 5).first);
    EXPECT_EQ(doc["notes"][0], "a note");
}

// An RF mode whose fields belong together (a pillbox's TM010 at its frequency) passes the curl
// check; at another frequency k is the ratio of the frequencies; with B stored with the other
// sign k is -1 and the note says so; a static E beside an unrelated B has no curl to match
// (k = 0, C = 1). Without a frequency or with one field there is no check.
TEST(Figures, CurlCheckMatchesFaradaysLaw) {
    struct row {
        field_model model;
        double frequency;
        bool flip_b;
        double ratio_below, ratio_above, k;
        const char* note;
    };
    const row rows[] = {
        {field_model::pillbox, 1300.0, false, 1e-3, 0.0, 1.0, ""},
        {field_model::pillbox, 1625.0, false, 0.13, 0.1, 0.8, "the frequency, a unit or a component may be wrong"},
        {field_model::pillbox, 1300.0, true, 1.0 + 1e-12, 0.999, -1.0, "B seems stored with the other sign"},
        {field_model::harmonic, 1300.0, false, 1.0 + 1e-12, 0.99, 0.0, "the frequency, a unit or a component may be wrong"},
    };
    for (const row& r : rows) {
        mapgen::map_defects d;
        d.negate[3] = d.negate[4] = d.negate[5] = r.flip_b;
        LOAD(r.model, 2, 1, 1, 0, 2.0, 10.0, d);
        const map_figures f = MAP_FIGURES(field_grid.full, {r.frequency, std::nullopt, false}, 0);
        ASSERT_TRUE(f.curl && f.curl->factor) << r.frequency;
        EXPECT_LT(f.curl->ratio, r.ratio_below) << r.frequency;
        EXPECT_GE(f.curl->ratio, r.ratio_above) << r.frequency;
        EXPECT_NEAR(*f.curl->factor, r.k, 2e-3) << r.frequency;
        const std::string note = CURL_NOTE(*f.curl);
        EXPECT_TRUE(note.ends_with(r.note)) << note;
        EXPECT_EQ(f.notes.empty(), std::string(r.note).empty()) << note;
        if (!note.empty()) {
            EXPECT_EQ(f.notes.back(), note);
            EXPECT_TRUE(note.starts_with("the curl of E and -w B at ")) << note;
        }
    }
    // The document carries it; without a frequency there is none.
    const map_figures with = MAP_FIGURES(field_grid.full, {1300.0, std::nullopt, false}, 0);
    const nlohmann::json doc = nlohmann::json::parse(FIGURES_JSON({"program", "MW_h.txt", &field_grid.full, {1300.0, std::nullopt, false},
                                                                   with.fields, {}, &*with.curl}));
    EXPECT_EQ(doc["curl"]["C"].get<double>(), with.curl->ratio);
    EXPECT_EQ(doc["curl"]["k"].get<double>(), *with.curl->factor);
    EXPECT_FALSE(MAP_FIGURES(field_grid.full, {}, 0).curl);
    LOAD(field_model::gaussian_gap, 0, 1, 1, 0, 2.0, 10.0);
    EXPECT_FALSE(CURL_CHECK(field_grid.full, 1300.0));
}

// Fields free of divergence raise no note: the harmonic models of every kind and symmetry, and
// the bundled examples with the recipes of scripts/demo.sh.
TEST(Figures, DivergenceFreeMapsRaiseNoNote) {
    for (int kind = 0; kind <= 2; ++kind)
        for (int flags = 0; flags < 8; ++flags) {
            LOAD(field_model::harmonic, kind, flags & 1, (flags >> 1) & 1, (flags >> 2) & 1, 2.0, 50.0);
            for (int field = 0; field <= 1; ++field) {
                if (kind != 2 && field != kind) continue;
                const auto d = DIVERGENCE(field_grid.full, field);
                ASSERT_TRUE(d) << kind << " " << flags;
                EXPECT_LT(d->ratio, 5e-3) << kind << " " << flags << " " << field;
            }
        }
    LOAD(field_model::rfq_cell, 0, 1, 1, 1, 0.4, 12.0);
    EXPECT_LT(DIVERGENCE(field_grid.full, 0)->ratio, divergence_note_threshold);
    LOAD(field_model::solenoid, 1, 1, 1, 0, 2.0, 30.0);
    EXPECT_LT(DIVERGENCE(field_grid.full, 1)->ratio, divergence_note_threshold);
    LOAD(field_model::lens_doublet, 2, 0, 0, 1, 1.0, 15.0);
    EXPECT_LT(DIVERGENCE(field_grid.full, 0)->ratio, divergence_note_threshold);
    EXPECT_LT(DIVERGENCE(field_grid.full, 1)->ratio, divergence_note_threshold);
}

// The harmonic model at about six nodes a wavelength along z: free of divergence, yet its central
// differences along z fall short by sin(c h)/(c h), so D reaches about 0.095. D has a closed form
// (every term carries the same factor of x, y, z): with s = sinh(a h)/(a h), sinh(b h)/(b h),
// sin(c h)/(c h) and the sign of each component, D = |sum of +-k^2 s| / sum of k^2 s. The
// check says the sampling is too coarse, and still blames a flipped component, any of the six.
TEST(Figures, DivergenceCheckKnowsItsResolution) {
    const double a = 0.3, b = 0.2, c = std::sqrt(a * a + b * b);
    const double z_hi = 100.0 * (2.0 * pi / c) / 6.0, hx = 4.0 / 24.0, hz = 2.0 * z_hi / 200.0;
    const std::array<double, 3> k2s{a * a * std::sinh(a * hx) / (a * hx), b * b * std::sinh(b * hx) / (b * hx),
                                    c * c * std::sin(c * hz) / (c * hz)};
    // The signs of the three terms: E = -grad of a potential, B = +grad of one.
    const std::array<std::array<double, 3>, 2> sign{{{-1.0, -1.0, 1.0}, {1.0, 1.0, -1.0}}};
    for (int flipped = -1; flipped < 6; ++flipped) {
        mapgen::map_defects defects;
        if (flipped >= 0) defects.negate[static_cast<std::size_t>(flipped)] = true;
        LOAD(field_model::harmonic, 2, 0, 0, 0, 2.0, z_hi, defects);
        for (int field = 0; field <= 1; ++field) {
            SCOPED_TRACE(std::to_string(flipped) + " " + std::to_string(field));
            const auto d = DIVERGENCE(field_grid.full, field);
            ASSERT_TRUE(d);
            double sum = 0.0;
            for (int t = 0; t < 3; ++t) sum += (flipped == 3 * field + t ? -1.0 : 1.0) * sign[field][t] * k2s[t];
            EXPECT_NEAR(d->ratio, std::fabs(sum) / (k2s[0] + k2s[1] + k2s[2]), 1e-9);
            const bool blamed = flipped / 3 == field && flipped >= 0;
            EXPECT_EQ(DIVERGENCE_VERDICT(*d), blamed ? divergence_verdict::suspect : divergence_verdict::too_coarse);
            EXPECT_EQ(DIVERGENCE_NOTE(field, *d).ends_with("a component's sign, axis or unit may be wrong"), blamed);
            EXPECT_EQ(DIVERGENCE_NOTE(field, *d).ends_with("cost up to 0.076 on this sampling (mostly along z): the map is "
                                                           "too coarse along z to judge its divergence"), !blamed);
        }
    }
    // The document carries what the check computed.
    const map_figures both = MAP_FIGURES(field_grid.full, {}, 0);
    const nlohmann::json doc = nlohmann::json::parse(FIGURES_JSON({"program", "MW_h.txt", &field_grid.full, {}, both.fields, {}}));
    EXPECT_EQ(doc["fields"][0]["divergence"]["verdict"], "too_coarse");
    EXPECT_EQ(doc["fields"][1]["divergence"]["verdict"], "suspect");
    EXPECT_EQ(doc["fields"][0]["divergence"]["R"].get<double>(), both.fields[0].divergence->resolution);
}

// The check by a second program written from its definition, node by node, on a map with a block
// of nodes holding no field (an electrode): the nodes beside it are left out, the stencils
// beside it are one-sided. Gives D, R, the node of D and the count of nodes taken.
std::array<double, 6> DIVERGENCE_BY_DEFINITION(const full_map& m, int field) {
    const component_triple f = FIELD_TRIPLE(m, field);
    const auto F = [&](int c, std::array<int, 3> n) { return (*f[static_cast<std::size_t>(c)])[FULL_INDEX(n[0], n[1], n[2])]; };
    const auto empty = [&](std::array<int, 3> n) { return F(0, n) == 0 && F(1, n) == 0 && F(2, n) == 0; };
    const std::array<int, 3> count{m.nx, m.ny, m.nz};
    std::array<double, 6> r{-1.0, 0.0, 0, 0, 0, 0};  // largest |sum|, then D; R; i, j, k; nodes
    double terms_max = 0.0, error_max = 0.0;
    for (int k = 2; k < m.nz; ++k)
        for (int j = 2; j < m.ny; ++j)
            for (int i = 2; i < m.nx; ++i) {
                double sum = 0.0, terms = 0.0, error = 0.0;
                bool left_out = false;
                for (int a = 0; a < 3; ++a) {
                    const auto at = [&](int step) {
                        std::array<int, 3> n{i, j, k};
                        n[static_cast<std::size_t>(a)] += step;
                        return n;
                    };
                    const auto v = [&](int step) { return F(a, at(step)); };
                    const auto fits = [&](int step) {
                        const int n = at(step)[static_cast<std::size_t>(a)];
                        return n >= 1 && n <= count[static_cast<std::size_t>(a)] && !empty(at(step));
                    };
                    left_out = left_out || empty(at(-1)) || empty(at(1));
                    const std::span<const double> c = AXIS_COORDINATES(m, "xyz"[a]);
                    const double s = c[static_cast<std::size_t>(at(1)[static_cast<std::size_t>(a)] - 1)] -
                                     c[static_cast<std::size_t>(at(-1)[static_cast<std::size_t>(a)] - 1)];
                    sum += (v(1) - v(-1)) / s, terms += std::fabs((v(1) - v(-1)) / s);
                    const double t = fits(-2) && fits(2) ? (v(2) - 2 * v(1) + 2 * v(-1) - v(-2)) / 2
                                     : fits(2)           ? v(2) - 3 * v(1) + 3 * v(0) - v(-1)
                                     : fits(-2)          ? v(1) - 3 * v(0) + 3 * v(-1) - v(-2) : 0.0;
                    error += std::fabs(t) / (3 * s);
                }
                if (left_out) continue;
                r[5] += 1, terms_max = std::max(terms_max, terms), error_max = std::max(error_max, error);
                if (std::fabs(sum) > r[0]) r[0] = std::fabs(sum), r[2] = i, r[3] = j, r[4] = k;
            }
    r[0] /= terms_max;
    r[1] = error_max / terms_max;
    return r;
}

TEST(Figures, DivergenceCheckMeetsASecondProgram) {
    LOAD(field_model::solenoid, 1, 0, 0, 0, 2.0, 30.0);
    const component_triple b = FIELD_TRIPLE(field_grid.full, 1);
    for (int k = 150; k <= 170; ++k)
        for (int j = 10; j <= 14; ++j)
            for (int i = 3; i <= 9; ++i)
                for (const full_array* c : b) const_cast<full_array&>(*c)[FULL_INDEX(i, j, k)] = 0.0;
    const auto d = DIVERGENCE(field_grid.full, 1);
    const std::array<double, 6> r = DIVERGENCE_BY_DEFINITION(field_grid.full, 1);
    ASSERT_TRUE(d);
    EXPECT_NEAR(d->ratio, r[0], 1e-12 * r[0]);
    EXPECT_NEAR(d->resolution, r[1], 1e-12 * r[1]);
    EXPECT_EQ((std::array<double, 4>{double(d->i), double(d->j), double(d->k), double(d->nodes)}),
              (std::array<double, 4>{r[2], r[3], r[4], r[5]}));
    EXPECT_EQ(d->nodes, 23L * 23 * 199 - (7 * 5 * 21 + 2 * (7 * 5 + 5 * 21 + 7 * 21)));
    // Shared out among threads (as a page's run does while it draws), the pass finds the same.
    divergence_pass pass(field_grid.full, 1);
    std::thread other([&pass] { pass.WORK(); });
    pass.WORK();
    other.join();
    const auto shared = pass.RESULT();
    ASSERT_TRUE(shared);
    EXPECT_EQ((std::array<double, 5>{shared->ratio, shared->resolution, double(shared->i), double(shared->k), double(shared->nodes)}),
              (std::array<double, 5>{d->ratio, d->resolution, double(d->i), double(d->k), double(d->nodes)}));
}

}  // namespace
}  // namespace orvex
