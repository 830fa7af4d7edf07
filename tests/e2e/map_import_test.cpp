// map_import_test.cpp: write_field_map --import, run as built: tables in the three header
// styles, x or z fastest, in several units, give the map the field says (read back from the
// written text layout); resampling reproduces a trilinear and a cubic field; a CSV export
// imported again is the same map byte for byte; each refusal is one line and writes nothing.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace orvex::e2e {
namespace {

using field_function = std::function<std::array<double, 6>(double, double, double)>;

// A lattice of nodes lo + n * (hi - lo) / (count - 1) per axis, in cm.
struct table_lattice {
    std::array<int, 3> count{25, 25, 201};
    std::array<double, 3> lo{-2, -1.5, -50}, hi{2, 1.5, 50};
    double AT(int a, int n) const { return lo[a] + n * ((hi[a] - lo[a]) / (count[a] - 1)); }
};

// The analytic test field of the map writer for both fields (its parities fit every mirror).
std::array<double, 6> ANALYTIC(double x, double y, double z) {
    mapgen::map_recipe s;
    s.kind = 2, s.y_hi = 1.5;
    const mapgen::field_value f = mapgen::FIELD_AT(s, x, y, z);
    return {f.ex, f.ey, f.ez, f.bx, f.by, f.bz};
}

struct table_style {
    std::string head;                      // the header as written, before the rows
    double length = 1, electric = 1, magnetic = 1;  // table units per cm, V/cm, Gs
    std::vector<int> components{0, 1, 2};  // which of Ex..Bz, in column order
    bool z_fastest = false;
    const char* separator = " ";
    int imaginary = 0;                     // 1: Re and Im columns, the field in Im
};

std::string TABLE(const table_style& st, const table_lattice& l, const field_function& field) {
    std::ostringstream out;
    out.precision(17);
    out << st.head;
    const auto row = [&](int i, int j, int k) {
        const double x = l.AT(0, i), y = l.AT(1, j), z = l.AT(2, k);
        out << x * st.length << st.separator << y * st.length << st.separator << z * st.length;
        const auto f = field(x, y, z);
        for (const int c : st.components) {
            const double v = f[static_cast<std::size_t>(c)] * (c < 3 ? st.electric : st.magnetic);
            if (st.imaginary) out << st.separator << 7.5;  // the real part: not asked for
            out << st.separator << v;
        }
        out << "\n";
    };
    if (st.z_fastest) {
        for (int i = 0; i < l.count[0]; ++i)
            for (int j = 0; j < l.count[1]; ++j)
                for (int k = 0; k < l.count[2]; ++k) row(i, j, k);
    } else {
        for (int k = 0; k < l.count[2]; ++k)
            for (int j = 0; j < l.count[1]; ++j)
                for (int i = 0; i < l.count[0]; ++i) row(i, j, k);
    }
    return out.str();
}

class MapImport : public run_directory<> {
protected:
    struct result {
        int status;
        std::string err;
    };
    result IMPORT(const std::string& table, const std::string& args, const std::string& out = "MW_map.txt") {
        WRITE_TEXT(dir / "table.txt", table);
        const std::string command = "cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --import table.txt " + args +
                                    " " + out + " 2> '" + (capture / "err").string() + "'";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, SLURP(capture / "err")};
    }
    // Every number of a text-layout map, in order.
    std::vector<double> MAP_NUMBERS(const std::string& name) {
        std::istringstream in(SLURP(dir / name));
        std::vector<double> v;
        std::string token;
        while (in >> token) v.push_back(std::strtod(token.c_str(), nullptr));
        return v;
    }
    // The map's stored nodes against the field, to a relative tolerance of the largest value.
    void EXPECT_MAP_IS(const std::string& name, const std::vector<int>& components, const field_function& field,
                       double tolerance) {
        const std::vector<double> v = MAP_NUMBERS(name);
        ASSERT_EQ(v.size(), 3 + 3 + 25 + 25 + 201 + components.size() * 125625u);
        const double* x = &v[6];
        const double* y = x + 25;
        const double* z = y + 25;
        double worst = 0, largest = 0;
        for (std::size_t n = 0; n < components.size(); ++n)
            for (int k = 0; k < 201; ++k)
                for (int j = 0; j < 25; ++j)
                    for (int i = 0; i < 25; ++i) {
                        const double want = field(x[i], y[j], z[k])[static_cast<std::size_t>(components[n])];
                        const double got = z[201 + n * 125625 + static_cast<std::size_t>((k * 25 + j) * 25 + i)];
                        worst = std::max(worst, std::fabs(got - want));
                        largest = std::max(largest, std::fabs(want));
                    }
        EXPECT_LE(worst, tolerance * largest) << name;
    }
};

TEST_F(MapImport, HeaderStylesOrdersAndUnitsGiveTheFieldAtEveryNode) {
    const table_lattice whole;
    struct import_case {
        const char* name;
        table_style style;
        std::string args, out;
    };
    const std::vector<import_case> cases{
        {"names in brackets, x fastest, mm and V/m",
         {"x [mm]  y [mm]  z [mm]  Ex [V/m]  Ey [V/m]  Ez [V/m]\n----------------------------\n", 10, 100},
         "--layout text", "EM_a.txt"},
        {"% lines, z fastest, m and T",
         {"% Model: lens\n% Length unit: m\n% x y z mf.Bx (T) mf.By (T) mf.Bz (T)\n", 0.01, 1, 1e-4, {3, 4, 5}, true},
         "--layout text", "PMQ_b.txt"},
        {"count line, both fields, cm, kV/m and kGs, commas",
         {"25 25 201 2\n1 X [CM]\n2 Y [CM]\n3 Z [CM]\n4 EX [KV/M]\n5 EY [KV/M]\n6 EZ [KV/M]\n7 BX [KGS]\n8 BY [KGS]\n9 BZ [KGS]\n0\n",
          1, 0.1, 1e-3, {0, 1, 2, 3, 4, 5}, false, ","},
         "--layout text", "MW_c.txt"},
        {"no header, z fastest, tabs, mm and A/m",
         {"", 10, 1, 1 / 0.0125663706212, {3, 4, 5}, true, "\t"},
         "--columns x,y,z,Hx,Hy,Hz --units mm,A/m --layout text", "EM_d.txt"},
        {"complex columns, the imaginary part",
         {"x [cm] y [cm] z [cm] ExRe [V/cm] ExIm [V/cm] EyRe [V/cm] EyIm [V/cm] EzRe [V/cm] EzIm [V/cm]\n", 1, 1, 1,
          {0, 1, 2}, false, " ", 1},
         "--part im --layout text", "RFQ_e.txt"},
    };
    for (const import_case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto r = IMPORT(TABLE(c.style, whole, ANALYTIC), c.args, c.out);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_MAP_IS(c.out, c.style.components, ANALYTIC, 1e-14);
    }
}

TEST_F(MapImport, MirrorFlagsKeepTheSideFromThePlaneUp) {
    table_lattice l;  // the whole region, 49 x 25 x 401 nodes
    l.count = {49, 25, 401};
    const auto r = IMPORT(TABLE({"x y z Ex Ey Ez Bx By Bz\n# units: cm,V/cm,Gs\n", 1, 1, 1, {0, 1, 2, 3, 4, 5}}, l, ANALYTIC),
                          "--sym 1,0,1 --layout text");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<double> v = MAP_NUMBERS("MW_map.txt");
    EXPECT_EQ(v[3], 1);
    EXPECT_EQ(v[5], 1);
    EXPECT_EQ(v[6], 0.0);       // x starts on its mirror plane
    EXPECT_EQ(v[6 + 50], 0.0);  // so does z
    EXPECT_MAP_IS("MW_map.txt", {0, 1, 2, 3, 4, 5}, ANALYTIC, 1e-14);
}

TEST_F(MapImport, ResamplingReproducesTrilinearAndCubicFields) {
    table_lattice coarse;
    coarse.count = {9, 7, 41};
    const field_function trilinear = [](double x, double y, double z) {
        const double v = 3 + 2 * x - y + 0.5 * z + 0.7 * x * y - 0.3 * y * z + 0.2 * x * z + 0.05 * x * y * z;
        return std::array<double, 6>{v, 2 * v, -v, 0, 0, 0};
    };
    const field_function cubic = [](double x, double y, double z) {
        const double v = 1 + x * x * x - 2 * y * y * x + 0.001 * z * z * z - 0.02 * x * y * z * z + y * y * y;
        return std::array<double, 6>{v, -v, 0.5 * v, 0, 0, 0};
    };
    ASSERT_EQ(IMPORT(TABLE({"x y z Ex Ey Ez\n"}, coarse, trilinear), "--units cm,V/cm --resample linear --layout text", "EM_l.txt").status, 0);
    EXPECT_MAP_IS("EM_l.txt", {0, 1, 2}, trilinear, 1e-10);
    ASSERT_EQ(IMPORT(TABLE({"x y z Ex Ey Ez\n"}, coarse, cubic), "--units cm,V/cm --resample cubic --layout text", "EM_c.txt").status, 0);
    EXPECT_MAP_IS("EM_c.txt", {0, 1, 2}, cubic, 1e-10);
}

TEST_F(MapImport, AMapExportedAsCsvImportsAsTheSameFile) {
    mapgen::map_recipe s;
    s.kind = 2, s.n_cell = 3, s.ksym_yz = s.ksym_xz = s.ksym_xy = 1;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(s, mapgen::layout::binary, (dir / "MW_map.bin").string()));
    WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "a\nb\nMW_map.bin\n0\n0\n");
    const std::string command = "cd '" + dir.string() + "' && '" ORVEX_PROGRAM "' --export map.csv 2>/dev/null && '" ORVEX_MAP_WRITER
                                "' --import map.csv --sym 1,1,1 --header 100,2,3 --layout binary MW_back.bin";
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_TRUE(SLURP(dir / "MW_back.bin") == SLURP(dir / "MW_map.bin"));
}

TEST_F(MapImport, EachRefusalIsOneLineAndWritesNothing) {
    table_lattice small;
    small.count = {5, 3, 4};
    const std::string good = TABLE({"x [cm] y [cm] z [cm] Ex [V/cm] Ey [V/cm] Ez [V/cm]\n"}, small, ANALYTIC);
    const std::string bare = TABLE({"x y z Ex Ey Ez\n"}, small, ANALYTIC);
    const std::size_t row3 = good.find('\n', good.find('\n', good.find('\n') + 1) + 1) + 1;  // start of the third row
    std::string missing = good, repeated = good, off = good, narrow = good;
    missing.erase(row3, good.find('\n', row3) + 1 - row3);
    repeated.insert(row3, good.substr(row3, good.find('\n', row3) + 1 - row3));
    off.replace(row3, 1, "0.3");  // x = 0.3 where the lattice has -2, -1, 0, 1, 2
    narrow.insert(good.find('\n', row3), " 1");
    table_lattice shifted = small;
    shifted.lo[0] = -1.5;  // x = 0 falls between nodes
    struct refusal {
        std::string table, args, says;
        int status;
    };
    const std::vector<refusal> cases{
        {bare, "--resample linear", "no unit for column 1 (x): give --units", 1},
        {missing, "--resample linear", "has no row for the node x = 0 cm, y = -1.5 cm, z = -50 cm", 1},
        {repeated, "--resample linear", "line 5 repeats the node of line 4", 1},
        {off, "--resample linear", "line 4: x = 0.3 cm lies off the lattice", 1},
        {narrow, "--resample linear", "line 4 holds 7 values; the table has 6 columns", 1},
        {TABLE({"x y z Ex Ey Ez\n"}, shifted, ANALYTIC), "--units cm,V/cm --sym 1,0,0 --resample linear",
         "x = 0 is not a node of the table", 1},
        {good, "", "holds 5 x 3 x 4 nodes, a map 25 x 25 x 201: give --resample", 1},
        {good, "--units mm --resample linear", "is in cm by the table's header, but --units says mm", 1},
        {good, "--resample cubic", "cubic resampling needs 4 nodes along y; the stored part has 3", 1},
        {good, "--part re --resample linear", "--part is for a table with real and imaginary columns", 1},
        {TABLE({"x y z ExRe ExIm EyRe EyIm EzRe EzIm\n", 1, 1, 1, {0, 1, 2}, false, " ", 1}, small, ANALYTIC),
         "--units cm,V/cm --resample linear", "give --part re or --part im", 1},
        {TABLE({"x [cm] y [cm] z [cm] Ex [V/mm] Ey [V/mm] Ez [V/mm]\n"}, small, ANALYTIC), "--resample linear",
         "a unit this importer does not know", 1},
        {good, "--resample quadratic", "--resample takes linear or cubic", 2},
    };
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.says);
        const auto r = IMPORT(c.table, c.args + " --layout binary", "EM_out.bin");
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_FALSE(fs::exists(dir / "EM_out.bin"));
    }
    const auto r = IMPORT(good, "--resample linear --layout binary", "MW_out.bin");  // one field in an MW name
    EXPECT_NE(r.err.find("must hold EM, PMQ or RFQ and not MW"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(dir / "MW_out.bin"));
}

}  // namespace
}  // namespace orvex::e2e
