// The control file: what each of its five lines gives, the field-flag check before the name
// classification, the kind tokens, and the header listing of a loaded map.
#include <gtest/gtest.h>

#include <string>

#include "console/console.h"
#include "fresh_records.h"
#include "console/run_stop.h"
#include "driver/control_file.h"
#include "field/field_grid.h"
#include "fieldio/scratch_dir.h"
#include "driver/header_listing.h"

namespace orvex {
namespace {

using testing_support::INPUT_FAILURE_OF;
using testing_support::scratch_dir;
using testing_support::STOP_OF;

// Writes plot_orvex_3dfields.dat and reads it, from a grid at its start values.
void READ_CONTROL(const scratch_dir& dir, const std::string& text) {
    RESET_FIELD_GRID();
    run_settings = {};
    dir.write(control_file_name, text);
    READ_CONTROL_FILE();
}

// The field_kind a name gives with field_flag, or the stop message it gives.
std::string KIND_OF(const std::string& name, int field_flag) {
    run_settings.field_file_name.fill(' ');
    name.copy(run_settings.field_file_name.data(), run_settings.field_file_name.size());
    field_grid.field_flag = field_flag;
    field_grid.field_kind = -1;
    try {
        CLASSIFY_FIELD_FILE();
    } catch (const run_stop& stop) {
        return stop.message;
    }
    return std::to_string(field_grid.field_kind);
}

TEST(ControlFile, FiveLinesGiveNameLayoutAndField) {
    scratch_dir dir;
    READ_CONTROL(dir, "title\ncomment\n  maps/rfq_EM.txt  \n1\n1\nline 6 is never read: x\n");
    EXPECT_EQ(FIELD_FILE_NAME(), "  maps/rfq_EM.txt");  // leading blanks kept, trailing dropped
    EXPECT_EQ(run_settings.field_file_name[131], ' ');
    EXPECT_EQ(run_settings.format_flag, 1);
    EXPECT_EQ(field_grid.field_flag, 1);
}

TEST(ControlFile, IntegerReadsPassBlankLinesAndSkipTheRestOfTheirLine) {
    scratch_dir dir;
    // Two integers on line 4: the second is skipped, field_flag comes from the next line.
    READ_CONTROL(dir, "a\nb\nmap_MW.bin\n1 0\n1\n");
    EXPECT_EQ(run_settings.format_flag, 1);
    EXPECT_EQ(field_grid.field_flag, 1);
    // A blank line after the name shifts the integers down one line.
    READ_CONTROL(dir, "a\nb\nmap_MW.bin\n\n2, this is the layout\n   0\n");
    EXPECT_EQ(run_settings.format_flag, 2);
    EXPECT_EQ(field_grid.field_flag, 0);
}

TEST(ControlFile, WindowsLineEndsAreNotPartOfTheName) {
    scratch_dir dir;
    READ_CONTROL(dir, "a\r\nb\r\nmap_MW.bin\r\n0\r\n1\r\n");
    EXPECT_EQ(FIELD_FILE_NAME(), "map_MW.bin");
    EXPECT_EQ(run_settings.format_flag, 0);
    EXPECT_EQ(field_grid.field_flag, 1);
}

TEST(ControlFile, NameIsCutAtOneHundredThirtyTwoCharacters) {
    scratch_dir dir;
    const std::string name = std::string(128, 'd') + "/map_MW.bin";
    READ_CONTROL(dir, "a\nb\n" + name + "\n0\n0\n");
    EXPECT_EQ(FIELD_FILE_NAME(), name.substr(0, 132));
    // The cut removed the token: the name no longer classifies.
    EXPECT_EQ(STOP_OF([] { CLASSIFY_FIELD_FILE(); }).message, msg_bad_file_kind);
}

TEST(ControlFile, FieldFlagOtherThanZeroOrOneStopsTheRunFirst) {
    scratch_dir dir;
    for (const std::string flag : {"2", "-1"}) {
        // The name is bad too, but the flag is checked first.
        const run_stop stop = STOP_OF([&] { READ_CONTROL(dir, "a\nb\nmap_mws.txt\n1\n" + flag + "\n"); });
        EXPECT_EQ(stop.where, run_stop::channel::console);
        EXPECT_EQ(stop.message, msg_bad_field_flag);
    }
    EXPECT_EQ(msg_bad_field_flag.size(), 48u);
    EXPECT_EQ(msg_bad_file_kind.size(), 61u);
    EXPECT_EQ(msg_bad_format.size(), 26u);
}

TEST(ControlFile, KindTokensAreUpperCaseAnywhereInTheName) {
    EXPECT_EQ(KIND_OF("MAP_MWS.TXT", 0), "2");
    EXPECT_EQ(KIND_OF("map_mws.txt", 0), msg_bad_file_kind);
    EXPECT_EQ(KIND_OF("/home/SYSTEM/map.txt", 1), "1");  // "EM" in the directory part
    EXPECT_EQ(KIND_OF("RFQ_MW_test", 0), "2");           // "MW" wins over the others
    EXPECT_EQ(KIND_OF("RFQ_MW_test", 1), "2");
    EXPECT_EQ(KIND_OF("cell.PMQ", 1), "1");
    EXPECT_EQ(KIND_OF("EMS", 0), "0");
    EXPECT_EQ(KIND_OF("xRFQ", 1), "1");
    EXPECT_EQ(KIND_OF("M W E.M", 0), msg_bad_file_kind);
    EXPECT_EQ(KIND_OF("", 0), msg_bad_file_kind);
}

TEST(ControlFileFailure, InputFailuresNameTheControlFileAndLine) {
    scratch_dir dir;
    EXPECT_EQ(INPUT_FAILURE_OF([&] {
                  RESET_FIELD_GRID();
                  READ_CONTROL_FILE();
              }),
              "plot_orvex_3dfields.dat: cannot open: No such file or directory");
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL(dir, "a\nb\nmap_MW.bin\n0\n"); }),
              "plot_orvex_3dfields.dat:4: file ends early, expected field_flag on line 5");
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL(dir, "a\nb\n"); }),
              "plot_orvex_3dfields.dat:2: file ends early, expected the field file name on line 3");
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL(dir, ""); }),
              "plot_orvex_3dfields.dat: file is empty, expected line 1");
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL(dir, "a\nb\nmap_MW.bin\nbinary\n0\n"); }),
              "plot_orvex_3dfields.dat:4: expected an integer, found \"binary\"");
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL(dir, "a\nb\nmap_MW.bin\n0\n4294967297\n"); }),
              "plot_orvex_3dfields.dat:5: integer out of range, found \"4294967297\"");
    std::filesystem::remove(dir.file(control_file_name));
    std::filesystem::create_directory(dir.file(control_file_name));
    EXPECT_EQ(INPUT_FAILURE_OF([&] { READ_CONTROL_FILE(); }), "plot_orvex_3dfields.dat: is a directory, not a file");
}

// The listing of the header records, from a grid set by hand.
std::string LISTING() {
    SET_CONSOLE_QUIET(true);
    CLEAR_CONSOLE_LOG();
    LIST_FIELD_HEADER();
    std::string listing(CONSOLE_LOG());
    CLEAR_CONSOLE_LOG();
    SET_CONSOLE_QUIET(false);
    return listing;
}

using HeaderListing = testing_support::fresh_records;

TEST_F(HeaderListing, SixRecordsOfHeaderFlagsAndLimits) {
    field_grid_record& g = field_grid;
    g.d_elm = 100.0;
    g.aper = 2.0;
    g.n_cell = 7;
    g.ksym_yz = 1;
    g.ksym_xz = 0;
    g.ksym_xy = 1;
    g.xmws.front() = 0.0;
    g.xmws.back() = 2.0;
    g.ymws.front() = -1.0 / 12.0;
    g.ymws.back() = 1.0 / 12.0;
    g.zmws.front() = -25.0;
    g.zmws[199] = 99.0;  // only the last coordinate is listed
    g.zmws.back() = 25.0;
    EXPECT_EQ(LISTING(),
              "d_elm, aper, n_cell (k_s_EH)=         100.000000000000        2.00000000000000           7\n"
              "ksym_yz, ksym_xz, ksym_xy=            1           0           1\n"
              "xmws limits=         0.00000000000000        2.00000000000000\n"
              "ymws limits=   -8.33333333333333E-002   8.33333333333333E-002\n"
              "zmws limits=        -25.0000000000000        25.0000000000000\n"
              " ksym =            2\n");
    EXPECT_EQ(g.ksym, 2);
}

TEST_F(HeaderListing, KsymIsThePlainSumOfTheFlags) {
    const auto ksym_of = [](int yz, int xz, int xy) {
        RESET_FIELD_GRID();
        field_grid.ksym_yz = yz;
        field_grid.ksym_xz = xz;
        field_grid.ksym_xy = xy;
        LISTING();
        return field_grid.ksym;
    };
    EXPECT_EQ(ksym_of(1, 1, 1), 3);
    EXPECT_EQ(ksym_of(2, 0, 0), 2);
    EXPECT_EQ(ksym_of(-1, 0, 1), 0);
    // Flags stored as read may be absurd; their sum never wraps round into 0..3.
    EXPECT_EQ(ksym_of(2147483647, 2147483647, 5), 2147483647);
    EXPECT_EQ(ksym_of(-2147483647 - 1, -1, 0), -2147483647 - 1);
}

}  // namespace
}  // namespace orvex
