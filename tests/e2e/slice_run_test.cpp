// slice_run_test.cpp: plot_orvex_3dfields --slice run whole: the picture written where the caller
// asked, in the format of its suffix, at its size, and nothing else; a node beyond the plane
// refused once the map is read; a target that cannot be written; no toolkit loaded. And --strict
// in every mode: 0 on a clean map, 3 on one with a flipped sign or a mirror plane that is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "program_run.h"

namespace orvex::e2e {
namespace {

// The harmonic electric field (free of divergence), mirrored in x: full counts 49, 25, 201.
class SliceRun : public run_directory<> {
protected:
    void WRITE_MAP(const std::string& defects = "") {
        ASSERT_EQ(RUN_SHELL("cd '" + dir.string() + "' && '" ORVEX_MAP_WRITER
                            "' --layout text --kind 0 --sym 1,0,0 --model harmonic " + defects + " EM_map.txt"),
                  0);
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "slice\nrun\nEM_map.txt\n1\n0\n");
    }
    run_result RUN(std::vector<std::string> args, const fs::path& from, std::vector<std::string> env = {}) {
        args.insert(args.begin(), ORVEX_PROGRAM);
        return RUN_PROGRAM(from, capture, {}, {args, env});
    }
    const std::set<std::string> map_only{"EM_map.txt", "plot_orvex_3dfields.dat"};
};

std::string SAID(const fs::path& file) { return "plot_orvex_3dfields: the slice picture is written to " + file.string() + "\n"; }


TEST_F(SliceRun, WritesThePictureWhereTheCallerAskedInItsFormatAndNothingElse) {
    WRITE_MAP();
    // A relative FILE is taken from where the program was started, also with a DIRECTORY.
    const run_result pdf = RUN({"--slice", "XZ:13:Magnitude", "--image", "cut.PDF", "run"}, root);
    ASSERT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_EQ(pdf.out, "");  // no listing
    EXPECT_EQ(pdf.err, SAID(root / "cut.PDF"));
    EXPECT_EQ(SLURP(root / "cut.PDF").rfind("%PDF-1.4\n", 0), 0u);
    EXPECT_NE(SLURP(root / "cut.PDF").find("(|E| \\(V/cm\\) on the XZ plane at y = 0 cm \\(node 13 of 25\\))"), std::string::npos);
    EXPECT_EQ(ENTRIES(dir), map_only);

    // An older file of the name is replaced whole; --size gives the PNG's pixels.
    WRITE_TEXT(dir / "cut.png", "an older file");
    const run_result png = RUN({"--size", "640x400", "--slice", "yz:25:x", "--image", "cut.png"}, dir);
    ASSERT_EQ(png.status, 0) << png.err;
    // The signature, then the header: 640 by 400 pixels, 8-bit RGB.
    EXPECT_EQ(SLURP(dir / "cut.png").substr(0, 26), std::string("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x02\x80\0\0\x01\x90\x08\x02", 26));

    const run_result svg = RUN({"--slice", "xy:201:z", "--image", "cut.svg"}, dir);
    ASSERT_EQ(svg.status, 0) << svg.err;
    EXPECT_NE(SLURP(dir / "cut.svg").find("width=\"900\" height=\"560\" viewBox=\"0 0 900 560\""), std::string::npos);
}

// With --compare the picture shows this map minus the other, named in its source line; a
// difference without --compare is refused before anything is read.
TEST_F(SliceRun, DifferenceOfTwoMapsWithCompare) {
    WRITE_MAP();
    const run_result r = RUN({"--compare", ".", "--slice", "xz:13:diff-z", "--image", "diff.pdf"}, dir);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string pdf = SLURP(dir / "diff.pdf");
    EXPECT_NE(pdf.find("(Ez diff \\(V/cm\\) on the XZ plane at y = 0 cm \\(node 13 of 25\\))"), std::string::npos);
    EXPECT_NE(pdf.find("EM_map.txt against EM_map.txt"), std::string::npos);
    const run_result refused = RUN({"--slice", "xz:13:diff-z", "--image", "p.png"}, dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("it needs --compare OTHER_DIRECTORY"), std::string::npos) << refused.err;
}

// Counts: x 49 (i), y 25 (j), z 201 (k).
TEST_F(SliceRun, NodeBeyondThePlaneIsRefusedOnceTheMapIsRead) {
    WRITE_MAP();
    const struct { const char* slice; const char* said; } rows[] = {
        {"xy:202:z", "--slice xy:202:z: node 202 is beyond the map's 201 z nodes (the XY plane's k is 1 to 201)"},
        {"xz:26:y", "--slice xz:26:y: node 26 is beyond the map's 25 y nodes (the XZ plane's j is 1 to 25)"},
        {"yz:50:magnitude", "--slice yz:50:magnitude: node 50 is beyond the map's 49 x nodes (the YZ plane's i is 1 to 49)"},
    };
    for (const auto& row : rows) {
        const run_result r = RUN({"--slice", row.slice, "--image", "p.png", "--strict"}, dir);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, std::string("plot_orvex_3dfields: ") + row.said + "\n");
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(ENTRIES(dir), map_only);
    }
    EXPECT_EQ(RUN({"--slice", "yz:49:magnitude", "--image", "p.png"}, dir).status, 0);
}

TEST_F(SliceRun, TargetThatCannotBeWrittenIsOneLineStatusOne) {
    WRITE_MAP();
    const run_result r = RUN({"--slice", "xy:1:x", "--image", (root / "no_such_dir" / "p.svg").string()}, dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("plot_orvex_3dfields: cannot write " + (root / "no_such_dir" / "p.svg").string() + ": ", 0), 0u) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_EQ(ENTRIES(dir), map_only);
}

// With a display named, the run still opens nothing of the toolkit (the loader's own account).
TEST_F(SliceRun, LoadsNothingOfTheToolkitEvenWithADisplay) {
    WRITE_MAP();
    const run_result r = RUN({"--slice", "xy:201:magnitude", "--image", "p.png"}, dir, {"DISPLAY=:0", "LD_DEBUG=files"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("calling init:"), std::string::npos) << "the loader's account is missing";
    EXPECT_EQ(r.err.find("libQt6"), std::string::npos);
    EXPECT_EQ(r.err.find("plot_orvex_3dfields_window"), std::string::npos);
    EXPECT_TRUE(fs::exists(dir / "p.png"));
}

// --strict: the run's output as without it, then status 3 when it raised a note.
TEST_F(SliceRun, StrictIsZeroOnACleanMapAndThreeOnAFlippedSignInEveryMode) {
    const struct { const char* defect; const char* note; } maps[] = {
        {"", ""},
        {"--negate ey", "plot_orvex_3dfields: note: the divergence of E reaches "},
        {"--value ex,1,6,9,-50", "plot_orvex_3dfields: note: Ex is not zero on the mirror plane x = 0"},
    };
    const std::vector<std::vector<std::string>> modes{
        {"--strict"}, {"--strict", "--figures"}, {"--slice", "xz:13:z", "--image", "p.png", "--strict"}};
    for (const auto& map : maps) {
        WRITE_MAP(map.defect);
        for (const auto& mode : modes) {
            const run_result r = RUN(mode, dir);
            const bool noted = *map.note != '\0';
            EXPECT_EQ(r.status, noted ? 3 : 0) << map.defect << " " << mode[1] << ": " << r.err;
            EXPECT_EQ(r.err.find(map.note), 0u) << r.err;
            EXPECT_EQ(r.err.find("note:") != std::string::npos, noted) << r.err;
        }
    }
}

}  // namespace
}  // namespace orvex::e2e
