// compare_run_test.cpp: plot_orvex_3dfields --compare run whole: one JSON document on standard
// output, nothing else written; a map against itself all zeros; the other map's directory taken
// from where the program started, its relative field file from its own directory, its notes
// prefixed (and --strict's status 3); a stop about the other map says so.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "map_writer.h"
#include "program_run.h"

namespace orvex::e2e {
namespace {

using mapgen::layout;

class CompareRun : public run_directory<> {
protected:
    fs::path other;
    void SetUp() override {
        run_directory<>::SetUp();
        other = root / "other map";
        fs::create_directories(other / "maps");
    }
    // A map and its control file in a directory; the control file names it by a relative path.
    static void WRITE(const fs::path& where, const mapgen::map_recipe& m, const std::string& name,
                      const mapgen::map_style& style = {}) {
        ASSERT_TRUE(WRITE_FIELD_MAP(m, layout::text, (where / name).string(), style));
        WRITE_TEXT(where / "plot_orvex_3dfields.dat", "compare\nrun\n" + name + "\n1\n0\n");
    }
};

mapgen::map_recipe HARMONIC(int yz, double z_hi) {
    mapgen::map_recipe m;
    m.model = mapgen::field_model::harmonic;
    m.kind = 0;
    m.ksym_yz = yz;
    m.z_hi = z_hi;
    return m;
}

TEST_F(CompareRun, TwoMapsAsOneDocumentAndNothingElse) {
    WRITE(dir, HARMONIC(0, 50.0), "RFQ_this.txt");
    WRITE(other, HARMONIC(0, 40.0), "maps/RFQ_other.txt");
    const auto before = ENTRIES(dir), before_other = ENTRIES(other);
    const run_result r = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--compare", "../other map"}, {}});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const nlohmann::json doc = nlohmann::json::parse(r.out);  // the whole output: no listing
    EXPECT_EQ(doc["this"]["file"], "RFQ_this.txt");
    EXPECT_EQ(doc["other"]["file"], "maps/RFQ_other.txt");
    EXPECT_EQ(doc["other"]["directory"], other.string());
    // This map's z nodes beyond +-40 cm (20 at each end, 0.5 cm apart) lie outside the other.
    EXPECT_EQ(doc["reading"]["left_out_nodes"], 25 * 25 * 40);
    EXPECT_EQ(doc["reading"]["axes"]["z"], "cubic");  // steps of 0.5 and 0.4 cm
    ASSERT_EQ(doc["fields"].size(), 1u);
    const auto& ez = doc["fields"][0]["Ez"];
    EXPECT_EQ(ez["nodes"], 25 * 25 * 161);
    EXPECT_GT(ez["largest_difference"]["value"].get<double>(), 0.0);
    EXPECT_LT(ez["largest_difference"]["relative"].get<double>(), 1e-3);
    EXPECT_EQ(ENTRIES(dir), before);
    EXPECT_EQ(ENTRIES(other), before_other);
}

TEST_F(CompareRun, MapAgainstItselfIsZeroAndOtherNotesArePrefixed) {
    WRITE(dir, HARMONIC(0, 50.0), "RFQ_this.txt");
    const run_result self = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--compare", ".", "--strict"}, {}});
    ASSERT_EQ(self.status, 0) << self.err;
    EXPECT_EQ(nlohmann::json::parse(self.out)["fields"][0]["Ez"]["largest_difference"]["value"], 0);

    // The other map is mirrored in x but Ex does not vanish on the mirror plane.
    mapgen::map_style leak;
    leak.defects.plane_leak[0] = 0.1;
    WRITE(other, HARMONIC(1, 50.0), "maps/RFQ_leak.txt", leak);
    for (const bool strict : {false, true}) {
        run_setup setup{{ORVEX_PROGRAM, "--compare", other.string()}, {}};
        if (strict) setup.command.push_back("--strict");
        const run_result r = RUN_PROGRAM(dir, capture, {}, setup);
        EXPECT_EQ(r.status, strict ? 3 : 0) << r.err;
        EXPECT_EQ(r.err.rfind("plot_orvex_3dfields: note: in the other map: Ex is not zero on the mirror plane x = 0", 0), 0u) << r.err;
        const nlohmann::json d = nlohmann::json::parse(r.out);
        ASSERT_FALSE(d["notes"].empty());
        EXPECT_EQ(d["notes"][0].get<std::string>().rfind("in the other map: Ex is not zero", 0), 0u);
    }
}

TEST_F(CompareRun, StopsAboutTheOtherMapSaySo) {
    WRITE(dir, HARMONIC(0, 50.0), "RFQ_this.txt");
    // No control file there: the failure names it by its path.
    const run_result none = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--compare", other.string()}, {}});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err.rfind("plot_orvex_3dfields: " + (other / "plot_orvex_3dfields.dat").string() + ": ", 0), 0u) << none.err;
    // A field flag of 3 there: the system's own stop, and a note that it is about the other map.
    WRITE_TEXT(other / "plot_orvex_3dfields.dat", "a\nb\nRFQ_x.txt\n1\n3\n");
    const run_result flag = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--compare", other.string()}, {}});
    EXPECT_EQ(flag.status, 1);
    EXPECT_NE(flag.out.find("Not a valid field flag"), std::string::npos) << flag.out;
    EXPECT_EQ(flag.err, "plot_orvex_3dfields: note: this stop is about the other map, in " + other.string() + "\n");
    // A field file missing there: named with the other directory.
    WRITE_TEXT(other / "plot_orvex_3dfields.dat", "a\nb\nRFQ_x.txt\n1\n0\n");
    const run_result missing = RUN_PROGRAM(dir, capture, {}, {{ORVEX_PROGRAM, "--compare", other.string()}, {}});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find((other / "RFQ_x.txt").string()), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace orvex::e2e
