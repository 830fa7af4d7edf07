// profiles_csv_test.cpp: the CSV export read back with a parser of its own (strtod) and by
// numpy and pandas against the profiles on the page, bit for bit; the file written whole or not
// at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "field/analytic_grid.h"
#include "field/unfold.h"
#include "fieldio/scratch_dir.h"
#include "console/file_output.h"
#include "page/csv_loaders.h"
#include "page/plot_driver.h"
#include "page/profiles_csv.h"

namespace orvex {
namespace {

// The rows of a CSV text, each split at its commas, with the header row first; '#' lines left
// out. The form has no quoting: a comma always separates two fields.
std::vector<std::vector<std::string>> RECORDS(const std::string& text) {
    EXPECT_TRUE(text.empty() || text.back() == '\n');
    std::vector<std::vector<std::string>> out;
    std::istringstream in(text);
    for (std::string row; std::getline(in, row);) {
        if (row.starts_with('#')) continue;
        EXPECT_EQ(row.find('"'), std::string::npos) << row;
        out.emplace_back(1);
        for (const char c : row) {
            if (c == ',') out.back().emplace_back();
            else out.back().back() += c;
        }
    }
    return out;
}

// The bits of the double a field reads as; the whole field must be the number.
std::uint64_t BITS_READ(const std::string& field) {
    char* end = nullptr;
    const double v = std::strtod(field.c_str(), &end);
    EXPECT_EQ(*end, '\0') << field;
    return std::bit_cast<std::uint64_t>(v);
}
std::uint64_t BITS(double v) { return std::bit_cast<std::uint64_t>(v); }
double READ(const std::string& field) { return std::strtod(field.c_str(), nullptr); }

const std::vector<std::string> header = {"line", "component", "node", "x", "y", "z", "position", "value"};

const plotted_page& PLOT_ANALYTIC_PAGE(const mapgen::map_recipe& m, int field_flag) {
    testing::LOAD_ANALYTIC(m);
    UNFOLD_GRID();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES(field_grid.full, field_flag, "maps/MW_octant.bin", page_listing::printed);
    return PLOTTED_PAGE();
}

std::array<int, panel_count> ALL_PANELS() {
    std::array<int, panel_count> all{};
    std::iota(all.begin(), all.end(), 1);
    return all;
}

// Every node of the page: its doubles bit for bit, and x, y, z the node's own coordinates: the
// analytic field there is the value written.
TEST(ProfilesCsv, EveryNodeOfTheWholePageReadsBackBitForBit) {
    for (const int field_flag : {0, 1}) {
        const mapgen::map_recipe m = testing::MAP(2, 1, 1, 1);
        const plotted_page& page = PLOT_ANALYTIC_PAGE(m, field_flag);
        const std::string text = PROFILES_CSV(page, ALL_PANELS());
        EXPECT_EQ(text.substr(0, text.find("\n# line 1:")),
                  std::string("line,component,node,x,y,z,position,value\n# plot_orvex_3dfields profiles\n"
                              "# map: maps/MW_octant.bin\n") +
                      (field_flag == 0 ? "# field: electric (Ex, Ey, Ez)\n# units: x, y, z and position in cm; value in V/cm"
                                       : "# field: magnetic (Bx, By, Bz)\n# units: x, y, z and position in cm; value in Gs"));
        EXPECT_NE(text.find("\n# line 3: Z (cm), X=Y=0\n"), std::string::npos);
        const std::vector<std::vector<std::string>> rows = RECORDS(text);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows[0], header);
        std::size_t row = 1;
        for (int panel = 1; panel <= panel_count; ++panel) {
            const plotted_panel& p = page.panels[panel - 1];
            const int line = (panel + 2) / 3;
            const int component = (panel - 1) % 3;
            ASSERT_EQ(p.n, line <= 2 ? 49 : 401) << panel;
            for (int node = 1; node <= p.n; ++node, ++row) {
                ASSERT_LT(row, rows.size());
                const std::vector<std::string>& f = rows[row];
                ASSERT_EQ(f.size(), 8u);
                EXPECT_EQ(f[0], std::to_string(line));
                EXPECT_EQ(f[1], std::string(field_flag == 0 ? "E" : "B") + "xyz"[component]);
                EXPECT_EQ(f[2], std::to_string(node));
                EXPECT_EQ(BITS_READ(f[6]), BITS(p.pos[node - 1])) << f[6];
                EXPECT_EQ(BITS_READ(f[7]), BITS(p.val[node - 1])) << f[7];
                const char along = line == 1 ? 'x' : line == 2 ? 'y' : 'z';
                EXPECT_EQ(BITS_READ(f[3 + static_cast<std::size_t>(along - 'x')]), BITS(p.pos[node - 1]));
                const std::array<double, 6> want = testing::FIELD(m, READ(f[3]), READ(f[4]), READ(f[5]));
                EXPECT_NEAR(READ(f[7]), want[static_cast<std::size_t>(3 * field_flag + component)], 1e-9)
                    << "line " << line << " node " << node;
            }
        }
        EXPECT_EQ(row, rows.size());
    }
}

// A hand-made panel: a title with quotes and commas goes to a note, the rows stay bare; every
// kind of double; rows in the order asked.
TEST(ProfilesCsv, TitlesInNotesNonFiniteValuesAndPanelOrder) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double pos[] = {-0.0, 0.1, 1e-310, 2.5e300, -7.0};
    const double val[] = {std::nan(""), -std::nan(""), inf, -inf, -43712.345678901234};
    plotted_page page;
    page.map_file = "  odd\tname\n.bin  ";
    page.field = &FIELD_ENTRY(0);
    page.panels[8] = {.panel = 9, .line = 3, .component = 3, .n = 5, .pos = pos, .val = val, .axis = 'z',
                      .axis_title = "Z \"long\", X=Y=0     ", .value_title = "Ez (V/cm)", .component_name = "Ez", .unit = "V/cm",
                      .fixed_names = {'i', 'j'}, .fixed_index = {25, 13}, .fixed_coordinate = {0.0, -0.75}};
    page.panels[0] = {.panel = 1, .line = 1, .component = 1, .n = 1, .pos = pos, .val = val, .axis = 'x',
                      .axis_title = "X (cm), Y=Z=0", .value_title = "Ex (V/cm)", .component_name = "Ex", .unit = "V/cm",
                      .fixed_names = {'j', 'k'}, .fixed_index = {25, 101}, .fixed_coordinate = {0.5, 3.25}};
    const std::array<int, 4> panels = {9, 31, 1, 2};  // 31 is no panel, 2 has no points
    const std::string text = PROFILES_CSV(page, panels);
    EXPECT_NE(text.find("\n# map: odd\\x09name\\x0A.bin\n"), std::string::npos);
    EXPECT_LT(text.find("\n# line 3: Z \"long\", X=Y=0\n"), text.find("\n# line 1: X (cm), Y=Z=0\n"));
    EXPECT_NE(text.find("\n3,Ez,1,0,-0.75,-0,-0,nan\n"), std::string::npos);
    EXPECT_NE(text.find("\n3,Ez,4,0,-0.75,2.5000000000000001e+300,2.5000000000000001e+300,-inf\n"), std::string::npos);
    const std::vector<std::vector<std::string>> rows = RECORDS(text);
    ASSERT_EQ(rows.size(), 1u + 5u + 1u);
    EXPECT_EQ(rows[6], (std::vector<std::string>{"1", "Ex", "1", "-0", "0.5", "3.25", "-0", "nan"}));
    for (int node = 1; node <= 5; ++node) {
        const std::vector<std::string>& f = rows[static_cast<std::size_t>(node)];
        ASSERT_EQ(f.size(), 8u);
        EXPECT_EQ(BITS_READ(f[6]), BITS(pos[node - 1])) << f[6];
        EXPECT_TRUE(std::isnan(val[node - 1]) ? f[7] == "nan" : BITS_READ(f[7]) == BITS(val[node - 1])) << f[7];
    }
}

// The file as a user loads it: numpy and pandas each find the eight columns and every row;
// numpy reads the page's doubles exactly, pandas' default parser to a few units of the last
// place (float_precision='round_trip' reads them exactly).
TEST(ProfilesCsv, NumpyAndPandasLoadTheFileAsItStands) {
    const plotted_page& page = PLOT_ANALYTIC_PAGE(testing::MAP(1, 1, 1, 0), 1);
    testing_support::scratch_dir dir;
    const std::string path = dir.file("profiles.csv");
    ASSERT_TRUE(WRITE_PROFILES_CSV(path, page, ALL_PANELS()));
    const testing_support::csv_loads loads = testing_support::LOAD_CSV_IN_PYTHON(path);
    if (loads.python_missing) GTEST_SKIP() << "Debian's python3 with numpy and pandas is not installed";
    ASSERT_EQ(loads.failure, "");
    for (const testing_support::csv_table* table : {&loads.numpy, &loads.pandas}) {
        ASSERT_EQ(table->names, header);
        std::size_t row = 0;
        for (const plotted_panel& p : page.panels) {
            for (int node = 1; node <= p.n; ++node, ++row) {
                ASSERT_LT(row, table->columns.at("value").size());
                EXPECT_EQ(table->columns.at("component")[row], p.component_name);
                EXPECT_EQ(READ(table->columns.at("line")[row]), p.line);
                const double position = READ(table->columns.at("position")[row]), value = READ(table->columns.at("value")[row]);
                if (table == &loads.numpy) {
                    EXPECT_EQ(BITS(position), BITS(p.pos[node - 1]));
                    EXPECT_EQ(BITS(value), BITS(p.val[node - 1]));
                } else {
                    EXPECT_LE(std::fabs(position - p.pos[node - 1]), 1e-15 * std::fabs(p.pos[node - 1]));
                    EXPECT_LE(std::fabs(value - p.val[node - 1]), 1e-15 * std::fabs(p.val[node - 1]));
                }
            }
        }
        EXPECT_EQ(row, table->columns.at("value").size());
    }
}

std::vector<std::string> ENTRIES(const std::filesystem::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    return out;
}

TEST(WriteFileAtomically, ReplacesAWholeFileAndKeepsItsPermissions) {
    testing_support::scratch_dir dir;
    const std::string target = dir.file("profiles.csv");
    ASSERT_TRUE(WRITE_FILE_ATOMICALLY(target, std::string(100000, 'x')));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::string why;
    ASSERT_TRUE(WRITE_FILE_ATOMICALLY(target, "short\n", &why)) << why;
    std::ifstream in(target, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "short\n");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ENTRIES(dir.path()), std::vector<std::string>{"profiles.csv"});
}

TEST(WriteFileAtomically, AFailedWriteLeavesNothingBehind) {
    testing_support::scratch_dir dir;
    std::filesystem::create_directory(dir.path() / "taken");
    const std::pair<std::string, std::string> cases[] = {  // path, the start of why
        {dir.file("taken"), "cannot rename the temporary file over it: "},  // a directory
        {dir.file("missing/profiles.csv"), "cannot create a temporary file beside it: "},
        {"", "no file name"},
    };
    for (const auto& [path, reason] : cases) {
        std::string why;
        EXPECT_FALSE(WRITE_FILE_ATOMICALLY(path, "text\n", &why)) << path;
        EXPECT_EQ(why.rfind(reason, 0), 0u) << why;
        EXPECT_EQ(ENTRIES(dir.path()), std::vector<std::string>{"taken"}) << path;
        EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "taken"));
    }
}

}  // namespace
}  // namespace orvex
