// probe_run_test.cpp: plot_orvex_3dfields --probe run whole: the CSV on standard output read
// back against closed forms (a quadrupole's field, linear in x and y, which both rules must
// give exactly, up to the region's edges), against the map's own nodes (its --export), with a
// file's columns carried; points outside as nan with one note (status 3 under --strict); bad
// POINTS refused before the map is read.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

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
    run_result PROBE(const std::vector<std::string>& args) {
        std::vector<std::string> command{ORVEX_PROGRAM, "--probe"};
        command.insert(command.end(), args.begin(), args.end());
        return RUN_PROGRAM(dir, capture, {}, {command, {}});
    }
};

// The table: its header row, its # lines, and its rows split into cells.
struct table {
    std::string header;
    std::vector<std::string> notes;
    std::vector<std::vector<std::string>> rows;
};

table READ_TABLE(const std::string& text) {
    table t;
    std::istringstream in(text);
    std::getline(in, t.header);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('#')) {
            t.notes.push_back(line);
            continue;
        }
        std::vector<std::string>& cells = t.rows.emplace_back();
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
    }
    return t;
}

double NUMBER(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// By = G x, Bx = G y, Ex = Ge x, Ey = -Ge y: linear in x and y, so both rules give it exactly
// everywhere, on a circle and along a line from corner to corner of the region.
TEST_F(ProbeRun, QuadrupoleIsReadExactlyOnACircleAndAlongTheDiagonal) {
    WRITE(mapgen::field_model::quadrupole, 0);
    for (const std::string rule : {"cubic", "linear"}) {
        for (const std::string points : {"circle:1.25,3:12", "line:-2,-2,-50:2,2,50:9"}) {
            const run_result r = PROBE({points, "--interpolation", rule});
            ASSERT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "");
            const table t = READ_TABLE(r.out);
            EXPECT_EQ(t.header, "point,x,y,z,Ex,Ey,Ez,Bx,By,Bz");
            EXPECT_EQ(t.notes.at(3), "# interpolation: " + rule + (rule == "cubic" ? " (Catmull-Rom through 4 x 4 x 4 nodes)"
                                                                                 : " (trilinear on the cell that holds the point)"));
            ASSERT_EQ(t.rows.size(), points.starts_with("circle") ? 12u : 9u);
            for (std::size_t k = 0; k < t.rows.size(); ++k) {
                const std::vector<std::string>& row = t.rows[k];
                ASSERT_EQ(row.size(), 10u);
                EXPECT_EQ(row[0], std::to_string(k + 1));
                const double x = NUMBER(row[1]), y = NUMBER(row[2]);
                if (points.starts_with("circle")) {
                    EXPECT_NEAR(x, 1.25 * std::cos(2 * M_PI * static_cast<double>(k) / 12), 1e-15);
                    EXPECT_NEAR(y, 1.25 * std::sin(2 * M_PI * static_cast<double>(k) / 12), 1e-15);
                    EXPECT_EQ(row[3], "3");
                }
                EXPECT_NEAR(NUMBER(row[4]), 2000.0 * x, 1e-12 * 4000.0) << rule << " " << points << " " << k;
                EXPECT_NEAR(NUMBER(row[5]), -2000.0 * y, 1e-12 * 4000.0);
                EXPECT_NEAR(NUMBER(row[7]), 500.0 * y, 1e-12 * 1000.0);
                EXPECT_NEAR(NUMBER(row[8]), 500.0 * x, 1e-12 * 1000.0);
                EXPECT_EQ(NUMBER(row[6]), 0.0);
                EXPECT_EQ(NUMBER(row[9]), 0.0);
            }
        }
    }
}

// Points on the nodes the map's own export lists give those nodes' values, bit for bit, by both
// rules; the file's other columns come through (Ex renamed, as the probe writes its own Ex).
TEST_F(ProbeRun, NodesOfTheExportReadBackExactlyWithTheFilesColumns) {
    WRITE(mapgen::field_model::harmonic, 1);
    const run_result exported = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--export", "map.csv"}, {}});
    ASSERT_EQ(exported.status, 0) << exported.err;
    const table nodes = READ_TABLE(SLURP(dir / "map.csv"));
    ASSERT_EQ(nodes.header, "x,y,z,Ex,Ey,Ez,Bx,By,Bz");
    std::string file = "\xEF\xBB\xBF# nodes of the export\r\nEx,z,x,y,tag\r\n";
    std::vector<std::size_t> taken;
    for (std::size_t n = 7; n < nodes.rows.size(); n += 9973) {
        const std::vector<std::string>& r = nodes.rows[n];
        file += r[3] + "," + r[2] + "," + r[0] + "," + r[1] + ",n";
        file += std::to_string(n) + "#\x1b\r\n";  // a comment sign and an escape in the carried cell
        taken.push_back(n);
    }
    WRITE_TEXT(dir / "nodes.csv", file);
    for (const std::string rule : {"cubic", "linear"}) {
        const run_result r = PROBE({"nodes.csv", "--interpolation", rule});
        ASSERT_EQ(r.status, 0) << r.err;
        const table t = READ_TABLE(r.out);
        EXPECT_EQ(t.header, "point,x,y,z,file_Ex,tag,Ex,Ey,Ez,Bx,By,Bz");
        EXPECT_EQ(t.notes.back(), "# carried from the points file: file_Ex tag");
        ASSERT_EQ(t.rows.size(), taken.size());
        for (std::size_t k = 0; k < taken.size(); ++k) {
            const std::vector<std::string>& node = nodes.rows[taken[k]];
            const std::vector<std::string>& row = t.rows[k];
            EXPECT_EQ(std::vector<std::string>(row.begin() + 1, row.begin() + 4),
                      std::vector<std::string>(node.begin(), node.begin() + 3));
            EXPECT_EQ(row[4], node[3]);
            EXPECT_EQ(row[5], std::string("n").append(std::to_string(taken[k])).append("_\\x1B"));
            EXPECT_EQ(std::vector<std::string>(row.begin() + 6, row.end()), std::vector<std::string>(node.begin() + 3, node.end()))
                << rule << " at node row " << taken[k];
        }
        // numpy and pandas load it as it stands: every row, every column.
        WRITE_TEXT(capture / "probe.csv", r.out);
        const testing_support::csv_loads loads = testing_support::LOAD_CSV_IN_PYTHON((capture / "probe.csv").string());
        if (loads.python_missing) continue;
        EXPECT_EQ(loads.failure, "");
        for (const testing_support::csv_table* loaded : {&loads.numpy, &loads.pandas}) {
            EXPECT_EQ(loaded->names.size(), 12u);
            EXPECT_EQ(loaded->columns.at("tag").size(), taken.size());
        }
    }
}

// Points beyond the region have no value: nan, and one note with their count and the first.
TEST_F(ProbeRun, PointsOutsideAreNanWithOneNote) {
    WRITE(mapgen::field_model::harmonic, 1);
    const std::string note = "plot_orvex_3dfields: note: 2 of 5 points lie outside the map's region and have no value "
                             "(nan); the first is point 4 at x = 0, y = 0.5, z = 55 cm\n";
    for (const bool strict : {false, true}) {
        const run_result r = strict ? PROBE({"line:0,0.5,40:0,0.5,60:5", "--strict"}) : PROBE({"line:0,0.5,40:0,0.5,60:5"});
        EXPECT_EQ(r.status, strict ? 3 : 0);
        EXPECT_EQ(r.err, note);
        const table t = READ_TABLE(r.out);
        ASSERT_EQ(t.rows.size(), 5u);
        EXPECT_EQ(t.rows[2][3], "50");
        EXPECT_NE(t.rows[2][8], "nan");  // the last node still reads
        EXPECT_EQ(std::vector<std::string>(t.rows[3].begin() + 4, t.rows[3].end()), std::vector<std::string>(6, "nan"));
    }
}

// A bad POINTS is refused before the map is read (there is none here), a relative file is
// taken from where the program started, one that cannot be read ends the run with status 1.
TEST_F(ProbeRun, BadPointsEndBeforeTheMapIsRead) {
    fs::create_directories(root / "start");
    WRITE_TEXT(root / "start" / "nz.csv", "x,y,Z\n1,2,3\n");
    const auto run_from_start = [&](const std::string& points) {
        return RUN_PROGRAM(root / "start", capture, {}, {{ORVEX_PROGRAM, "--probe", points, dir.string()}, {}});
    };
    const run_result missing_column = run_from_start("nz.csv");
    EXPECT_EQ(missing_column.status, 2);
    EXPECT_EQ(missing_column.err, "plot_orvex_3dfields: nz.csv:1: the header row names no column z (it names x, y, Z); it "
                                  "must name x, y and z; see plot_orvex_3dfields --help\n");
    const run_result unreadable = run_from_start("none.csv");
    EXPECT_EQ(unreadable.status, 1);
    EXPECT_EQ(unreadable.err, "plot_orvex_3dfields: none.csv: cannot open: No such file or directory\n");
    for (const run_result& r : {missing_column, unreadable}) EXPECT_EQ(r.out, "");
    EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
}  // namespace orvex::e2e
