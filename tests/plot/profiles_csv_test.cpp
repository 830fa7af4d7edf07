// profiles_csv_test.cpp: the CSV export read back with a parser of its own (quoted fields,
// strtod) against the profiles on the page, bit for bit; the file written whole or not at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <numeric>
#include <sstream>
#include <string>
#include <vector>

#include "console/console.h"
#include "field/field_grid.h"
#include "field/unfold.h"
#include "fieldio/scratch_dir.h"
#include "map_writer.h"
#include "plot/file_output.h"
#include "plot/plot_driver.h"
#include "plot/plotted_page.h"
#include "plot/profiles_csv.h"
#include "plot/surface.h"

namespace orvex {
namespace {

using testing_support::scratch_dir;

// One CSV record split into fields: quoted fields lose their quotes, "" inside them is one ".
std::vector<std::string> FIELDS(const std::string& row) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const char c = row[i];
        if (quoted) {
            if (c == '"' && i + 1 < row.size() && row[i + 1] == '"') {
                out.back() += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                out.back() += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

std::vector<std::string> LINES(const std::string& text) {
    EXPECT_TRUE(text.empty() || text.back() == '\n');
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

std::uint64_t BITS(double v) { return std::bit_cast<std::uint64_t>(v); }

double READ(const std::string& field) {
    char* end = nullptr;
    const double v = std::strtod(field.c_str(), &end);
    EXPECT_EQ(*end, '\0') << field;
    return v;
}

const plotted_page& PLOTTED_ANALYTIC_PAGE(int field_flag) {
    mapgen::map_spec recipe;
    recipe.kind = 2;
    recipe.n_cell = 3;
    recipe.ksym_yz = recipe.ksym_xz = recipe.ksym_xy = 1;
    RESET_FIELD_GRID();
    field_grid_record& g = field_grid;
    mapgen::FILL_STORED(recipe, {g.xmws.data(), g.ymws.data(), g.zmws.data(), g.ex_in.data(), g.ey_in.data(),
                                 g.ez_in.data(), g.bx_in.data(), g.by_in.data(), g.bz_in.data()});
    g.n_cell = recipe.n_cell;
    g.ksym_yz = g.ksym_xz = g.ksym_xy = 1;
    g.ksym = 3;
    g.field_kind = 2;
    g.field_flag = field_flag;
    UNFOLD_GRID();
    RESET_SURFACE();
    SET_CONSOLE_QUIET(true);
    PLOT_PROFILES("maps/MW_octant.bin");
    return PLOTTED_PAGE();
}

TEST(ProfilesCsv, EveryNodeOfTheWholePageReadsBackBitForBit) {
    for (const int field_flag : {0, 1}) {
        const plotted_page& page = PLOTTED_ANALYTIC_PAGE(field_flag);
        std::array<int, panel_count> all{};
        std::iota(all.begin(), all.end(), 1);
        const std::vector<std::string> lines = LINES(PROFILES_CSV(page, all));
        ASSERT_GE(lines.size(), 4u);
        EXPECT_EQ(lines[0], "# plot_orvex_3dfields profiles");
        EXPECT_EQ(lines[1], "# map file: maps/MW_octant.bin");
        EXPECT_EQ(lines[2], field_flag == 0 ? "# field: electric (Ex, Ey, Ez in V/cm); positions in cm"
                                            : "# field: magnetic (Bx, By, Bz in Gs); positions in cm");
        EXPECT_EQ(lines[3], "line,axis,component,node,position,value");
        const char* names = field_flag == 0 ? "E" : "B";
        std::size_t row = 4;
        for (int panel = 1; panel <= panel_count; ++panel) {
            const plotted_panel& p = page.panels[panel - 1];
            const int line = (panel + 2) / 3;
            ASSERT_EQ(p.n, line <= 2 ? 49 : 401) << panel;
            for (int node = 1; node <= p.n; ++node, ++row) {
                ASSERT_LT(row, lines.size());
                const std::vector<std::string> f = FIELDS(lines[row]);
                ASSERT_EQ(f.size(), 6u) << lines[row];
                EXPECT_EQ(f[0], std::to_string(line));
                EXPECT_EQ(f[1], p.axis_title);
                EXPECT_EQ(f[2], std::string(names) + "xyz"[(panel - 1) % 3]);
                EXPECT_EQ(f[3], std::to_string(node));
                EXPECT_EQ(BITS(READ(f[4])), BITS(p.pos[node - 1])) << lines[row];
                EXPECT_EQ(BITS(READ(f[5])), BITS(p.val[node - 1])) << lines[row];
            }
        }
        EXPECT_EQ(row, lines.size());
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
    plotted_panel& p = page.panels[8];
    p.panel = 9;
    p.line = 3;
    p.component = 3;
    p.n = 5;
    p.pos = pos;
    p.val = val;
    p.axis_title = "Z \"long\", X=Y=0     ";
    p.component_name = "Ez";
    plotted_panel& q = page.panels[0];
    q = p;
    q.panel = 1;
    q.line = 1;
    q.n = 1;
    q.axis_title = "X (cm), Y=Z=0";
    q.component_name = "Ex";

    const std::array<int, 4> panels = {9, 31, 1, 2};  // 31 is no panel, 2 has no points
    const std::vector<std::string> lines = LINES(PROFILES_CSV(page, panels));
    ASSERT_EQ(lines.size(), 4u + 5u + 1u);
    EXPECT_EQ(lines[1], "# map file: odd\\x09name\\x0A.bin");
    EXPECT_EQ(lines[4], R"(3,"Z ""long"", X=Y=0",Ez,1,-0,nan)");
    EXPECT_EQ(lines[5], R"(3,"Z ""long"", X=Y=0",Ez,2,0.10000000000000001,nan)");
    EXPECT_EQ(lines[7], R"(3,"Z ""long"", X=Y=0",Ez,4,2.5000000000000001e+300,-inf)");
    EXPECT_EQ(lines[9], R"(1,"X (cm), Y=Z=0",Ex,1,-0,nan)");
    for (int node = 1; node <= 5; ++node) {
        const std::vector<std::string> f = FIELDS(lines[static_cast<std::size_t>(3 + node)]);
        ASSERT_EQ(f.size(), 6u);
        EXPECT_EQ(f[1], "Z \"long\", X=Y=0");
        EXPECT_EQ(BITS(READ(f[4])), BITS(pos[node - 1])) << f[4];
        const double v = READ(f[5]);
        if (std::isnan(val[node - 1])) {
            EXPECT_EQ(f[5], "nan");
            EXPECT_TRUE(std::isnan(v));
        } else {
            EXPECT_EQ(BITS(v), BITS(val[node - 1])) << f[5];
        }
    }
}

std::string CONTENT(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> ENTRIES(const std::filesystem::path& dir) {
    std::vector<std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

TEST(WriteFileAtomically, ReplacesAWholeFileAndKeepsItsPermissions) {
    scratch_dir dir;
    const std::string target = dir.file("profiles.csv");
    ASSERT_TRUE(WRITE_FILE_ATOMICALLY(target, std::string(100000, 'x')));
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    std::string why;
    ASSERT_TRUE(WRITE_FILE_ATOMICALLY(target, "short\n", &why)) << why;
    EXPECT_EQ(CONTENT(target), "short\n");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ENTRIES(dir.path()), std::vector<std::string>{"profiles.csv"});
}

TEST(WriteFileAtomically, AFailedWriteLeavesNothingBehind) {
    scratch_dir dir;
    std::filesystem::create_directory(dir.path() / "taken");
    struct failure {
        std::string path;
        std::string reason;  // the start of why
    };
    const failure cases[] = {
        {dir.file("taken"), "cannot rename the temporary file over it: "},       // a directory
        {dir.file("missing/profiles.csv"), "cannot create a temporary file beside it: "},
        {"", "no file name"},
    };
    for (const failure& c : cases) {
        std::string why;
        EXPECT_FALSE(WRITE_FILE_ATOMICALLY(c.path, "text\n", &why)) << c.path;
        EXPECT_EQ(why.rfind(c.reason, 0), 0u) << why;
        EXPECT_EQ(ENTRIES(dir.path()), std::vector<std::string>{"taken"}) << c.path;
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.path() / "taken"));
    const std::array<int, 1> panels = {1};
    std::string why;
    EXPECT_FALSE(WRITE_PROFILES_CSV(dir.file("taken"), plotted_page{}, panels, &why));
    EXPECT_EQ(ENTRIES(dir.path()), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace orvex
