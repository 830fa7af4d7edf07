// slices_test.cpp: the numbers behind the slice window and node lines: the node nearest a
// point, the captions, and a slice's CSV as numpy and pandas load it (a value that is not a
// number included).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "analytic_grid.h"
#include "field/field_grid.h"
#include "field/node_lines.h"
#include "field/profiles.h"
#include "field/slices.h"
#include "field/unfold.h"
#include "page/csv_loaders.h"

namespace orvex {
namespace {

// The analytic map of both fields, mirrored in x and z only (y from -1.5 to 1.5 cm in 25 nodes,
// x from -2 to 2 in 49, z from -50 to 50 in 401), unfolded, its steps set.
void LOAD_MAP() {
    testing::LOAD_ANALYTIC(testing::MAP(2, 1, 0, 1));
    UNFOLD_GRID();
}

TEST(Slices, NearestNodeOfAPointTakesTheLowerNodeAtATieAndTheEndsBeyondTheGrid) {
    LOAD_MAP();
    const full_map& g = field_grid.full;
    const struct { char axis; double at; int node; } rows[] = {
        {'x', 0.0, 25},  {'x', -2.0, 1},   {'x', -9.0, 1},  {'x', 2.0, 49},   {'x', 7.0, 49},
        {'x', 1.0 / 24.0, 25},   // midway between nodes 25 and 26: the lower
        {'x', 1.0 / 24.0 + 1e-9, 26},
        {'y', -1.5, 1},  {'y', 0.0, 13},   {'y', 0.13, 14}, {'z', 0.0, 201}, {'z', 0.3, 202},
        {'z', NAN, 1},
    };
    for (const auto& r : rows) EXPECT_EQ(NEAREST_NODE_AT(g, r.axis, r.at), r.node) << r.axis << " = " << r.at;
    EXPECT_EQ(NODE_COORDINATE(g, 'x', 25), 0.0);
    EXPECT_EQ(SLICE_TITLE(g, {slice_plane::yz, 25, slice_quantity::magnitude, 1}),
              "|B| (Gs) on the YZ plane at x = 0 cm (node 25 of 49)");
    EXPECT_EQ(SLICE_TITLE(g, {slice_plane::xz, 1, slice_quantity::y, 0}),
              "Ey (V/cm) on the XZ plane at y = -1.5 cm (node 1 of 25)");
    // A node outside the grid is taken to its edge.
    const node_line line = LINE_THROUGH_NODE(g, 1, 'y', {60, 3, -4});
    EXPECT_EQ(line.n, 25);
    EXPECT_EQ(NODE_LINE_TITLE(line), "Y (cm), X=2, Z=-50");
    EXPECT_EQ(line.val[2][6], g.bz_full[FULL_INDEX(49, 7, 1)]);
}

TEST(Slices, CsvLoadsInNumpyAndPandasWithTheGridsValues) {
    LOAD_MAP();
    const full_map& g = field_grid.full;
    g.ey_full[FULL_INDEX(3, 4, 201)] = NAN;  // shown as nan, read back as a non-number
    const std::string text = SLICE_CSV(g, {slice_plane::xy, 201, slice_quantity::y, 0}, "MW,map.bin");
    ASSERT_EQ(text.rfind("i,j,k,x,y,z,value\n# ", 0), 0u) << text.substr(0, 80);
    const std::filesystem::path csv = std::filesystem::temp_directory_path() / ("slice_" + std::to_string(::getpid()) + ".csv");
    std::ofstream(csv) << text;
    const testing_support::csv_loads loads = testing_support::LOAD_CSV_IN_PYTHON(csv);
    std::filesystem::remove(csv);
    if (loads.python_missing) GTEST_SKIP() << "no Python with numpy and pandas";
    ASSERT_TRUE(loads.failure.empty()) << loads.failure;
    for (const testing_support::csv_table* table : {&loads.numpy, &loads.pandas}) {
        ASSERT_EQ(table->names, (std::vector<std::string>{"i", "j", "k", "x", "y", "z", "value"}));
        const auto& i = table->columns.at("i");
        const auto& j = table->columns.at("j");
        const auto& value = table->columns.at("value");
        ASSERT_EQ(value.size(), std::size_t{49 * 25});
        for (std::size_t n = 0; n < value.size(); ++n) {
            const double expected = g.ey_full[FULL_INDEX(static_cast<int>(std::strtod(i[n].c_str(), nullptr)),
                                                         static_cast<int>(std::strtod(j[n].c_str(), nullptr)), 201)];
            const double read = std::strtod(value[n].c_str(), nullptr);
            // numpy reads the 17 digits back exactly; pandas' default parser may miss the last.
            if (std::isnan(expected)) EXPECT_TRUE(std::isnan(read));
            else if (table == &loads.numpy) EXPECT_EQ(read, expected) << n;
            else EXPECT_NEAR(read, expected, 1e-14 * std::fabs(expected)) << n;
        }
    }
}

}  // namespace
}  // namespace orvex
