// profiles_csv_test.cpp: the CSV export read back with a parser of its own (quoted fields,
// strtod) against the profiles on the page, bit for bit; the file written whole or not at all.
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
#include "page/plot_driver.h"
#include "page/profiles_csv.h"

namespace orvex {
namespace {

// The records of a CSV text, each split into fields: quotes dropped, "" inside them one ".
std::vector<std::vector<std::string>> RECORDS(const std::string& text) {
    EXPECT_TRUE(text.empty() || text.back() == '\n');
    std::vector<std::vector<std::string>> out;
    std::istringstream in(text);
    for (std::string row; std::getline(in, row);) {
        out.emplace_back(1);
        bool quoted = false;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (row[i] == '"') {
                if (quoted && i + 1 < row.size() && row[i + 1] == '"') out.back().back() += row[++i];
                else quoted = !quoted;
            } else if (row[i] == ',' && !quoted) {
                out.back().emplace_back();
            } else {
                out.back().back() += row[i];
            }
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

TEST(ProfilesCsv, EveryNodeOfTheWholePageReadsBackBitForBit) {
    for (const int field_flag : {0, 1}) {
        testing::LOAD_ANALYTIC(testing::MAP(2, 1, 1, 1));
        field_grid.field_flag = field_flag;
        UNFOLD_GRID();
        SET_CONSOLE_QUIET(true);
        PLOT_PROFILES("maps/MW_octant.bin");
        const plotted_page& page = PLOTTED_PAGE();
        std::array<int, panel_count> all{};
        std::iota(all.begin(), all.end(), 1);
        const std::string text = PROFILES_CSV(page, all);
        EXPECT_EQ(text.substr(0, text.find("\nline,axis,component,node,position,value\n")),
                  std::string("# plot_orvex_3dfields profiles\n# map file: maps/MW_octant.bin\n") +
                      (field_flag == 0 ? "# field: electric (Ex, Ey, Ez in V/cm); positions in cm"
                                       : "# field: magnetic (Bx, By, Bz in Gs); positions in cm"));
        const std::vector<std::vector<std::string>> rows = RECORDS(text);
        std::size_t row = 4;
        for (int panel = 1; panel <= panel_count; ++panel) {
            const plotted_panel& p = page.panels[panel - 1];
            const int line = (panel + 2) / 3;
            ASSERT_EQ(p.n, line <= 2 ? 49 : 401) << panel;
            for (int node = 1; node <= p.n; ++node, ++row) {
                ASSERT_LT(row, rows.size());
                const std::vector<std::string>& f = rows[row];
                ASSERT_EQ(f.size(), 6u);
                EXPECT_EQ(f[0], std::to_string(line));
                EXPECT_EQ(f[1], p.axis_title);
                EXPECT_EQ(f[2], std::string(field_flag == 0 ? "E" : "B") + "xyz"[(panel - 1) % 3]);
                EXPECT_EQ(f[3], std::to_string(node));
                EXPECT_EQ(BITS_READ(f[4]), BITS(p.pos[node - 1])) << f[4];
                EXPECT_EQ(BITS_READ(f[5]), BITS(p.val[node - 1])) << f[5];
            }
        }
        EXPECT_EQ(row, rows.size());
    }
}

// A hand-made panel: quotes in the title, every kind of double, rows in the order asked.
TEST(ProfilesCsv, QuotingNonFiniteValuesAndPanelOrder) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double pos[] = {-0.0, 0.1, 1e-310, 2.5e300, -7.0};
    const double val[] = {std::nan(""), -std::nan(""), inf, -inf, -43712.345678901234};
    plotted_page page;
    page.map_file = "  odd\tname\n.bin  ";
    page.field_name = "electric";
    page.panels[8] = {.panel = 9, .line = 3, .component = 3, .n = 5, .pos = pos, .val = val,
                      .axis_title = "Z \"long\", X=Y=0     ", .value_title = "Ez (V/cm)", .component_name = "Ez", .unit = "V/cm"};
    page.panels[0] = {.panel = 1, .line = 1, .component = 1, .n = 1, .pos = pos, .val = val,
                      .axis_title = "X (cm), Y=Z=0", .value_title = "Ex (V/cm)", .component_name = "Ex", .unit = "V/cm"};
    const std::array<int, 4> panels = {9, 31, 1, 2};  // 31 is no panel, 2 has no points
    const std::string text = PROFILES_CSV(page, panels);
    EXPECT_NE(text.find("\n# map file: odd\\x09name\\x0A.bin\n"), std::string::npos);
    EXPECT_NE(text.find("\n3,\"Z \"\"long\"\", X=Y=0\",Ez,1,-0,nan\n"), std::string::npos);
    EXPECT_NE(text.find("\n3,\"Z \"\"long\"\", X=Y=0\",Ez,4,2.5000000000000001e+300,-inf\n"), std::string::npos);
    const std::vector<std::vector<std::string>> rows = RECORDS(text);
    ASSERT_EQ(rows.size(), 4u + 5u + 1u);
    EXPECT_EQ(rows[9], (std::vector<std::string>{"1", "X (cm), Y=Z=0", "Ex", "1", "-0", "nan"}));
    for (int node = 1; node <= 5; ++node) {
        const std::vector<std::string>& f = rows[static_cast<std::size_t>(3 + node)];
        ASSERT_EQ(f.size(), 6u);
        EXPECT_EQ(f[1], "Z \"long\", X=Y=0");
        EXPECT_EQ(BITS_READ(f[4]), BITS(pos[node - 1])) << f[4];
        EXPECT_TRUE(std::isnan(val[node - 1]) ? f[5] == "nan" : BITS_READ(f[5]) == BITS(val[node - 1])) << f[5];
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
