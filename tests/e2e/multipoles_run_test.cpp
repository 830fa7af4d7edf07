// multipoles_run_test.cpp: magnets written by write_field_map's --model multipole and judged by
// plot_orvex_3dfields --multipoles (the CSV of every plane, read back) and --figures (the
// multipoles section of the JSON document): added harmonics, centre and roll through B and
// through E; a disc too small to fit stops the run, a small one is noted (status 3 under
// --strict); the writer refuses a magnet's options without its model.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"

namespace orvex::e2e {
namespace {

class MultipolesRun : public run_directory<> {
protected:
    // Writes the map with the writer's own options and a control file asking for field.
    void WRITE_MAGNET(const std::string& options, const std::string& name, int field) {
        ASSERT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --layout binary --model multipole " + options +
                            " " + name),
                  0);
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "magnet\nrun\n" + name + "\n0\n" + std::to_string(field) + "\n");
    }
    run_result RUN(std::vector<std::string> args) {
        args.insert(args.begin(), ORVEX_PROGRAM);
        return RUN_PROGRAM(dir, capture, {}, {args, {}});
    }
};

// The CSV's rows as numbers; "nan" reads as NaN.
std::vector<std::vector<double>> ROWS(const std::string& text, std::string& header) {
    std::istringstream in(text);
    std::getline(in, header);
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('#')) continue;
        std::vector<double> row;
        std::istringstream fields(line);
        for (std::string f; std::getline(fields, f, ',');) row.push_back(std::strtod(f.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}

TEST_F(MultipolesRun, EveryPlaneAsCsvWithTheHarmonicsPutIn) {
    WRITE_MAGNET("--kind 1 --multipole 2,1000,1 --harmonic 6,10,0 --harmonic 3,0,-5", "PMQ_magnet.bin", 1);
    const run_result r = RUN({"--multipoles", "--radius", "1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(ENTRIES(dir), (std::set<std::string>{"PMQ_magnet.bin", "plot_orvex_3dfields.dat"}));
    EXPECT_NE(r.out.find("\n# reference radius: r_ref = 1 cm; 113 nodes of each z plane inside it; n = 1..15\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n# main harmonic: M = 2"), std::string::npos);
    std::string header;
    const auto rows = ROWS(r.out, header);
    EXPECT_EQ(header, "z,n,Re_C,Im_C,b,a");
    ASSERT_EQ(rows.size(), 201u * 15u);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::vector<double>& v = rows[row];
        ASSERT_EQ(v.size(), 6u);
        EXPECT_EQ(v[0], -50.0 + 0.5 * static_cast<double>(row / 15));  // z
        EXPECT_EQ(v[1], static_cast<double>(row % 15 + 1));             // n
        // The envelope, 1/2 [erf((z + 10)/(2 sqrt 2)) - erf((z - 10)/(2 sqrt 2))], on C_2.
        const double g = (std::erf((v[0] + 10.0) / (2.0 * std::sqrt(2.0))) - std::erf((v[0] - 10.0) / (2.0 * std::sqrt(2.0)))) / 2.0;
        if (v[1] == 2.0 && g > 1e-6) {
            EXPECT_NEAR(v[2] / (1000.0 * g), 1.0, 1e-9) << row;
        }
        const double b = v[1] == 2.0 ? 1e4 : v[1] == 6.0 ? 10.0 : 0.0, a = v[1] == 3.0 ? -5.0 : 0.0;
        EXPECT_NEAR(v[4], b, 1e-4) << row;
        EXPECT_NEAR(v[5], a, 1e-4) << row;
    }
}

// The integrated figures of --figures: a displaced quadrupole's centre, a rolled one's roll,
// through B and through E (electric quadrupoles: kind 0, field 0).
TEST_F(MultipolesRun, FiguresGiveCentreAndRollThroughBAndE) {
    struct row {
        std::string kind_and_name;
        int field;
    };
    for (const row& r : {row{"--kind 1 PMQ_quad.bin", 1}, row{"--kind 0 RFQ_quad.bin", 0}}) {
        const std::string kind = r.kind_and_name.substr(0, r.kind_and_name.rfind(' '));
        const std::string name = r.kind_and_name.substr(r.kind_and_name.rfind(' ') + 1);
        WRITE_MAGNET(kind + " --offset 0.03,-0.02", name, r.field);
        const run_result shifted = RUN({"--figures", "--radius", "1"});
        ASSERT_EQ(shifted.status, 0) << shifted.err;
        const nlohmann::json doc = nlohmann::json::parse(shifted.out);
        EXPECT_EQ(doc["request"]["radius_cm"], 1.0);
        const nlohmann::json& m = doc["fields"][0]["multipoles"];
        EXPECT_EQ(m["r_ref_cm"], 1.0);
        EXPECT_EQ(m["N"], 15);
        EXPECT_EQ(m["main"], 2);
        EXPECT_EQ(m["units"]["C"], r.field == 1 ? "Gs cm" : "V");
        EXPECT_NEAR(m["centre_cm"][0].get<double>(), 0.03, 1e-9);
        EXPECT_NEAR(m["centre_cm"][1].get<double>(), -0.02, 1e-9);
        ASSERT_EQ(m["harmonics"].size(), 15u);
        EXPECT_NEAR(m["harmonics"][1]["b"].get<double>(), 1e4, 1e-6);

        WRITE_MAGNET(kind + " --roll 2.5 --multipole 3,400", name, r.field);
        const run_result rolled = RUN({"--figures"});
        ASSERT_EQ(rolled.status, 0) << rolled.err;
        const nlohmann::json turned = nlohmann::json::parse(rolled.out);
        const nlohmann::json& s = turned["fields"][0]["multipoles"];
        EXPECT_EQ(s["main"], 3);
        EXPECT_NEAR(s["roll_mrad"].get<double>(), 2.5, 1e-9);
        EXPECT_FALSE(s.contains("centre_cm"));
        EXPECT_FALSE(s.contains("quadrupole"));
    }
}

TEST_F(MultipolesRun, DiscTooSmallStopsSmallOneIsNoted) {
    WRITE_MAGNET("--kind 1", "PMQ_quad.bin", 1);
    const run_result none = RUN({"--multipoles", "--radius", "0.1"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "plot_orvex_3dfields: the reference disc (r = 0.1 cm) holds 1 node of each z plane: the multipoles "
                        "need 2 at least; give a larger --radius\n");
    const run_result small = RUN({"--multipoles", "--radius", "0.2", "--strict"});
    EXPECT_EQ(small.status, 3);
    EXPECT_EQ(small.err, "plot_orvex_3dfields: note: the reference disc (r = 0.2 cm) holds 5 nodes of each z plane: the "
                         "magnetic multipoles are fitted to n = 2 only (n = 15 needs 30 nodes)\n");
    std::string header;
    EXPECT_EQ(ROWS(small.out, header).size(), 201u * 2u);
    EXPECT_NE(small.out.find("\n# note: the reference disc (r = 0.2 cm) holds 5 nodes"), std::string::npos);
}

TEST_F(MultipolesRun, WriterRefusesAMagnetsOptionsWithoutItsModel) {
    for (const std::string options : {"--model harmonic --roll 1", "--model multipole --multipole 0,1000",
                                      "--model multipole --envelope 10,0", "--model multipole --harmonic 2.5,1,0"}) {
        EXPECT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --layout binary " + options +
                            " PMQ_x.bin 2> /dev/null"),
                  2)
            << options;
        EXPECT_FALSE(fs::exists(dir / "PMQ_x.bin")) << options;
    }
}

}  // namespace
}  // namespace orvex::e2e
