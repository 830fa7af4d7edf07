// plot_driver_test.cpp: the whole page and the console records of the plot driver, for maps of
// known analytic fields. Expected curves are computed here from the analytic field and the
// map's limits, never read back from the profiles the code sampled.
#include <gtest/gtest.h>

#include "field/analytic_grid.h"
#include "fresh_records.h"
#include "page/logged_texts.h"
#include "page/panel_edges.h"

#include <cmath>
#include <string>
#include <vector>

#include "console/console.h"
#include "field/field_grid.h"
#include "map_writer.h"
#include "page/page.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/surface.h"
#include "field/unfold.h"

namespace orvex {
namespace {

constexpr packed_colour white = 0xFFFFFF;
constexpr packed_colour black = 0x000000;
constexpr packed_colour blue = 0xFF0000;
constexpr packed_colour red = 0x0000FF;

using testing_support::PANEL_EDGES;
using edges = testing_support::panel_edges;

// Loads the analytic map into the stored lattice, unfolds it and runs the plot driver on a
// fresh surface, with the console kept in its log only.
void RUN_DRIVER(const mapgen::map_recipe& recipe, int field_flag) {
    testing_support::RESET_RECORDS();
    testing::LOAD_ANALYTIC(recipe);
    UNFOLD_GRID();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES(field_grid.full, field_flag, {}, page_listing::printed);
}

// One full axis of the map: its count, node coordinates and the limits the grid shows.
struct axis_nodes {
    int n;
    std::vector<double> at;  // coordinate of full node 1..n (index 0..n-1)
    double lo, hi;
};

axis_nodes AXIS(const mapgen::map_recipe& recipe, int which) {
    const bool mirrored = (which == 0 ? recipe.ksym_yz : which == 1 ? recipe.ksym_xz : recipe.ksym_xy) == 1;
    const int stored = which == 2 ? 201 : 25;
    auto coordinate = [&](int i) {
        return which == 0 ? mapgen::STORED_X(recipe, i) : which == 1 ? mapgen::STORED_Y(recipe, i) : mapgen::STORED_Z(recipe, i);
    };
    axis_nodes a;
    a.n = mirrored ? 2 * stored - 1 : stored;
    for (int i = 1; i <= a.n; ++i) {
        if (mirrored) {
            const int s = i - stored;
            a.at.push_back(s < 0 ? -coordinate(-s + 1) : coordinate(s + 1));
        } else {
            a.at.push_back(coordinate(i));
        }
    }
    a.hi = coordinate(stored);
    a.lo = mirrored ? -a.hi : coordinate(1);
    return a;
}

// The fixed node of a rule on a count that occurs: centre, M, Q, U, L.
enum class rule { centre, m, q, u, l };
int NODE(int n, rule r) {
    const bool wide = n == 49, axial_long = n == 401;
    if (n == 201 || n == 401) return axial_long ? 201 : 101;
    switch (r) {
        case rule::centre: return wide ? 25 : 13;
        case rule::m: return wide ? 37 : 19;
        case rule::q: return wide ? 32 : 17;
        case rule::u: return wide ? 41 : 21;
        case rule::l: return wide ? 7 : 3;
    }
    return 0;
}

struct line_plan {
    int axis;         // 0 x, 1 y, 2 z
    rule first, second;
};
constexpr line_plan plans[10] = {
    {0, rule::centre, rule::centre}, {1, rule::centre, rule::centre}, {2, rule::centre, rule::centre},
    {2, rule::centre, rule::m},      {2, rule::m, rule::centre},      {2, rule::q, rule::m},
    {2, rule::m, rule::q},           {2, rule::m, rule::m},           {2, rule::u, rule::u},
    {2, rule::l, rule::l}};

// The vertices of every panel's curve from the analytic field: panel p is [p - 1].
std::vector<std::vector<std::pair<int, int>>> EXPECTED_VERTICES(const mapgen::map_recipe& recipe, int field_flag) {
    const axis_nodes ax[3] = {AXIS(recipe, 0), AXIS(recipe, 1), AXIS(recipe, 2)};
    std::vector<std::vector<std::pair<int, int>>> out;
    for (int line = 1; line <= 10; ++line) {
        const line_plan& plan = plans[line - 1];
        const axis_nodes& run = ax[plan.axis];
        // The two fixed axes, in x, y, z order without the running one.
        int fixed_axis[2], k = 0;
        for (int a = 0; a < 3; ++a)
            if (a != plan.axis) fixed_axis[k++] = a;
        const int fixed_node[2] = {NODE(ax[fixed_axis[0]].n, plan.first), NODE(ax[fixed_axis[1]].n, plan.second)};
        const double step = (run.hi - run.lo) / static_cast<double>(run.n - 1);
        for (int c = 0; c < 3; ++c) {
            std::vector<double> pos, val;
            for (int i = 1; i <= run.n; ++i) {
                double xyz[3];
                xyz[plan.axis] = run.at[static_cast<std::size_t>(i - 1)];
                for (int f = 0; f < 2; ++f) xyz[fixed_axis[f]] = ax[fixed_axis[f]].at[static_cast<std::size_t>(fixed_node[f] - 1)];
                const mapgen::field_value v = mapgen::FIELD_AT(recipe, xyz[0], xyz[1], xyz[2]);
                const double e[3] = {v.ex, v.ey, v.ez}, b[3] = {v.bx, v.by, v.bz};
                pos.push_back(static_cast<double>(i - 1) * step + run.lo);
                val.push_back(field_flag == 1 ? b[c] : e[c]);
            }
            double lo = 9.0, hi = -9.0e9;
            for (double v : val) {
                if (v > hi) hi = v;
                if (v < lo) lo = v;
            }
            if (lo == 0.0 && hi == 0.0) {
                lo = -1e-12;
                hi = 1e-12;
            }
            const edges p = PANEL_EDGES(3 * line - 3 + c + 1);
            std::vector<std::pair<int, int>> vertices;
            for (std::size_t i = 0; i < pos.size(); ++i) {
                const int px = p.ix1 + static_cast<int>((pos[i] - pos.front()) / (pos.back() - pos.front()) * 148.0);
                const int py = p.iy2 - static_cast<int>((val[i] - lo) / (hi - lo) * 100.0);
                vertices.emplace_back(px, py);
            }
            out.push_back(vertices);
        }
    }
    return out;
}

// Red pixels of panel p, row by row.
std::vector<bool> RED_IN_PANEL(int n) {
    const edges p = PANEL_EDGES(n);
    std::vector<bool> out;
    for (int y = p.iy1; y <= p.iy2; ++y)
        for (int x = p.ix1; x <= p.ix2; ++x) out.push_back(PAGE_PIXEL(x, y) == red);
    return out;
}

// Every vertex on its pixel, and each panel's red pixels exactly those of the expected polyline
// drawn by the surface's own lines on a clean page.
void EXPECT_CURVES(const mapgen::map_recipe& recipe, int field_flag) {
    const auto vertices = EXPECTED_VERTICES(recipe, field_flag);
    std::vector<std::vector<bool>> drawn;
    for (int n = 1; n <= 30; ++n) {
        SCOPED_TRACE(n);
        for (const auto& [x, y] : vertices[static_cast<std::size_t>(n - 1)]) {
            ASSERT_EQ(PAGE_PIXEL(x, y), red) << x << ", " << y;
        }
        drawn.push_back(RED_IN_PANEL(n));
    }
    RESET_SURFACE();
    SET_BACK_COLOUR(white);
    CLEAR_WINDOW();
    SET_DRAW_COLOUR(red);
    for (int n = 1; n <= 30; ++n) {
        const edges p = PANEL_EDGES(n);
        SET_CLIP_RECT(static_cast<coord>(p.ix1), static_cast<coord>(p.iy1), static_cast<coord>(p.ix2), static_cast<coord>(p.iy2));
        const auto& v = vertices[static_cast<std::size_t>(n - 1)];
        MOVE_TO(static_cast<coord>(v[0].first), static_cast<coord>(v[0].second));
        for (std::size_t i = 1; i < v.size(); ++i) LINE_TO(static_cast<coord>(v[i].first), static_cast<coord>(v[i].second));
        EXPECT_TRUE(RED_IN_PANEL(n) == drawn[static_cast<std::size_t>(n - 1)]) << "panel " << n;
    }
}

std::vector<std::string> RECORDS() {
    std::vector<std::string> out;
    const std::string_view log = CONSOLE_LOG();
    std::size_t start = 0;
    while (start < log.size()) {
        const std::size_t end = log.find('\n', start);
        out.emplace_back(log.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

std::string REAL(double v) { return FORMAT_LISTED_REAL(v); }
std::string INT(int v) { return FORMAT_LISTED_INTEGER(v); }

using testing_support::logged_text;
using testing_support::TEXTS;

std::string PAD(std::string_view s, std::size_t n) {
    std::string out(s);
    out.resize(n, ' ');
    return out;
}

mapgen::map_recipe ALL_MIRRORS(int kind) {
    mapgen::map_recipe recipe;
    recipe.kind = kind;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    recipe.n_cell = kind == 2 ? 3 : 0;
    return recipe;
}

TEST(PlotDriver, ConsoleRecordsOfAnAllMirroredMap) {
    const mapgen::map_recipe recipe = ALL_MIRRORS(2);
    RUN_DRIVER(recipe, 0);
    const double xhi = mapgen::STORED_X(recipe, 25), yhi = mapgen::STORED_Y(recipe, 25), zhi = mapgen::STORED_Z(recipe, 201);
    const std::vector<std::string> expected = {
        " Grid limits in X, Y and Z = " + REAL(-xhi) + REAL(xhi) + REAL(-yhi) + REAL(yhi) + REAL(-zhi) + REAL(zhi),
        " Mesh sizes  in X, Y and Z = " + REAL(2 * xhi / 48.0) + REAL(2 * yhi / 48.0) + REAL(2 * zhi / 400.0),
        " Y=0 and Z=0: j, k = " + INT(25) + INT(201),
        " X=0 and Z=0: i, k = " + INT(25) + INT(201),
        " X=0 and Y=0: i, j = " + INT(25) + INT(25),
        " X=0 and Y=m: i, j = " + INT(25) + INT(37),
        " X=m and Y=0: i, j = " + INT(37) + INT(25),
        " X=q and Y=m: i, j = " + INT(32) + INT(37),
        " X=m and Y=q: i, j = " + INT(37) + INT(32),
        " X=m and Y=m: i, j = " + INT(37) + INT(37),
        " X=u and Y=u: i, j = " + INT(41) + INT(41),
        " X=l and Y=l: i, j = " + INT(7) + INT(7),
    };
    EXPECT_EQ(RECORDS(), expected);
}

TEST(PlotDriver, ConsoleRecordsWithOnlyXMirrored) {
    mapgen::map_recipe recipe;
    recipe.kind = 0;
    recipe.ksym_yz = 1;
    RUN_DRIVER(recipe, 0);
    const std::vector<std::string> records = RECORDS();
    ASSERT_EQ(records.size(), 12u);
    EXPECT_EQ(records[2], " Y=0 and Z=0: j, k = " + INT(13) + INT(101));
    EXPECT_EQ(records[3], " X=0 and Z=0: i, k = " + INT(25) + INT(101));
    EXPECT_EQ(records[7], " X=q and Y=m: i, j = " + INT(32) + INT(19));
    EXPECT_EQ(records[8], " X=m and Y=q: i, j = " + INT(37) + INT(17));
    EXPECT_EQ(records[11], " X=l and Y=l: i, j = " + INT(7) + INT(3));
}

TEST(PlotDriver, EveryCurveOnItsScalePixels) {
    for (const auto& [recipe, flag] : {std::pair{ALL_MIRRORS(2), 0}, std::pair{ALL_MIRRORS(2), 1}}) {
        SCOPED_TRACE(flag);
        RUN_DRIVER(recipe, flag);
        EXPECT_CURVES(recipe, flag);
    }
    mapgen::map_recipe none;
    none.kind = 1;
    none.x_hi = 3.0;
    none.z_hi = 20.0;
    RUN_DRIVER(none, 1);
    EXPECT_CURVES(none, 1);
    mapgen::map_recipe two;
    two.kind = 0;
    two.ksym_xz = two.ksym_xy = 1;
    RUN_DRIVER(two, 0);
    EXPECT_CURVES(two, 0);
}

TEST(PlotDriver, TitlesAndPositionNumbersOfEveryPanel) {
    const mapgen::map_recipe recipe = ALL_MIRRORS(2);
    const char* axis_titles[10] = {"X (cm), Y=Z=0",   "Y (cm), X=Z=0",   "Z (cm), X=Y=0",   "Z (cm), X=0,Y=M",
                                   "Z (cm), X=M,Y=0", "Z (cm), X=Q,Y=M", "Z (cm), X=M,Y=Q", "Z (cm), X=M,Y=M",
                                   "Z (cm), X=U,Y=U", "Z (cm), X=L,Y=L"};
    const char* e_titles[3] = {"Ex (V/cm)", "Ey (V/cm)", "Ez (V/cm)"};
    const char* b_titles[3] = {"Bx (Gs)", "By (Gs)", "Bz (Gs)"};
    for (int flag = 0; flag <= 1; ++flag) {
        SCOPED_TRACE(flag);
        RUN_DRIVER(recipe, flag);
        const std::vector<logged_text> texts = TEXTS();
        // Heading and stamp, eight texts per panel, the legend.
        ASSERT_EQ(texts.size(), 2u + 30u * 8u + 1u);
        for (int n = 1; n <= 30; ++n) {
            SCOPED_TRACE(n);
            const edges p = PANEL_EDGES(n);
            const int line = (n - 1) / 3 + 1, c = (n - 1) % 3;
            const logged_text* t = &texts[2 + 8 * static_cast<std::size_t>(n - 1)];
            EXPECT_EQ(t[6].text, PAD(axis_titles[line - 1], 20));
            EXPECT_EQ(t[6].x, (p.ix1 + p.ix2) / 2 - 28);
            EXPECT_EQ(t[6].y, p.iy2 + 12);
            EXPECT_EQ(t[7].text, PAD(flag == 0 ? e_titles[c] : b_titles[c], 20));
            EXPECT_EQ(t[7].x, p.ix1 - 38);
            EXPECT_EQ(t[7].y, p.iy1 - 16);
            for (int k = 0; k < 8; ++k) EXPECT_EQ(t[k].colour, black);
            // Positions -2 .. 2 across and -50 .. 50 along z, whatever the component.
            const bool along_z = line >= 3;
            EXPECT_EQ(t[0].text, along_z ? " -50.000" : "  -2.000");
            EXPECT_EQ(t[1].text, "   0.000");
            EXPECT_EQ(t[2].text, along_z ? "  50.000" : "   2.000");
            EXPECT_EQ(t[0].x, p.ix1 - 10);
            EXPECT_EQ(t[2].x, p.ix2 - 10);
        }
    }
}

TEST(PlotDriver, LegendInBlueUnderTheLastRow) {
    RUN_DRIVER(ALL_MIRRORS(2), 0);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_FALSE(texts.empty());
    const logged_text& legend = texts.back();
    EXPECT_EQ(legend.text, PAD(" Q=R/4, M=R/2, U=R/sqrt(2), L=-R/sqrt(2), R=Aperture ", 132));
    EXPECT_EQ(legend.x, 450);
    EXPECT_EQ(legend.y, 770);
    EXPECT_EQ(legend.colour, blue);
    EXPECT_EQ(legend.font, SELECT_FONT("t'Arial'h16w8i"));
    EXPECT_GE(legend.font, 0);
    // Drawn although panel 30 left the clip at its own edges: blue ink below row 740.
    int blue_below = 0;
    for (int y = 741; y <= page_height; ++y)
        for (int x = 1; x <= page_width; ++x) blue_below += PAGE_PIXEL(x, y) == blue;
    EXPECT_GT(blue_below, 100);
    EXPECT_EQ(DRAWING_STATE().clip_x1, 1);
    EXPECT_EQ(DRAWING_STATE().clip_y2, page_height);
}

TEST(PlotDriver, MagneticMapPlottedForETheAllZeroPanels) {
    mapgen::map_recipe recipe = ALL_MIRRORS(1);
    RUN_DRIVER(recipe, 0);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 2u + 30u * 8u + 1u);
    for (int n = 1; n <= 30; ++n) {
        SCOPED_TRACE(n);
        const logged_text* t = &texts[2 + 8 * static_cast<std::size_t>(n - 1)];
        EXPECT_EQ(t[3].text, "0.100E-11");
        EXPECT_EQ(t[4].text, "0.000E+00");
        EXPECT_EQ(t[5].text, "-.100E-11");
        // The curve is the middle row, edge to edge.
        const edges p = PANEL_EDGES(n);
        for (int x = p.ix1; x <= p.ix2; ++x) ASSERT_EQ(PAGE_PIXEL(x, p.iy2 - 50), red) << x;
        EXPECT_NE(PAGE_PIXEL(p.ix1 + 1, p.iy2 - 51), red);
    }
}

TEST(PlotDriver, ValueAxisOfAPositiveFieldStartsAtNine) {
    // Bz of a magnetic map is even everywhere and positive: on this map every Bz profile stays
    // above 9 Gs, so each Bz panel's lowest number is 0.900E+01.
    mapgen::map_recipe recipe;
    recipe.kind = 1;
    RUN_DRIVER(recipe, 1);
    const std::vector<logged_text> texts = TEXTS();
    ASSERT_EQ(texts.size(), 2u + 30u * 8u + 1u);
    for (int line = 1; line <= 10; ++line) {
        const logged_text* t = &texts[2 + 8 * static_cast<std::size_t>(3 * line - 1)];
        EXPECT_EQ(t[5].text, "0.900E+01") << line;
    }
}

// The page of each field has a slot of its own: drawing the magnetic page leaves the electric
// one (its pixels, what its panels show, its listing) exactly as it was, so a window showing it
// never shows or saves a page drawn over; nothing reaches the console when the listing is off.
TEST(PlotDriver, ThePageOfTheOtherFieldLeavesTheFirstAsItWas) {
    mapgen::map_recipe recipe;
    recipe.kind = 2;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    RUN_DRIVER(recipe, 0);
    const std::vector<packed_colour> electric(PAGE_PIXELS().begin(), PAGE_PIXELS().end());
    const plotted_page* electric_page = &PLOTTED_PAGE();
    const double electric_value = electric_page->panels[8].val[100];
    const std::size_t listed = CONSOLE_LOG().size();
    PLOT_PROFILES(field_grid.full, 1, {}, page_listing::none);
    EXPECT_EQ(PAGE_SLOT(), 1);
    EXPECT_NE(std::vector<packed_colour>(PAGE_PIXELS().begin(), PAGE_PIXELS().end()), electric);
    EXPECT_EQ(CONSOLE_LOG().size(), listed);
    EXPECT_EQ(field_grid.field_flag, 0);  // nothing rewrites the control file's choice
    SELECT_PAGE_SLOT(0);
    EXPECT_EQ(std::vector<packed_colour>(PAGE_PIXELS().begin(), PAGE_PIXELS().end()), electric);
    EXPECT_EQ(&PLOTTED_PAGE(), electric_page);
    EXPECT_EQ(electric_page->panels[8].val[100], electric_value);
    EXPECT_EQ(electric_page->field->flag, 0);
}

}  // namespace
}  // namespace orvex
