// import_round_trip_test.cpp: a map exported as CSV and imported again is the same map file,
// byte for byte: the CSV written here as the export writes it (every node of the unfolded
// region at the page's even coordinates, x fastest, 17 significant digits, the # lines of the
// map's header, stored coordinates and mirror flags), the oracle the map writer's own bytes for
// the stored lattice. Signed zeros, uneven stored coordinates, mirrored and unmirrored axes.
#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace orvex::e2e {
namespace {

constexpr std::array<int, 3> stored{25, 25, 201};

// odd[kind][component]: the axes (bit 0 x, 1 y, 2 z) in which the unfolding negates it.
constexpr unsigned odd[3][6] = {{1, 2, 4, 0, 0, 0}, {0, 0, 0, 5, 6, 0}, {1, 2, 4, 6, 5, 3}};

std::string REAL(double v) {
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 17).ptr);
}

struct round_trip {
    const char* name;
    int kind;
    std::array<int, 3> sym;
    bool flags_on_command_line;
    std::string header_line;  // as the CSV gives it
    double d_elm, aper;
    int n_cell;
    double move_y = 0.0;  // the y column moved by this many steps: its stored line no longer fits
};

class ImportRoundTrip : public run_directory<> {
protected:
    mapgen::stored_lattice lattice;

    // Stored coordinates rounded to 8 decimals (uneven by up to 5e-9 cm, a sixth of the 1e-6 of a
    // step within which the table's even nodes take them), values of the test field
    // with exact zeros of both signs sprinkled in.
    void MAKE_LATTICE(const round_trip& c) {
        const std::array<double, 3> hi{0.7333333, 1.1, 12.5};
        std::array<std::vector<double>*, 3> axis{&lattice.x, &lattice.y, &lattice.z};
        for (std::size_t a = 0; a < 3; ++a) {
            axis[a]->clear();
            const double lo = c.sym[a] == 1 ? 0.0 : -hi[a];
            for (int n = 0; n < stored[a]; ++n)
                axis[a]->push_back(std::round((lo + n * (hi[a] - lo) / (stored[a] - 1)) * 1e8) / 1e8);
        }
        mapgen::map_recipe field;
        field.kind = 2;
        for (auto& v : lattice.values) v.assign(25 * 25 * 201, 0.0);
        std::size_t n = 0;
        for (int k = 0; k < 201; ++k)
            for (int j = 0; j < 25; ++j)
                for (int i = 0; i < 25; ++i, ++n) {
                    const mapgen::field_value f = mapgen::FIELD_AT(field, lattice.x[i], lattice.y[j], lattice.z[k]);
                    for (std::size_t comp = 0; comp < 6; ++comp) {
                        const bool carried = c.kind == 2 || (c.kind == 0) == (comp < 3);
                        double v = carried ? f.*mapgen::field_components[comp] : 0.0;
                        if (carried && n % 7 == comp) v = -0.0;
                        if (carried && n % 11 == comp) v = 0.0;
                        lattice.values[comp][n] = v;
                    }
                }
    }

    // The CSV of the unfolded map, as the export writes it.
    std::string CSV(const round_trip& c) {
        const std::array<const std::vector<double>*, 3> axis{&lattice.x, &lattice.y, &lattice.z};
        std::array<std::vector<double>, 3> page;  // node n at (n - 1) * step + lo
        for (std::size_t a = 0; a < 3; ++a) {
            const int count = c.sym[a] == 1 ? 2 * stored[a] - 1 : stored[a];
            const double lo = c.sym[a] == 1 ? -axis[a]->back() : axis[a]->front(), hi = axis[a]->back();
            const double step = (hi - lo) / (count - 1);
            for (int n = 0; n < count; ++n) page[a].push_back(n * step + lo + (a == 1 ? c.move_y * step : 0.0));
        }
        std::vector<int> comps;
        for (int comp = 0; comp < 6; ++comp)
            if (c.kind == 2 || (c.kind == 0) == (comp < 3)) comps.push_back(comp);
        const char* names[] = {"Ex", "Ey", "Ez", "Bx", "By", "Bz"};
        std::string out = "x,y,z";
        for (const int comp : comps) out += std::string(",") + names[comp];
        out += "\n# plot_orvex_3dfields unfolded map\n# map file: MW_original.bin\n# units: cm,V/cm,Gs\n" + c.header_line + "\n";
        for (std::size_t a = 0; a < 3; ++a) {
            out += std::string("# stored ") + "xyz"[a] + ":";
            for (const double v : *axis[a]) out.append(" ").append(REAL(v));
            out += "\n";
        }
        out += "# mirror flags: " + std::to_string(c.sym[0]) + " " + std::to_string(c.sym[1]) + " " + std::to_string(c.sym[2]) + "\n";
        std::array<int, 3> m{};
        for (m[2] = 0; m[2] < static_cast<int>(page[2].size()); ++m[2])
            for (m[1] = 0; m[1] < static_cast<int>(page[1].size()); ++m[1])
                for (m[0] = 0; m[0] < static_cast<int>(page[0].size()); ++m[0]) {
                    unsigned crossed = 0;
                    std::array<int, 3> s{};  // the stored node, 0-based
                    for (std::size_t a = 0; a < 3; ++a) {
                        s[a] = c.sym[a] == 1 ? m[a] - (stored[a] - 1) : m[a];
                        if (s[a] < 0) crossed |= 1u << a, s[a] = -s[a];
                    }
                    out.append(REAL(page[0][m[0]])).append(",").append(REAL(page[1][m[1]])).append(",").append(REAL(page[2][m[2]]));
                    const std::size_t node = (static_cast<std::size_t>(s[2]) * 25 + s[1]) * 25 + s[0];
                    for (const int comp : comps) {
                        const double sign = std::popcount(odd[c.kind][comp] & crossed) % 2 ? -1.0 : 1.0;
                        out.append(",").append(REAL(sign * lattice.values[comp][node]));
                    }
                    out += "\n";
                }
        if (c.move_y != 0.0) lattice.y.assign(page[1].begin(), page[1].end());  // the table's own come back
        return out;
    }
};

TEST_F(ImportRoundTrip, ACsvExportImportsAsTheSameMapFileByteForByte) {
    const std::vector<round_trip> cases{
        {"both fields, x and z mirrored, flags from the table", 2, {1, 0, 1}, false,
         std::string("# map header: d_elm 25 aper ") + REAL(0.7333333) + " n_cell 5", 25, 0.7333333, 5},
        {"magnetic field, nothing mirrored", 1, {0, 0, 0}, true, "# map header: d_elm 1.8 aper -0 n_cell 0", 1.8, -0.0, 0},
        {"electric field, x mirrored, the y column moved off its stored line", 0, {1, 0, 0}, true,
         std::string("# map header: d_elm ") + REAL(12.5) + " aper " + REAL(1.1) + " n_cell 0", 12.5, 1.1, 0, 0.01},
    };
    for (const round_trip& c : cases) {
        SCOPED_TRACE(c.name);
        MAKE_LATTICE(c);
        WRITE_TEXT(dir / "map.csv", CSV(c));
        mapgen::map_recipe recipe;
        recipe.kind = c.kind;
        recipe.ksym_yz = c.sym[0], recipe.ksym_xz = c.sym[1], recipe.ksym_xy = c.sym[2];
        recipe.lattice = &lattice;
        recipe.d_elm = c.d_elm, recipe.aper = c.aper, recipe.n_cell = c.n_cell;
        const std::string out = c.kind == 2 ? "MW_back.bin" : "EM_back.bin";
        std::vector<std::string> args{ORVEX_MAP_WRITER, "--import", "map.csv", "--layout", "binary", out};
        if (c.flags_on_command_line)
            args.insert(args.begin() + 1, {"--sym", std::to_string(c.sym[0]) + "," + std::to_string(c.sym[1]) + "," +
                                                        std::to_string(c.sym[2])});
        const run_result r = RUN_PROGRAM(dir, capture, {}, {args, {}});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(SLURP(dir / out) == mapgen::BUILD_FIELD_MAP(recipe, mapgen::layout::binary));
    }
}

// The header the command line gives wins over the table's; a header line that does not read is
// refused only when no --header replaces it.
TEST_F(ImportRoundTrip, TheCommandLineHeaderWinsAndABadHeaderLineIsNamed) {
    const round_trip c{"", 1, {0, 0, 0}, true, "# map header: d_elm 60 aper 2 n_cell 2.5", 0, 0, 0};
    MAKE_LATTICE(c);
    WRITE_TEXT(dir / "map.csv", CSV(c));
    run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_MAP_WRITER, "--import", "map.csv", "--layout", "binary", "EM_b.bin"}, {}});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("map.csv: line 5 (\"# map header: d_elm 60 aper 2 n_cell 2.5\"): its n_cell \"2.5\" is not an "
                         "integer a map's header can hold; give --header"),
              std::string::npos)
        << r.err;
    r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_MAP_WRITER, "--import", "map.csv", "--header", "7,0.5,2", "--layout", "binary", "EM_b.bin"}, {}});
    ASSERT_EQ(r.status, 0) << r.err;
    mapgen::map_recipe recipe;
    recipe.kind = 2;  // n_cell 2 in an array layout: a map of both fields, B alone carried
    recipe.lattice = &lattice;
    recipe.d_elm = 7, recipe.aper = 0.5, recipe.n_cell = 2;
    EXPECT_TRUE(SLURP(dir / "EM_b.bin") == mapgen::BUILD_FIELD_MAP(recipe, mapgen::layout::binary));
}

}  // namespace
}  // namespace orvex::e2e
