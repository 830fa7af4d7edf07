// The console listing format: every record is its label, then integers in 12 columns and
// doubles in 24 columns with 15 significant digits.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "console/console.h"
#include "console/run_stop.h"

namespace orvex {
namespace {

TEST(ListedReal, FixedFormFromOneTenthBelowOneE15) {
    EXPECT_EQ(FORMAT_LISTED_REAL(100.0), "        100.000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(2.0), "        2.00000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(-2.0), "       -2.00000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(0.5), "       0.500000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(0.1), "       0.100000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(123456789012345.0), "        123456789012345.");
}

TEST(ListedReal, ZeroIsFixed) { EXPECT_EQ(FORMAT_LISTED_REAL(0.0), "        0.00000000000000"); }

TEST(ListedReal, ExponentFormHasThreeExponentDigits) {
    EXPECT_EQ(FORMAT_LISTED_REAL(1.0 / 12.0), "   8.33333333333333E-002");
    EXPECT_EQ(FORMAT_LISTED_REAL(-1.0 / 12.0), "  -8.33333333333333E-002");
    EXPECT_EQ(FORMAT_LISTED_REAL(1e15), "   1.00000000000000E+015");
    EXPECT_EQ(FORMAT_LISTED_REAL(2.5e-300), "   2.50000000000000E-300");
}

TEST(ListedReal, FormFollowsTheValueRoundedToFifteenDigits) {
    // 0.09999999999999999 rounds to 0.1 at 15 digits and is listed as 0.1 in fixed form;
    // 999999999999999.9 rounds to 1e15 and goes to exponent form.
    EXPECT_EQ(FORMAT_LISTED_REAL(0.09999999999999999), "       0.100000000000000");
    EXPECT_EQ(FORMAT_LISTED_REAL(999999999999999.9), "   1.00000000000000E+015");
}

TEST(ListedReal, NotFiniteValuesAreNamed) {
    EXPECT_EQ(FORMAT_LISTED_REAL(std::numeric_limits<double>::quiet_NaN()), "                     NaN");
    EXPECT_EQ(FORMAT_LISTED_REAL(-std::numeric_limits<double>::infinity()), "               -Infinity");
}

TEST(ListedInteger, RightAlignedInTwelveColumns) {
    EXPECT_EQ(FORMAT_LISTED_INTEGER(0), "           0");
    EXPECT_EQ(FORMAT_LISTED_INTEGER(-2147483647 - 1), " -2147483648");
}

TEST(ConsoleWrite, RecordIsLabelThenValuesAndIsKeptInTheLog) {
    SET_CONSOLE_QUIET(true);
    CLEAR_CONSOLE_LOG();
    CONSOLE_WRITE(" ksym = ", {L_INT(3)});
    CONSOLE_WRITE("xmws limits= ", {L_REAL(0.0), L_REAL(2.0)});
    CONSOLE_WRITE(" Input field file name = ", {L_TEXT("map EM.bin")});
    EXPECT_EQ(CONSOLE_LOG(),
              " ksym =            3\n"
              "xmws limits=         0.00000000000000        2.00000000000000\n"
              " Input field file name = map EM.bin\n");
    CLEAR_CONSOLE_LOG();
    SET_CONSOLE_QUIET(false);
}

TEST(ConsoleWrite, ControlCharactersInTextValuesAreWrittenAsEscapes) {
    SET_CONSOLE_QUIET(true);
    CLEAR_CONSOLE_LOG();
    // An escape sequence, a NUL, a raw C1 byte and C1 in UTF-8 are escaped; other UTF-8 stays.
    CONSOLE_WRITE(" Input field file name = ", {L_TEXT(std::string_view("EM\x1b[2J\0\x9b\xc2\x9b\xc3\xa9.bin", 16))});
    EXPECT_EQ(CONSOLE_LOG(), " Input field file name = EM\\x1B[2J\\x00\\x9B\\xC2\\x9B\xc3\xa9.bin\n");
    CLEAR_CONSOLE_LOG();
    SET_CONSOLE_QUIET(false);
}

TEST(RunStop, StopsCarryTheirChannelAndExactText) {
    try {
        STOP_RUN(" Not a valid field format ");
        FAIL();
    } catch (const run_stop& stop) {
        EXPECT_EQ(stop.where, run_stop::channel::console);
        EXPECT_EQ(stop.message, " Not a valid field format ");
    }
    try {
        INPUT_FAILURE("map_EM.txt", "3", "expected a number, found \"1.2.3\"");
        FAIL();
    } catch (const run_stop& stop) {
        EXPECT_EQ(stop.where, run_stop::channel::input);
        EXPECT_EQ(stop.message, "plot_orvex_3dfields: map_EM.txt:3: expected a number, found \"1.2.3\"");
    }
    try {
        INPUT_FAILURE("EM\x1b[2Jmap\tx", "", "cannot open: No such file or directory");
        FAIL();
    } catch (const run_stop& stop) {
        EXPECT_EQ(stop.message, "plot_orvex_3dfields: EM\\x1B[2Jmap\\x09x: cannot open: No such file or directory");
    }
}

}  // namespace
}  // namespace orvex
