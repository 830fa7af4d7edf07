// figures_run_test.cpp: plot_orvex_3dfields --figures run whole: one JSON document on standard
// output read back against closed forms, no listing and no page; the divergence note on a
// solenoid whose Bx has the wrong sign, in a plotting run and in the document, and none on the
// clean solenoid; a stop as a run stops; a map name's stray bytes in no file raw.
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>
#include <numbers>
#include <string>

#include "map_writer.h"
#include "program_run.h"

namespace orvex::e2e {
namespace {

using mapgen::field_model;
using mapgen::layout;

class FiguresRun : public run_directory<> {
protected:
    void WRITE(const mapgen::map_recipe& m, const std::string& name, const mapgen::map_style& style = {},
               const std::string& format = "1", const std::string& flag = "0") {
        ASSERT_TRUE(WRITE_FIELD_MAP(m, layout::text, (dir / name).string(), style));
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "figures\nrun\n" + name + "\n" + format + "\n" + flag + "\n");
    }
};

mapgen::map_recipe MODEL(field_model model, int kind, int yz, int xz, int xy, double z_hi) {
    mapgen::map_recipe m;
    m.model = model, m.kind = kind, m.ksym_yz = yz, m.ksym_xz = xz, m.ksym_xy = xy, m.z_hi = z_hi;
    return m;
}

TEST_F(FiguresRun, GapOnTheAxisAsJsonAndNothingElse) {
    WRITE(MODEL(field_model::gaussian_gap, 0, 1, 1, 0, 30.0), "RFQ_gap.txt");
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures", "--beta", "0.25", "--frequency", "352.21"}, {}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");  // a field free of divergence: no note
    EXPECT_EQ(ENTRIES(dir), (std::set<std::string>{"RFQ_gap.txt", "plot_orvex_3dfields.dat"}));
    const nlohmann::json doc = nlohmann::json::parse(r.out);  // the whole output: no listing
    EXPECT_EQ(doc["map"]["file"], "RFQ_gap.txt");
    EXPECT_EQ(doc["map"]["nodes"]["x"], 49);
    ASSERT_EQ(doc["fields"].size(), 1u);
    const auto& axis = doc["fields"][0]["axis"];
    const double sigma = 3.0, q = 2.0 * std::numbers::pi * 352.21e6 / (0.25 * 29'979'245'800.0);
    EXPECT_NEAR(axis["V0_V"].get<double>() / (1000.0 * sigma * std::sqrt(2.0 * std::numbers::pi)), 1.0, 1e-12);
    EXPECT_NEAR(axis["at_beta"]["T"].get<double>() / std::exp(-(q * sigma) * (q * sigma) / 2.0), 1.0, 1e-12);
    EXPECT_NEAR(axis["best_beta"]["beta"].get<double>(), 1.0, 1e-6);
    EXPECT_EQ(doc["fields"][0]["lines"].size(), 10u);
    EXPECT_LT(doc["fields"][0]["divergence"]["D"].get<double>(), 0.05);

    // Without a frequency the RF figures are absent keys.
    const run_result plain = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures"}, {}});
    ASSERT_EQ(plain.status, 0) << plain.err;
    const nlohmann::json without = nlohmann::json::parse(plain.out);
    EXPECT_TRUE(without["request"].empty());
    EXPECT_FALSE(without["fields"][0]["axis"].contains("best_beta"));
}

TEST_F(FiguresRun, WrongSignSolenoidIsNotedCleanOneIsNot) {
    const mapgen::map_recipe solenoid = MODEL(field_model::gaussian_solenoid, 1, 1, 1, 1, 30.0);
    mapgen::map_style wrong;
    wrong.defects.negate[3] = true;  // Bx
    const std::string note = "plot_orvex_3dfields: note: the divergence of B reaches 0.";
    for (const bool defective : {false, true}) {
        WRITE(solenoid, "EM_solenoid.txt", defective ? wrong : mapgen::map_style{}, "1", "1");
        const run_result page = RUN_PROGRAM(dir, capture);
        EXPECT_EQ(page.status, 0);
        EXPECT_EQ(page.err.find(note) == 0, defective) << page.err;
        const run_result figures = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures"}, {}});
        EXPECT_EQ(figures.status, 0);
        EXPECT_EQ(figures.err.find(note) == 0, defective) << figures.err;
        const nlohmann::json doc = nlohmann::json::parse(figures.out);
        EXPECT_EQ(doc["notes"].size(), defective ? 1u : 0u);
        EXPECT_EQ(doc["fields"][0]["field"], "magnetic");
        EXPECT_EQ(doc["fields"][0]["divergence"]["D"].get<double>() > 0.3, defective);
    }
}

// A two-field map gives both fields; a stop is written as a run writes it, with no document.
TEST_F(FiguresRun, BothFieldsOfAMapThatCarriesBothAndStops) {
    WRITE(MODEL(field_model::harmonic, 2, 1, 1, 1, 50.0), "MW_harmonic.txt", {}, "1", "1");
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures", "--frequency", "100"}, {}});
    ASSERT_EQ(r.status, 0) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    ASSERT_EQ(doc["fields"].size(), 2u);
    EXPECT_EQ(doc["fields"][0]["field"], "electric");
    EXPECT_EQ(doc["fields"][1]["field"], "magnetic");
    EXPECT_TRUE(doc["fields"][0]["axis"].contains("best_beta"));

    WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "figures\nrun\nMW_harmonic.txt\n7\n0\n");
    const run_result stop = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures"}, {}});
    EXPECT_EQ(stop.status, 1);
    EXPECT_EQ(stop.out.find('{'), std::string::npos) << stop.out;
    EXPECT_NE(stop.out.find("Not a valid field format"), std::string::npos) << stop.out;
}

// A map name of Latin-1 and control bytes reaches no file raw: the JSON parses as UTF-8 and gives
// the controls back (\u009b for the C1 CSI, which the JSON library leaves raw), the CSV's #
// lines and the .vti's XML head are valid UTF-8 (iconv, a decoder of its own, says so) with
// every such byte as \xNN.
TEST_F(FiguresRun, ProvenanceIsValidUtf8InEveryFile) {
    const std::string name = "EM_caf\xe9\x1b\a\xc2\x9b.txt", shown = "EM_caf\\xE9\\x1B\\x07\\xC2\\x9B.txt";
    mapgen::map_recipe harmonic = MODEL(field_model::harmonic, 0, 0, 0, 0, 50.0);
    WRITE(harmonic, name);
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures"}, {}});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char raw : {'\x1b', '\a', '\xe9', '\x9b'}) EXPECT_EQ(r.out.find(raw), std::string::npos) << int(raw);
    EXPECT_NE(r.out.find("\"EM_caf\\\\xE9\\u001b\\u0007\\u009b.txt\""), std::string::npos) << r.out.substr(0, 200);
    EXPECT_EQ(nlohmann::json::parse(r.out)["map"]["file"], "EM_caf\\xE9\x1b\a\xc2\x9b.txt");
    for (const std::string file : {"m.csv", "m.vti"}) {
        ASSERT_EQ(RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--export", file}, {}}).status, 0);
        const std::string text = SLURP(dir / file), head = text.substr(0, text.find(file == "m.csv" ? "\n-" : "<AppendedData"));
        WRITE_TEXT(capture / "head", head);
        EXPECT_TRUE(head.find(shown) != std::string::npos && RUN_SHELL("iconv -f UTF-8 -t UTF-8 '" + (capture / "head").string() + "' > /dev/null 2>&1") == 0) << head;
    }
}

}  // namespace
}  // namespace orvex::e2e
