// multipoles_run_test.cpp: write_field_map --model multipole judged by --multipoles (the CSV read
// back) and --figures (its JSON section) through B and E; a disc too small stops the run, a small
// one is noted; the writer refuses a magnet's options without its model.
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
        const std::string writer = "cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --layout binary --model multipole ";
        ASSERT_EQ(RUN_SHELL(writer + options + " " + name), 0);
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
    EXPECT_NE(r.out.find("\n# reference radius: r_ref = 1 cm; 113 nodes of each z plane inside it; n = 1..15\n"), std::string::npos);
    std::string header;
    const auto rows = ROWS(r.out, header);
    EXPECT_EQ(header, "z,n,Re_C,Im_C,b,a");
    ASSERT_EQ(rows.size(), 201u * 15u);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const std::vector<double>& v = rows[row];
        ASSERT_EQ(v.size(), 6u);
        EXPECT_TRUE(v[0] == -50.0 + 0.5 * static_cast<double>(row / 15) && v[1] == static_cast<double>(row % 15 + 1)) << row;
        // C_2 is 1000 Gs times the envelope, 1/2 [erf((z + 10)/(2 sqrt 2)) - erf((z - 10)/(2 sqrt 2))].
        const double g = (std::erf((v[0] + 10.0) / (2.0 * std::sqrt(2.0))) - std::erf((v[0] - 10.0) / (2.0 * std::sqrt(2.0)))) / 2.0;
        EXPECT_TRUE(v[1] != 2.0 || g <= 1e-6 || std::fabs(v[2] / (1000.0 * g) - 1.0) < 1e-9) << row;
        const double b = v[1] == 2.0 ? 1e4 : v[1] == 6.0 ? 10.0 : 0.0, a = v[1] == 3.0 ? -5.0 : 0.0;
        EXPECT_NEAR(v[4], b, 1e-4) << row;
        EXPECT_NEAR(v[5], a, 1e-4) << row;
    }
}

// The integrated figures in --figures' document, through B and through E (kind 0, field 0).
TEST_F(MultipolesRun, FiguresGiveCentreAndRollThroughBAndE) {
    for (const int field : {1, 0}) {
        WRITE_MAGNET("--kind " + std::to_string(field) + " --offset 0.03,-0.02 --roll 2.5", field == 1 ? "PMQ.bin" : "RFQ.bin", field);
        const run_result r = RUN({"--figures", "--radius", "1"});
        ASSERT_EQ(r.status, 0) << r.err;
        const nlohmann::json doc = nlohmann::json::parse(r.out);
        EXPECT_EQ(doc["request"]["radius_cm"], 1.0);
        const nlohmann::json& m = doc["fields"][0]["multipoles"];
        EXPECT_TRUE(m["r_ref_cm"] == 1.0 && m["N"] == 15 && m["main"] == 2 && m["harmonics"].size() == 15u);
        EXPECT_EQ(m["units"]["C"], field == 1 ? "Gs cm" : "V");
        EXPECT_NEAR(m["centre_cm"][0].get<double>(), 0.03, 1e-9);
        EXPECT_NEAR(m["centre_cm"][1].get<double>(), -0.02, 1e-9);
        EXPECT_NEAR(m["roll_mrad"].get<double>(), 2.5, 1e-9);
        EXPECT_NEAR(m["harmonics"][1]["b"].get<double>(), 1e4 * std::cos(0.005), 1e-6);
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
    EXPECT_NE(small.out.find("\n# note: the reference disc (r = 0.2 cm) holds 5 nodes"), std::string::npos);
}

TEST_F(MultipolesRun, WriterRefusesAMagnetsOptionsWithoutItsModel) {
    for (const std::string options : {"--model harmonic --roll 1", "--model multipole --multipole 0,1000",
                                      "--model multipole --envelope 10,0", "--model multipole --harmonic 2.5,1,0"})
        EXPECT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER "' --layout binary " + options + " PMQ_x.bin 2> /dev/null"), 2)
            << options;
    EXPECT_TRUE(fs::is_empty(dir));
}

}  // namespace
}  // namespace orvex::e2e
