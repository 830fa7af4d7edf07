// The free-form text reader: where reads start and end, what separates values, which numbers
// it takes, and the one line it reports for every bad input.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>
#include <string>
#include <sys/stat.h>

#include "fieldio/scratch_dir.h"
#include "fieldio/freeform.h"
#include "console/run_stop.h"

namespace orvex {
namespace {

using testing_support::INPUT_FAILURE_OF;
using testing_support::scratch_dir;

TEST(FreeformRead, ReadGoesOnToLaterLinesAndSkipsTheRestOfItsLastLine) {
    scratch_dir dir;
    dir.write("t.txt", "1 2\n\n   \n3 99 98\n4\n");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    std::array<double, 3> v{};
    READ_REALS(text, v, "v");
    EXPECT_EQ(v, (std::array<double, 3>{1, 2, 3}));
    // 99 and 98 were skipped; the next read starts on line 5.
    EXPECT_EQ(text.line, 5);
    EXPECT_EQ(NEXT_INTEGER(text, "n"), 4);
}

TEST(FreeformRead, BlanksTabsCommasAndWindowsLineEndsSeparate) {
    scratch_dir dir;
    dir.write("t.txt", "1,2\t3 ,, 4\r\n5\r\nname  \r\n");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    std::array<double, 5> v{};
    READ_REALS(text, v, "v");
    EXPECT_EQ(v, (std::array<double, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(READ_LINE(text, "name"), "name  ");
}

TEST(FreeformRead, RealsInEveryWrittenForm) {
    scratch_dir dir;
    dir.write("t.txt", "+1.5 -2 .25 3. 1.5D+03 -2d-2 7E1 NaN Infinity -inf 1e-400 +0.5\n");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    std::array<double, 12> v{};
    READ_REALS(text, v, "v");
    EXPECT_EQ(v[0], 1.5);
    EXPECT_EQ(v[1], -2.0);
    EXPECT_EQ(v[2], 0.25);
    EXPECT_EQ(v[3], 3.0);
    EXPECT_EQ(v[4], 1500.0);
    EXPECT_EQ(v[5], -0.02);
    EXPECT_EQ(v[6], 70.0);
    EXPECT_TRUE(std::isnan(v[7]));
    EXPECT_EQ(v[8], INFINITY);
    EXPECT_EQ(v[9], -INFINITY);
    EXPECT_EQ(v[10], 0.0);  // below the smallest double: the nearest one
    EXPECT_EQ(v[11], 0.5);
}

TEST(FreeformRead, SeventeenDigitsRoundTripExactly) {
    scratch_dir dir;
    dir.write("t.txt", "0.10000000000000001 8.3333333333333329E-02 -1.7976931348623157e308\n");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    EXPECT_EQ(NEXT_REAL(text, "a"), 0.1);
    EXPECT_EQ(NEXT_REAL(text, "b"), 1.0 / 12.0);
    EXPECT_EQ(NEXT_REAL(text, "c"), -1.7976931348623157e308);
}

TEST(FreeformRead, IntegersTakeASignAndDigitsAndFitThirtyTwoBits) {
    scratch_dir dir;
    dir.write("t.txt", "+7 -2147483648 2147483647 007\n");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    EXPECT_EQ(NEXT_INTEGER(text, "a"), 7);
    EXPECT_EQ(NEXT_INTEGER(text, "b"), -2147483647 - 1);
    EXPECT_EQ(NEXT_INTEGER(text, "c"), 2147483647);
    EXPECT_EQ(NEXT_INTEGER(text, "d"), 7);
}

TEST(FreeformRead, LastLineWithoutLineEndIsRead) {
    scratch_dir dir;
    dir.write("t.txt", "a\n12");
    text_file text;
    OPEN_TEXT(text, "t.txt");
    SKIP_LINE(text, "a");
    EXPECT_EQ(NEXT_INTEGER(text, "n"), 12);
    END_READ(text);
    EXPECT_EQ(text.pos, text.end);
}

// Each bad value is reported on the line it stands on, quoted as written.
TEST(FreeformFailure, BadValuesNameFileLineAndText) {
    scratch_dir dir;
    const auto failure_reading = [&](const std::string& content, bool integer) {
        dir.write("map_EM.txt", content);
        return INPUT_FAILURE_OF([&] {
            text_file text;
            OPEN_TEXT(text, "map_EM.txt");
            for (int n = 0; n < 10; ++n) {
                if (integer) {
                    NEXT_INTEGER(text, "n");
                } else {
                    NEXT_REAL(text, "x");
                }
            }
        });
    };
    EXPECT_EQ(failure_reading("1\n2\n1.2.3\n", false), "map_EM.txt:3: expected a number, found \"1.2.3\"");
    EXPECT_EQ(failure_reading("1 abc 2", false), "map_EM.txt:1: expected a number, found \"abc\"");
    EXPECT_EQ(failure_reading("1e", false), "map_EM.txt:1: expected a number, found \"1e\"");
    EXPECT_EQ(failure_reading("+-1", false), "map_EM.txt:1: expected a number, found \"+-1\"");
    EXPECT_EQ(failure_reading("0x10", false), "map_EM.txt:1: expected a number, found \"0x10\"");
    EXPECT_EQ(failure_reading("1.5D", false), "map_EM.txt:1: expected a number, found \"1.5D\"");
    EXPECT_EQ(failure_reading("\n1e999\n", false), "map_EM.txt:2: number out of range, found \"1e999\"");
    // A carriage return alone is a line end (old Mac files): "1\r2" holds two lines.
    EXPECT_EQ(failure_reading("1\r2", false), "map_EM.txt:2: file ends early, expected x");
    EXPECT_EQ(failure_reading("1.5", true), "map_EM.txt:1: expected an integer, found \"1.5\"");
    EXPECT_EQ(failure_reading("2147483648", true), "map_EM.txt:1: integer out of range, found \"2147483648\"");
    EXPECT_EQ(failure_reading("-99999999999", true), "map_EM.txt:1: integer out of range, found \"-99999999999\"");
    EXPECT_EQ(failure_reading(std::string(400, '9'), false),
              "map_EM.txt:1: number out of range, found \"" + std::string(40, '9') + "...\"");
    EXPECT_EQ(failure_reading("-1." + std::string(600, '5') + "D+999", false),
              "map_EM.txt:1: number out of range, found \"-1." + std::string(37, '5') + "...\"");
    EXPECT_EQ(failure_reading(std::string(60, '7') + "x", false),
              "map_EM.txt:1: expected a number, found \"" + std::string(40, '7') + "...\"");
    EXPECT_EQ(failure_reading(std::string(100000, '\0'), false),
              "map_EM.txt:1: expected a number, found \"" + std::string(40, '?') + "...\"");
}

TEST(FreeformFailure, EndOfFileNamesTheValueStillNeededAndTheLastLine) {
    scratch_dir dir;
    dir.write("m.txt", "1 2\n3\n\n");
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "m.txt");
                  std::array<double, 5> v{};
                  READ_REALS(text, v, "zmws");
              }),
              "m.txt:3: file ends early, expected zmws value 4 of 5");
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "m.txt");
                  END_READ(text);
                  END_READ(text);
                  NEXT_REAL(text, "node", 6, 9);
              }),
              "m.txt:3: file ends early, expected node 7 of 9");
    dir.write("short.dat", "one\ntwo");
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "short.dat");
                  SKIP_LINE(text, "line 1");
                  SKIP_LINE(text, "line 2");
                  READ_LINE(text, "line 3");
              }),
              "short.dat:2: file ends early, expected line 3");
    dir.write("empty.txt", "");
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "empty.txt");
                  NEXT_INTEGER(text, "field_kind");
              }),
              "empty.txt: file is empty, expected field_kind");
}

TEST(FreeformFailure, FilesThatCannotBeReadAreRefusedAtOpen) {
    scratch_dir dir;
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "absent.txt");
              }),
              "absent.txt: cannot open: No such file or directory");
    std::filesystem::create_directory(dir.path() / "sub");
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "sub");
              }),
              "sub: is a directory, not a file");
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(INPUT_FAILURE_OF([] {
                  text_file text;
                  OPEN_TEXT(text, "fifo");  // must not wait for a writer
              }),
              "fifo: is not a regular file");
}

// What is not text stops the read where it is met, and no scan goes past longest_scan.
TEST(FreeformFailure, NulBytesWideTextAndOverlongScansStopTheRead) {
    scratch_dir dir;
    const auto failure_of = [&](const std::string& content, const std::function<void(text_file&)>& read) {
        dir.write("t.txt", content);
        return INPUT_FAILURE_OF([&] {
            text_file text;
            OPEN_TEXT(text, "t.txt");
            read(text);
        });
    };
    const auto end_read = [](text_file& text) {
        NEXT_INTEGER(text, "n");
        END_READ(text);
    };
    const auto read_line = [](text_file& text) { READ_LINE(text, "line"); };
    const auto integer = [](text_file& text) { NEXT_INTEGER(text, "n"); };
    EXPECT_EQ(failure_of("\n7 " + std::string(100, '\0'), [&](text_file& t) { END_READ(t); end_read(t); }),
              "t.txt:2: holds a NUL byte; the file is not plain text");
    EXPECT_EQ(failure_of(std::string("1\0 \0" "2\0", 6), integer), "t.txt: the file is UTF-16 text; save it as plain text");
    EXPECT_EQ(failure_of(std::string("\0\x31\0\n", 4), read_line), "t.txt: the file is UTF-16 text; save it as plain text");
    EXPECT_EQ(failure_of("\n" + std::string(longest_scan + 1, 'a'), [&](text_file& t) { END_READ(t); read_line(t); }),
              "t.txt:2: the line is longer than 16 MB");
    EXPECT_EQ(failure_of("1 " + std::string(longest_scan + 1, ' ') + "2", [&](text_file& t) { end_read(t); }),
              "t.txt:1: the line is longer than 16 MB");
    EXPECT_EQ(failure_of(std::string(longest_scan + 1, '\n') + "1", integer),
              "t.txt:1: more than 16 MB of blanks and line ends without a value");
    EXPECT_EQ(failure_of(std::string(longest_scan + 1, '7'), [](text_file& t) { NEXT_REAL(t, "x"); }),
              "t.txt:1: a value is longer than 16 MB");
}

TEST(FreeformFailureDeathTest, FileCutShortWhileReadEndsTheRunWithOneLine) {
    // Another program truncating the map under a running read (an export rewriting it) must
    // give one line and status 1, not a crash.
    scratch_dir dir;
    std::string values;
    for (int n = 0; n < 20000; ++n) values += "1.5 ";
    dir.write("growing.txt", values + "\n");
    const auto read_while_cut = [] {
        text_file text;
        OPEN_TEXT(text, "growing.txt");
        std::filesystem::resize_file("growing.txt", 0);
        static std::array<double, 20000> v{};
        READ_REALS(text, v, "v");
    };
    EXPECT_EXIT(read_while_cut(), testing::ExitedWithCode(1),
                "growing.txt: the file was cut short while it was being read");
}

}  // namespace
}  // namespace orvex
