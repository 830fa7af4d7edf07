// listing_test.cpp: the program run in a fresh working directory on maps from the map writer:
// its listing opens with the echo of the field file name and the six header records, exactly.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "e2e/program_run.h"

namespace {

namespace fs = std::filesystem;

using orvex::e2e::RUN_SHELL;
using orvex::e2e::work_dir;
inline std::string READ_FILE(const fs::path& path) { return orvex::e2e::SLURP(path); }

// The first n lines of text, each with its line end.
std::string FIRST_LINES(const std::string& text, int n) {
    std::size_t at = 0;
    for (int line = 0; line < n && at != std::string::npos; ++line) {
        at = text.find('\n', at);
        if (at != std::string::npos) ++at;
    }
    return text.substr(0, at);
}

struct run_result {
    int status;
    std::string out, err;
};

// Writes a map with the writer CLI and a control file naming it as name_line, and runs the
// program there without a display.
run_result RUN_ON_MAP(const work_dir& dir, const std::string& writer_args, const std::string& file,
                      const std::string& name_line, int format_flag, int field_flag) {
    const std::string d = dir.path.string();
    EXPECT_EQ(RUN_SHELL("cd '" + d + "' && '" ORVEX_MAP_WRITER "' " + writer_args + " '" + file + "'"), 0);
    std::ofstream(dir.path / "plot_orvex_3dfields.dat")
        << "listing test\r\nsecond line\r\n" << name_line << "\r\n" << format_flag << "\r\n" << field_flag << "\r\n";
    const int status = RUN_SHELL("cd '" + d + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" ORVEX_PROGRAM
                                 "' > stdout.txt 2> stderr.txt");
    return {status, READ_FILE(dir.path / "stdout.txt"), READ_FILE(dir.path / "stderr.txt")};
}

TEST(Listing, BinaryMapEchoAndHeader) {
    work_dir dir;
    const run_result r = RUN_ON_MAP(dir, "--layout binary --kind 2 --sym 1,1,1 --header 24,0.4,3 --range 0.4,0.4,12",
                                    "RFQ_cell.bin", "RFQ_cell.bin", 0, 0);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FIRST_LINES(r.out, 7),
              " Input field file name = RFQ_cell.bin\n"
              "d_elm, aper, n_cell (k_s_EH)=         24.0000000000000       0.400000000000000           3\n"
              "ksym_yz, ksym_xz, ksym_xy=            1           1           1\n"
              "xmws limits=         0.00000000000000       0.400000000000000\n"
              "ymws limits=         0.00000000000000       0.400000000000000\n"
              "zmws limits=         0.00000000000000        12.0000000000000\n"
              " ksym =            3\n");
}

TEST(Listing, TextMapNamedWithLeadingBlanks) {
    work_dir dir;
    // The echo keeps the leading blanks; the file is opened without them.
    const run_result r = RUN_ON_MAP(dir, "--layout text --kind 1 --sym 1,1,0 --header 60,2,0 --range 2,2,30",
                                    "EM_solenoid.txt", "   EM_solenoid.txt   ", 1, 1);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FIRST_LINES(r.out, 7),
              " Input field file name =    EM_solenoid.txt\n"
              "d_elm, aper, n_cell (k_s_EH)=         60.0000000000000        2.00000000000000           0\n"
              "ksym_yz, ksym_xz, ksym_xy=            1           1           0\n"
              "xmws limits=         0.00000000000000        2.00000000000000\n"
              "ymws limits=         0.00000000000000        2.00000000000000\n"
              "zmws limits=        -30.0000000000000        30.0000000000000\n"
              " ksym =            2\n");
}

TEST(Listing, NodeListHeaderIsDerivedFromItsRanges) {
    work_dir dir;
    const run_result r =
        RUN_ON_MAP(dir, "--layout nodes --kind 2 --sym 0,0,1 --range 1,1,15", "MW_lens.txt", "MW_lens.txt", 2, 1);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(FIRST_LINES(r.out, 7),
              " Input field file name = MW_lens.txt\n"
              "d_elm, aper, n_cell (k_s_EH)=         30.0000000000000        1.00000000000000           0\n"
              "ksym_yz, ksym_xz, ksym_xy=            0           0           1\n"
              "xmws limits=        -1.00000000000000        1.00000000000000\n"
              "ymws limits=        -1.00000000000000        1.00000000000000\n"
              "zmws limits=         0.00000000000000        15.0000000000000\n"
              " ksym =            1\n");
}

TEST(Listing, DamagedMapEndsWithOneLineAndStatusOne) {
    work_dir dir;
    const run_result r = RUN_ON_MAP(dir, "--layout binary --kind 2 --sym 1,1,1 --record 4 --lead -8", "cut_MW.bin",
                                    "cut_MW.bin", 0, 0);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, " Input field file name = cut_MW.bin\n");
    EXPECT_EQ(r.err, "plot_orvex_3dfields: cut_MW.bin:record 4: negative record length -8\n");
    EXPECT_FALSE(fs::exists(dir.path / "plot_orvex_3dfields.png"));
}

}  // namespace
