// magnet_parts_test.cpp: no magnet is unfolded wrongly without a word. The map writer and the
// importer refuse a stored part whose mirror images are not what the viewer's unfolding puts
// there; the table of which parts each common magnet may be stored as (README, "Magnets and
// mirrors") is checked cell by cell: the solenoid and the quadrupole through the writer's models,
// the dipole, the sextupole and the quadrupole through tables of their fields written here from
// harmonic potentials.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_run.h"

namespace orvex::e2e {
namespace {

using magnet_field = std::function<std::array<double, 3>(double, double, double)>;

// B = grad of a harmonic potential, in Gs.
// Dipole: cosh(a x) sinh(b y) cos(c z), c^2 = a^2 + b^2 (By on the axis, a gap along y).
std::array<double, 3> DIPOLE(double x, double y, double z) {
    const double a = 0.1, b = 0.2, c = std::sqrt(a * a + b * b), s = 1000;
    return {s * a * std::sinh(a * x) * std::sinh(b * y) * std::cos(c * z), s * b * std::cosh(a * x) * std::cosh(b * y) * std::cos(c * z),
            -s * c * std::cosh(a * x) * std::sinh(b * y) * std::sin(c * z)};
}
// Quadrupole: G x y.
std::array<double, 3> QUADRUPOLE(double x, double y, double) { return {500 * y, 500 * x, 0}; }
// Sextupole: S (x^2 y - y^3 / 3).
std::array<double, 3> SEXTUPOLE(double x, double y, double) { return {200 * 2 * x * y, 200 * (x * x - y * y), 0}; }

// The whole region, 5 x 5 x 5 nodes over x, y in [-2, 2] cm and z in [-10, 10] cm.
std::string TABLE(const magnet_field& f) {
    std::ostringstream t;
    t.precision(17);
    t << "x [cm] y [cm] z [cm] Bx [Gs] By [Gs] Bz [Gs]\n";
    for (int k = 0; k < 5; ++k)
        for (int j = 0; j < 5; ++j)
            for (int i = 0; i < 5; ++i) {
                const double x = i - 2.0, y = j - 2.0, z = 5.0 * k - 10.0;
                const auto b = f(x, y, z);
                t << x << ' ' << y << ' ' << z << ' ' << b[0] << ' ' << b[1] << ' ' << b[2] << '\n';
            }
    return t.str();
}

class MagnetParts : public run_directory<> {
protected:
    run_result WRITER(std::vector<std::string> args) {
        args.insert(args.begin(), ORVEX_MAP_WRITER);
        return RUN_PROGRAM(dir, capture, {}, {args, {}});
    }
};

// Which single mirror each magnet's field allows, magnetic only (kind 1) and with both fields
// (kind 2): x, y, z in that order.
struct magnet_row {
    const char* name;
    std::array<bool, 3> alone, with_electric;
};

TEST_F(MagnetParts, EachCellOfTheReadmeTableIsWhatTheWriterOrTheImporterDoes) {
    const std::vector<magnet_row> rows{{"solenoid", {true, true, true}, {false, false, true}},
                                       {"dipole", {true, false, false}, {false, true, false}},
                                       {"quadrupole", {false, false, false}, {true, true, false}},
                                       {"sextupole", {true, false, false}, {false, true, false}}};
    const std::array<const char*, 3> syms{"1,0,0", "0,1,0", "0,0,1"};
    const std::vector<std::pair<const char*, magnet_field>> tables{{"dipole", DIPOLE}, {"quadrupole", QUADRUPOLE}, {"sextupole", SEXTUPOLE}};
    for (const magnet_row& row : rows)
        for (int kind = 1; kind <= 2; ++kind)
            for (std::size_t a = 0; a < 3; ++a) {
                const bool allowed = (kind == 1 ? row.alone : row.with_electric)[a];
                const std::string out = kind == 1 ? "PMQ_m.bin" : "MW_m.bin";
                SCOPED_TRACE(std::string(row.name) + " kind " + std::to_string(kind) + " --sym " + syms[a]);
                std::vector<std::string> args{"--sym", syms[a], "--layout", "binary", out};
                if (kind == 2) args.insert(args.begin(), {"--ncell", "3"});
                const std::string model = row.name == std::string("dipole") || row.name == std::string("sextupole") ? "" : row.name;
                if (!model.empty()) {  // the writer's model, both fields for kind 2
                    args.insert(args.begin(), {"--model", model, "--kind", std::to_string(kind), "--range", "2,2,10"});
                    const run_result r = WRITER(args);
                    EXPECT_EQ(r.status, allowed ? 0 : 1) << "writer: " << r.err;
                    EXPECT_EQ(r.err.find("store the whole region: --sym 0,0,0") != std::string::npos, !allowed) << r.err;
                }
                for (const auto& [name, field] : tables) {
                    if (name != std::string(row.name)) continue;
                    WRITE_TEXT(dir / "t.txt", TABLE(field));
                    std::vector<std::string> import{"--import", "t.txt", "--resample", "linear", "--sym", syms[a], "--layout", "binary", out};
                    if (kind == 2) import.insert(import.begin(), {"--header", "20,2,3"});  // n_cell 3: a map of both fields
                    const run_result r = WRITER(import);
                    EXPECT_EQ(r.status, allowed ? 0 : 1) << "importer: " << r.err;
                    EXPECT_EQ(r.err.find("store the whole region: --sym 0,0,0") != std::string::npos, !allowed) << r.err;
                }
            }
}

TEST_F(MagnetParts, TheRefusalNamesComponentNodeValuesFlagAndWhatToDo) {
    WRITE_TEXT(dir / "t.txt", TABLE(QUADRUPOLE));
    const std::set<std::string> before = ENTRIES(dir);
    run_result r = WRITER({"--import", "t.txt", "--sym", "1,0,0", "--resample", "linear", "--layout", "binary", "PMQ_q.bin"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "write_field_map: t.txt: Bx at x = -2, y = -2, z = -10 cm (line 2) is -1000 Gs, but the viewer unfolds it from "
              "x = 2 as 1000 Gs (ksym_yz = 1; Bx of a map of the magnetic field alone is odd in x and z); store the whole "
              "region: --sym 0,0,0\n");
    EXPECT_EQ(ENTRIES(dir), before);
    // The whole region is accepted.
    r = WRITER({"--import", "t.txt", "--resample", "linear", "--layout", "binary", "PMQ_q.bin"});
    EXPECT_EQ(r.status, 0) << r.err;

    // A field a hundred-thousandth off its parity: refused as it stands, taken with a looser tolerance.
    const magnet_field nearly = [](double x, double y, double z) {
        auto b = SEXTUPOLE(x, y, z);
        b[0] += 1e-5 * 1600 * (x > 0);
        return b;
    };
    WRITE_TEXT(dir / "n.txt", TABLE(nearly));
    const std::vector<std::string> args{"--import", "n.txt", "--sym", "1,0,0", "--resample", "linear", "--layout", "binary", "EM_n.bin"};
    EXPECT_EQ(WRITER(args).status, 1);
    std::vector<std::string> looser = args;
    looser.insert(looser.begin(), {"--mirror-tolerance", "1e-4"});
    r = WRITER(looser);
    EXPECT_EQ(r.status, 0) << r.err;
}

}  // namespace
}  // namespace orvex::e2e
