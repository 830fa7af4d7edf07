// track_run_test.cpp: plot_orvex_3dfields --track run whole: the document's gains against the
// same program's --figures of the same map (two ways to one number: the node sum on the axis
// and the tracked particle), a start outside the map stopping the run with one line and
// nothing on standard output, and the curl note of a pillbox whose B has the other sign.
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

class TrackRun : public run_directory<> {
protected:
    void WRITE(field_model model, int kind, const std::string& name, const mapgen::map_style& style = {}) {
        mapgen::map_recipe m;
        m.model = model, m.kind = kind, m.ksym_yz = m.ksym_xz = 1, m.z_hi = 30.0;
        ASSERT_TRUE(WRITE_FIELD_MAP(m, layout::binary, (dir / name).string(), style));
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "track\nrun\n" + name + "\n0\n" + (kind == 1 ? "1" : "0") + "\n");
    }
    nlohmann::json RUN_JSON(std::vector<std::string> args, const std::string& err = "") {
        args.insert(args.begin(), ORVEX_PROGRAM);
        const run_result r = RUN_PROGRAM(dir, capture, {}, {args, {}});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, err);
        return nlohmann::json::parse(r.out);
    }
};

// A fast alpha through the Gaussian gap gains 2 e V(beta) cos(phi - phi_crest), with V(beta)
// and phi_crest as --figures gives them at the alpha's beta; the scan's crest is theirs.
TEST_F(TrackRun, GainsWhatTheFiguresSayOverTheScan) {
    WRITE(field_model::gaussian_gap, 0, "RFQ_gap.bin");
    const double w = 8000.0, m = 3727.3794066, beta = std::sqrt(w * (w + 2.0 * m)) / (w + m);
    const nlohmann::json figures = RUN_JSON({"--figures", "--frequency", "352.21", "--beta", std::to_string(beta)});
    const auto& at = figures["fields"][0]["axis"]["at_beta"];
    const double v = at["gain_V"].get<double>(), crest = at["crest_phase_deg"].get<double>();
    const nlohmann::json doc = RUN_JSON({"--track", "--particle", "alpha", "--energy", "8000", "--frequency", "352.21", "--scan", "12", "--matrix"});
    EXPECT_EQ(doc["request"]["particle"]["name"], "alpha");
    EXPECT_EQ(doc["request"]["scan"], 12);
    EXPECT_EQ(doc["rf_clock"]["origin_z_cm"].get<double>(), 0.0);
    ASSERT_EQ(doc["tracks"].size(), 12u);
    for (const auto& t : doc["tracks"]) {
        ASSERT_FALSE(t["lost"].get<bool>());
        const double phase = t["phase_deg"].get<double>();
        EXPECT_NEAR(t["gain_MeV"].get<double>(), 2e-6 * v * std::cos((phase - crest) * std::numbers::pi / 180.0), 2e-4 * 1e-6 * v)
            << phase;
    }
    EXPECT_NEAR(doc["crest"]["phase_deg"].get<double>(), crest, 1e-2);
    EXPECT_TRUE(doc["crest"]["refined"].get<bool>());
    EXPECT_LT(doc["integrator"]["halving"]["slope_change_mrad"].get<double>(), 1e-9);
    EXPECT_EQ(doc["matrix"]["R"].size(), 4u);
    EXPECT_EQ(doc["matrix"]["about_phase_deg"].get<double>(), doc["crest"]["phase_deg"].get<double>());
    EXPECT_EQ(doc["notes"].size(), 0u);
}

TEST_F(TrackRun, StartOutsideStopsAndLossIsReported) {
    WRITE(field_model::gaussian_solenoid, 1, "EM_coil.bin");
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--track", "--energy", "1", "--start", "2.5,0"}, {}});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "plot_orvex_3dfields: cannot track: the start (x, y) = (2.5, 0) cm lies outside the map's transverse "
                     "region x in [-2, 2], y in [-2, 2] cm\n");
    // A slope of 100 mrad leaves the 2 cm region: lost, with where; the static field keeps W.
    const nlohmann::json doc = RUN_JSON({"--track", "--energy", "1", "--slope", "100,0", "--matrix"});
    const auto& t = doc["tracks"][0];
    EXPECT_TRUE(t["lost"].get<bool>());
    EXPECT_EQ(t["reason"], "left the transverse region");
    EXPECT_NEAR(std::fabs(t["where"]["x_cm"].get<double>()), 2.0, 1e-4);
    EXPECT_EQ(t["where"]["W_MeV"].get<double>(), 1.0);
    EXPECT_FALSE(t.contains("gain_MeV") || doc.contains("crest") || doc["request"].contains("phase_deg"));
    EXPECT_EQ(doc["matrix"]["absent"], "the particle or an offset ray is lost");
}

TEST_F(TrackRun, PillboxWithBOfTheOtherSignRaisesTheCurlNote) {
    WRITE(field_model::pillbox, 2, "MW_pillbox.bin");
    const nlohmann::json clean = RUN_JSON({"--figures", "--frequency", "1300"});
    EXPECT_LT(clean["curl"]["C"].get<double>(), 1e-3);
    EXPECT_NEAR(clean["curl"]["k"].get<double>(), 1.0, 1e-3);

    mapgen::map_style flipped;
    flipped.defects.negate[3] = flipped.defects.negate[4] = flipped.defects.negate[5] = true;
    WRITE(field_model::pillbox, 2, "MW_pillbox.bin", flipped);
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--figures", "--frequency", "1300", "--strict"}, {}});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(r.err.starts_with("plot_orvex_3dfields: note: the curl of E and -w B at 1300 MHz differ by 1 of their terms at node ("))
        << r.err;
    EXPECT_TRUE(r.err.ends_with(": B fits -curl E / w best times -1: B seems stored with the other sign\n")) << r.err;
    const nlohmann::json doc = nlohmann::json::parse(r.out);
    EXPECT_NEAR(doc["curl"]["k"].get<double>(), -1.0, 1e-3);
    EXPECT_EQ(doc["notes"].size(), 1u);
}

}  // namespace
}  // namespace orvex::e2e
