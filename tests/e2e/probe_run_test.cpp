// probe_run_test.cpp: plot_orvex_3dfields --probe run whole: the CSV on standard output read
// back against closed forms (a quadrupole's field, linear in x and y, which both rules must
// give exactly, up to the region's edges) and against the map's own nodes (its --export), a
// file's columns carried and loadable by numpy and pandas; points outside as nan with one note
// (status 3 under --strict); a points file taken from where the program started.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "map_writer.h"
#include "page/csv_loaders.h"
#include "program_run.h"

namespace orvex::e2e {
namespace {

class ProbeRun : public run_directory<> {
protected:
    void WRITE(mapgen::field_model model, int xy) {
        mapgen::map_recipe m;
        m.model = model, m.kind = 2, m.ksym_yz = 1, m.ksym_xz = 1, m.ksym_xy = xy;
        ASSERT_TRUE(WRITE_FIELD_MAP(m, mapgen::layout::text, (dir / "MW_map.txt").string(), {}));
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "probe\nrun\nMW_map.txt\n1\n0\n");
    }
    run_result PROBE(std::vector<std::string> args) {
        args.insert(args.begin(), {ORVEX_PROGRAM, "--probe"});
        return RUN_PROGRAM(dir, capture, {}, {args, {}});
    }
};

// The header row, then the rows split into cells (# lines kept as one cell).
std::vector<std::vector<std::string>> ROWS(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string>& cells = rows.emplace_back();
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, line.starts_with('#') ? '\n' : ',');) cells.push_back(cell);
    }
    return rows;
}

double NUMBER(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// By = G x, Bx = G y, Ex = Ge x, Ey = -Ge y: both rules give it exactly, on a circle and along
// a line from corner to corner of the region.
TEST_F(ProbeRun, QuadrupoleIsReadExactlyOnACircleAndAlongTheDiagonal) {
    WRITE(mapgen::field_model::quadrupole, 0);
    for (const std::string rule : {"cubic", "linear"})
        for (const std::string points : {"circle:1.25,3:12", "line:-2,-2,-50:2,2,50:9"}) {
            const run_result r = PROBE({points, "--interpolation", rule});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "");
            const auto rows = ROWS(r.out);
            ASSERT_EQ(rows.size(), 7 + (points.starts_with("circle") ? 12u : 9u));
            EXPECT_EQ(rows[0], (std::vector<std::string>{"point", "x", "y", "z", "Ex", "Ey", "Ez", "Bx", "By", "Bz"}));
            EXPECT_EQ(rows[4][0].substr(0, 17 + rule.size()), "# interpolation: " + rule);
            for (std::size_t k = 0; k + 7 < rows.size(); ++k) {
                const std::vector<std::string>& row = rows[k + 7];
                ASSERT_EQ(row.size(), 10u);
                EXPECT_EQ(row[0], std::to_string(k + 1));
                const double x = NUMBER(row[1]), y = NUMBER(row[2]);
                if (points.starts_with("circle")) {
                    EXPECT_NEAR(x, 1.25 * std::cos(M_PI * static_cast<double>(k) / 6), 1e-15);
                    EXPECT_NEAR(y, 1.25 * std::sin(M_PI * static_cast<double>(k) / 6), 1e-15);
                }
                EXPECT_NEAR(NUMBER(row[4]), 2000.0 * x, 4e-9) << rule << " " << points << " " << k;
                EXPECT_NEAR(NUMBER(row[5]), -2000.0 * y, 4e-9);
                EXPECT_NEAR(NUMBER(row[7]), 500.0 * y, 1e-9);
                EXPECT_NEAR(NUMBER(row[8]), 500.0 * x, 1e-9);
                EXPECT_EQ(NUMBER(row[6]) + NUMBER(row[9]), 0.0);
            }
        }
}

// Points on the nodes the map's own export lists read those nodes' values, bit for bit, by both
// rules; the file's other columns come through (Ex renamed, the comment sign and the escape
// made harmless), and numpy and pandas load the table.
TEST_F(ProbeRun, NodesOfTheExportReadBackExactlyWithTheFilesColumns) {
    WRITE(mapgen::field_model::harmonic, 1);
    ASSERT_EQ(RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--export", "map.csv"}, {}}).status, 0);
    const auto nodes = ROWS(SLURP(dir / "map.csv"));
    std::string file = "\xEF\xBB\xBF# nodes of the export\r\nEx,z,x,y,tag\r\n";
    std::vector<std::size_t> taken;
    for (std::size_t n = 17; n < nodes.size(); n += 9973) {
        file += nodes[n][3] + "," + nodes[n][2] + "," + nodes[n][0] + "," + nodes[n][1] + ",#\x1b\r\n";
        taken.push_back(n);
    }
    WRITE_TEXT(dir / "nodes.csv", file);
    for (const std::string rule : {"cubic", "linear"}) {
        const run_result r = PROBE({"nodes.csv", "--interpolation", rule});
        ASSERT_EQ(r.status, 0) << r.err;
        const auto rows = ROWS(r.out);
        EXPECT_EQ(rows[0], (std::vector<std::string>{"point", "x", "y", "z", "file_Ex", "tag", "Ex", "Ey", "Ez", "Bx", "By", "Bz"}));
        ASSERT_EQ(rows.size(), 8 + taken.size());
        for (std::size_t k = 0; k < taken.size(); ++k) {
            const std::vector<std::string>& node = nodes[taken[k]];
            std::vector<std::string> expected = {std::to_string(k + 1), node[0], node[1], node[2], node[3], "_\\x1B"};
            expected.insert(expected.end(), node.begin() + 3, node.end());
            EXPECT_EQ(rows[k + 8], expected) << rule;
        }
        WRITE_TEXT(capture / "probe.csv", r.out);
        const testing_support::csv_loads loads = testing_support::LOAD_CSV_IN_PYTHON((capture / "probe.csv").string());
        if (loads.python_missing) continue;
        EXPECT_EQ(loads.failure, "");
        for (const testing_support::csv_table* loaded : {&loads.numpy, &loads.pandas})
            EXPECT_EQ(loaded->columns.at("Bz").size(), taken.size());
    }
}

// Points beyond the region have no value: nan, and one note with their count and the first. A
// points file is read from where the program started, before the DIRECTORY is entered.
TEST_F(ProbeRun, PointsOutsideAreNanWithOneNote) {
    WRITE(mapgen::field_model::harmonic, 1);
    WRITE_TEXT(root / "points.csv", "x,y,z\n0,0.5,40\n0,0.5,50\n0,0.5,55\n0,0.5,60\n");
    const std::string note = "plot_orvex_3dfields: note: 2 of 4 points lie outside the map's region and have no value "
                             "(nan); the first is point 3 at x = 0, y = 0.5, z = 55 cm\n";
    for (const bool strict : {false, true}) {
        std::vector<std::string> args{ORVEX_PROGRAM, "--probe", "points.csv", dir.string()};
        if (strict) args.push_back("--strict");
        const run_result r = RUN_PROGRAM(root, capture, {}, {args, {}});
        EXPECT_EQ(r.status, strict ? 3 : 0);
        EXPECT_EQ(r.err, note);
        const auto rows = ROWS(r.out);
        ASSERT_EQ(rows.size(), 11u);
        EXPECT_NE(rows[8][8], "nan");  // the last node still reads
        EXPECT_EQ(std::vector<std::string>(rows[9].begin() + 4, rows[9].end()), std::vector<std::string>(6, "nan"));
    }
}

}  // namespace
}  // namespace orvex::e2e
