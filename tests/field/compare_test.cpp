// compare_test.cpp: two maps compared: a map against itself (exactly 0 everywhere, figures
// too), against a copy with one node changed (that node, that amount, and the axis integral
// moved by its trapezoid weight), against the same harmonic field on a coarser grid (the cubic
// error within the rule's bound, every value INTERPOLATE's), and against grids that only partly
// overlap (the nodes left out counted, their differences NaN in a slice); the figures' names
// against the figures' own document.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "field/analytic_grid.h"
#include "field/compare_json.h"
#include "field/figures_json.h"
#include "field/slices.h"
#include "field/unfold.h"
#include "fresh_records.h"

namespace orvex {
namespace {

using Compare = testing_support::fresh_records;

mapgen::map_recipe HARMONIC(int kind, double x_hi, double z_hi) {
    mapgen::map_recipe m;
    m.model = mapgen::field_model::harmonic;
    m.kind = kind;
    m.x_hi = m.y_hi = x_hi;
    m.z_hi = z_hi;
    return m;
}

// The other map, in a record of its own.
std::unique_ptr<field_grid_record> OTHER(const mapgen::map_recipe& m) {
    auto g = std::make_unique<field_grid_record>();
    testing::LOAD_ANALYTIC_INTO(*g, m);
    UNFOLD_GRID(*g, fields_unfolded::now);
    return g;
}

void LOAD_THIS(const mapgen::map_recipe& m) {
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
}

nlohmann::json DOCUMENT(const map_pairing& p, const std::vector<field_difference>& d, int field) {
    const map_figures a = MAP_FIGURES(*p.self, {}, field), b = MAP_FIGURES(*p.other, {}, field);
    return nlohmann::json::parse(COMPARISON_JSON({"test", "this.bin", "other.bin", "dir", &p, d, a.fields, b.fields, {}}));
}

TEST_F(Compare, MapAgainstItselfIsExactlyZeroEverywhere) {
    mapgen::map_recipe m = testing::MAP(2, 1, 1, 1);
    m.n_cell = 3;
    LOAD_THIS(m);
    const full_map& g = field_grid.full;
    map_pairing p;
    PAIR_MAPS(g, g, p);
    EXPECT_TRUE(p.coincide);
    EXPECT_EQ(p.compared, 49 * 49 * 401);
    EXPECT_EQ(p.left_out, 0);
    const std::vector<field_difference> d{COMPARE_FIELD(p, 0), COMPARE_FIELD(p, 1)};
    for (const field_difference& f : d)
        for (const component_difference& c : f.components) {
            EXPECT_EQ(c.largest, 0.0);
            EXPECT_EQ(c.rms, 0.0);
            EXPECT_EQ(c.nodes, 49 * 49 * 401);
            EXPECT_EQ(c.not_finite, 0);
        }
    const nlohmann::json doc = DOCUMENT(p, d, 0);
    EXPECT_EQ(doc["reading"]["rule"], "nodes");
    EXPECT_EQ(doc["reading"]["grids_coincide"], true);
    ASSERT_GT(doc["figures"].size(), 300u);
    for (const auto& f : doc["figures"]) EXPECT_EQ(f["difference"].get<double>(), 0.0) << f["figure"];
    // Every difference quantity of a slice is 0 too.
    for (int q = map_quantity_count; q < quantity_count; ++q) {
        std::vector<double> cells;
        SLICE_VALUES(g, {slice_plane::xz, 20, static_cast<slice_quantity>(q), 1, &p}, cells);
        for (const double v : cells) ASSERT_EQ(v, 0.0);
    }
}

TEST_F(Compare, OneNodeChangedIsFoundWithItsAmount) {
    const mapgen::map_recipe m = HARMONIC(0, 2.0, 50.0);
    LOAD_THIS(m);
    auto other = std::make_unique<field_grid_record>();
    testing::LOAD_ANALYTIC_INTO(*other, m);
    // Node (13, 13, 101): on the z axis (no mirror, so stored and full nodes are the same).
    const double amount = 0.75;
    other->ez_in[STORED_INDEX(13, 13, 101)] += amount;
    UNFOLD_GRID(*other, fields_unfolded::now);
    map_pairing p;
    PAIR_MAPS(field_grid.full, other->full, p);
    const field_difference e = COMPARE_FIELD(p, 0);
    const component_difference& ez = e.components[2];
    EXPECT_NEAR(ez.largest, amount, 1e-12);
    EXPECT_EQ(ez.at.i, 13);
    EXPECT_EQ(ez.at.j, 13);
    EXPECT_EQ(ez.at.k, 101);
    EXPECT_NEAR(ez.other_value - ez.this_value, amount, 1e-12);
    EXPECT_NEAR(ez.rms, amount / std::sqrt(25.0 * 25.0 * 201.0), 1e-15);
    EXPECT_EQ(e.components[0].largest, 0.0);
    EXPECT_EQ(e.components[1].largest, 0.0);
    // The axis integral (the trapezoid over z) moves by the node's weight, one step of 0.5 cm.
    const nlohmann::json doc = DOCUMENT(p, {e}, 0);
    int found = 0;
    for (const auto& f : doc["figures"]) {
        if (f["figure"] == "electric.axis.V0_V" || f["figure"] == "electric.line3.Ez.integral") {
            EXPECT_NEAR(f["difference"].get<double>(), -amount * 0.5, 1e-9) << f["figure"];
            ++found;
        }
    }
    EXPECT_EQ(found, 2);
    const auto& largest = doc["fields"][0]["Ez"]["largest_difference"];
    EXPECT_EQ(largest["node"], nlohmann::json::array({13, 13, 101}));
    EXPECT_EQ(largest["position_cm"], nlohmann::json::array({0.0, 0.0, 0.0}));
    EXPECT_NEAR(largest["relative"].get<double>(), amount / e.largest_magnitude.value(), 1e-15);
}

// The harmonic field's components are A X(x) Y(y) Z(z), cosh, sinh, cos or sin of a x, b y,
// c z; every n-th derivative along an axis is at most A k^n cosh(2a) cosh(2b) on the coarse map
// (k = a, b or c). The 1-D cubic rule errs by at most h^3 M3 / 24 + h^4 M4 / 384 in an inner
// cell (the slopes' error h^3 f''' / 6, weighed by |h10| + |h11| <= 1/4, plus the Hermite
// remainder), and its weights sum in magnitude to at most 1.25, so the tensor product errs by
// at most e_x + 1.25 e_y + 1.25^2 e_z.
double CUBIC_BOUND(int component) {
    const double a = 0.3, b = 0.2, c = std::sqrt(a * a + b * b), v0 = 1000.0;
    const double scale = v0 * (component == 0 ? a : component == 1 ? b : c) * std::cosh(2 * a) * std::cosh(2 * b);
    const auto e = [&](double h, double k) { return std::pow(h, 3) * scale * std::pow(k, 3) / 24 + std::pow(h, 4) * scale * std::pow(k, 4) / 384; };
    return e(4.0 / 24, a) + 1.25 * e(4.0 / 24, b) + 1.25 * 1.25 * e(100.0 / 200, c);
}

TEST_F(Compare, FinerGridAgainstCoarserStaysWithinTheCubicBound) {
    // This map: x, y in [-1, 1], z in [-20, 20]; the other: [-2, 2] and [-50, 50], steps of
    // 1/6 and 0.5 cm, so every node of this map lies in an inner cell of the other.
    LOAD_THIS(HARMONIC(0, 1.0, 20.0));
    const auto other = OTHER(HARMONIC(0, 2.0, 50.0));
    map_pairing p;
    PAIR_MAPS(field_grid.full, other->full, p);
    EXPECT_FALSE(p.coincide);
    EXPECT_EQ(p.left_out, 0);
    const field_difference e = COMPARE_FIELD(p, 0);
    for (int c = 0; c < 3; ++c) {
        const double d = e.components[static_cast<std::size_t>(c)].largest;
        EXPECT_LE(d, CUBIC_BOUND(c)) << c;
        EXPECT_GT(d, CUBIC_BOUND(c) / 50) << c;  // read between the nodes, not at this map's own
    }
    // Every value the comparison reads is INTERPOLATE's, at this map's nodes.
    std::vector<double> ez;
    OTHER_AT_NODES(p, 2, ez);
    const full_map& g = field_grid.full;
    for (const grid_node n : {grid_node{1, 1, 1}, grid_node{2, 7, 33}, grid_node{25, 25, 201}, grid_node{12, 19, 150}}) {
        std::array<double, 3> f{};
        ASSERT_TRUE(INTERPOLATE(other->full, 0, interpolation::cubic, g.x[n.i - 1], g.y[n.j - 1], g.z[n.k - 1], f));
        const double v = ez[static_cast<std::size_t>(((n.k - 1) * 25 + n.j - 1) * 25 + n.i - 1)];
        EXPECT_NEAR(v, f[2], 1e-12 * std::fabs(f[2]));
        // The slice's difference quantities: this minus that, and |this| - |that|.
        slice_cut cut{slice_plane::xy, n.k, slice_quantity::difference_z, 0, &p};
        EXPECT_NEAR(CUT_VALUE(g, cut, n), NODE_VALUE(g, 0, slice_quantity::z, n) - f[2], 1e-12 * std::fabs(f[2]));
        cut.quantity = slice_quantity::difference_magnitude;
        EXPECT_NEAR(CUT_VALUE(g, cut, n), NODE_VALUE(g, 0, slice_quantity::magnitude, n) - std::hypot(f[0], f[1], f[2]), 1e-11);
    }
}

TEST_F(Compare, PartlyOverlappingGridsCountTheNodesLeftOut) {
    // The other map is shifted by 10 cm along z (20 steps, nodes on nodes) and by 0.1 cm along x
    // (between nodes): this map's x node -2 and its z nodes below -40 cm lie outside it.
    LOAD_THIS(HARMONIC(2, 2.0, 50.0));
    mapgen::map_recipe shifted = HARMONIC(2, 2.0, 50.0);
    shifted.x_lo = -1.9, shifted.x_hi = 2.1, shifted.z_lo = -40.0, shifted.z_hi = 60.0;
    const auto other = OTHER(shifted);
    map_pairing p;
    PAIR_MAPS(field_grid.full, other->full, p);
    EXPECT_EQ(p.compared, 24 * 25 * 181);
    EXPECT_EQ(p.left_out, 25 * 25 * 201 - 24 * 25 * 181);
    EXPECT_FALSE(p.on_nodes[0]);
    EXPECT_TRUE(p.on_nodes[1]);
    EXPECT_TRUE(p.on_nodes[2]);
    EXPECT_EQ(COMPARE_FIELD(p, 1).components[2].nodes, 24 * 25 * 181);
    // A slice of differences is NaN on the nodes left out, a number on the others.
    std::vector<double> cells;
    const slice_cut cut{slice_plane::xz, 13, slice_quantity::difference_x, 1, &p};
    SLICE_VALUES(field_grid.full, cut, cells);
    const slice_size size = SLICE_SIZE(field_grid.full, cut.plane);
    for (int row = 1; row <= size.rows; ++row)
        for (int column = 1; column <= size.columns; ++column) {
            const grid_node n = SLICE_NODE(cut, column, row);
            const double v = cells[static_cast<std::size_t>((row - 1) * size.columns + column - 1)];
            EXPECT_EQ(std::isnan(v), n.i == 1 || n.k <= 20) << n.i << " " << n.k;
        }
    // Without another map a difference has no value.
    EXPECT_TRUE(std::isnan(CUT_VALUE(field_grid.full, {slice_plane::xy, 1, slice_quantity::difference_z, 0}, {1, 1, 1})));
}

TEST_F(Compare, FigureNamesAreTheFiguresDocumentsKeys) {
    mapgen::map_recipe m = testing::MAP(2, 1, 1, 0);
    m.n_cell = 2;
    LOAD_THIS(m);
    figure_request asked;
    asked.frequency_mhz = 352.21;
    asked.beta = 0.3;
    const map_figures all = MAP_FIGURES(field_grid.full, asked, 0);
    const nlohmann::json doc =
        nlohmann::json::parse(FIGURES_JSON({"test", "map", &field_grid.full, asked, all.fields, {}}));
    std::size_t checked = 0;
    for (const field_figures& f : all.fields) {
        for (const named_figure& n : FIGURE_LIST(f)) {
            std::vector<std::string> keys;
            std::stringstream words(n.name);
            for (std::string w; std::getline(words, w, '.');) keys.push_back(w);
            const nlohmann::json* at = &doc["fields"][static_cast<std::size_t>(f.field)];
            ASSERT_EQ((*at)["field"], keys[0]);
            for (std::size_t k = 1; k < keys.size(); ++k) {
                if (keys[k].starts_with("line")) at = &(*at)["lines"][std::stoul(keys[k].substr(4)) - 1];
                else at = &(*at)[keys[k]];
            }
            ASSERT_TRUE(at->is_number()) << n.name;
            EXPECT_EQ(at->get<double>(), n.value) << n.name;
            ++checked;
        }
    }
    EXPECT_GT(checked, 300u);
}

}  // namespace
}  // namespace orvex
