// The console listing format: every record is its label, then integers in 12 columns and
// doubles in 24 columns with 15 significant digits.
#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cwchar>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "console/console.h"
#include "fresh_records.h"
#include "console/csv_text.h"
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

using ConsoleWrite = testing_support::fresh_records;

TEST_F(ConsoleWrite, RecordIsLabelThenValuesAndIsKeptInTheLog) {
    SET_CONSOLE_QUIET(true);
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

TEST_F(ConsoleWrite, ControlCharactersInTextValuesAreWrittenAsEscapes) {
    SET_CONSOLE_QUIET(true);
    // An escape sequence, a NUL, a raw C1 byte and C1 in UTF-8 are escaped; other UTF-8 stays.
    CONSOLE_WRITE(" Input field file name = ", {L_TEXT(std::string_view("EM\x1b[2J\0\x9b\xc2\x9b\xc3\xa9.bin", 16))});
    EXPECT_EQ(CONSOLE_LOG(), " Input field file name = EM\\x1B[2J\\x00\\x9B\\xC2\\x9B\xc3\xa9.bin\n");
    CLEAR_CONSOLE_LOG();
    SET_CONSOLE_QUIET(false);
}

// glibc's own UTF-8 decoder: every byte of text belongs to a character it decodes.
bool GLIBC_DECODES(std::string_view text) {
    std::mbstate_t state{};
    std::size_t n = 0;
    for (std::size_t at = 0; at < text.size(); at += n == 0 ? 1 : n)
        if ((n = std::mbrtowc(nullptr, text.data() + at, text.size() - at, &state)) >= static_cast<std::size_t>(-2)) return false;
    return true;
}

// Texts written to files and terminals are valid UTF-8: a byte that is no part of a well-formed
// character (Latin-1, overlong, surrogate, past U+10FFFF, cut) becomes \xNN; VISIBLE_TEXT
// escapes control characters too, UTF8_TEXT leaves them to the format that escapes them.
TEST(VisibleText, EveryTextBecomesValidUtf8) {
    ASSERT_NE(std::setlocale(LC_CTYPE, "C.UTF-8"), nullptr);
    const std::array<std::array<std::string_view, 3>, 5> rows{{  // text, VISIBLE_TEXT, UTF8_TEXT
        {"caf\xe9 \xc3\xa9\xf0\x9f\x98\x80", "caf\\xE9 \xc3\xa9\xf0\x9f\x98\x80", "caf\\xE9 \xc3\xa9\xf0\x9f\x98\x80"},
        {"\xc0\xaf\xe0\x80\xaf", "\\xC0\\xAF\\xE0\\x80\\xAF", "\\xC0\\xAF\\xE0\\x80\\xAF"},
        {"\xed\xa0\x80\xf4\x90\x80\x80", "\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80", "\\xED\\xA0\\x80\\xF4\\x90\\x80\\x80"},
        {"ab\xe2\x82", "ab\\xE2\\x82", "ab\\xE2\\x82"},
        {"\x1b[2J\a\xc2\x9b\x7f", "\\x1B[2J\\x07\\xC2\\x9B\\x7F", "\x1b[2J\a\xc2\x9b\x7f"},
    }};
    for (const auto& [in, visible, utf8] : rows) {
        EXPECT_EQ(VISIBLE_TEXT(in), visible);
        EXPECT_EQ(UTF8_TEXT(in), utf8);
    }
    std::mt19937 random(31);
    for (int n = 0; n < 2000; ++n) {
        std::string bytes(1 + random() % 12, '\0');
        for (char& b : bytes) b = static_cast<char>(random() % 4 == 0 ? 0x80 + random() % 0x80 : random() % 0x100);
        EXPECT_TRUE(GLIBC_DECODES(UTF8_TEXT(bytes)) && GLIBC_DECODES(VISIBLE_TEXT(bytes)));
    }
    std::setlocale(LC_CTYPE, "C");
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

// The CSV number form is printf's %.17g, which the standard library's to_chars(general, 17)
// writes too: random bit patterns over every magnitude, values on the fast path's edges, exact
// decimal ties, integers, and signs.
TEST(SeventeenDigits, SameTextAsPrintfForEveryKindOfDouble) {
    const auto expected = [](double v) {
        char text[40];
        return std::string(text, std::to_chars(text, text + sizeof text, v, std::chars_format::general, 17).ptr);
    };
    std::vector<double> values{0.0, -0.0, 1.0, -1.0, 0.1, 1e-6, 9.9999999999999995e-7, 1e16, 9999999999999998.0,
                               1e15, 123456789012345678.0, 0.5, 0.125, 5e-5, 2.5e-5, 1.0000000000000002,
                               0.30000000000000004, 1e-5, 1e-4, 9.9999999999999991e-5, 1e22, 5e-324,
                               std::numeric_limits<double>::max(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity()};
    for (int p = -30; p <= 60; ++p) values.push_back(std::ldexp(1.0, p) * 3.0);  // exact binary fractions
    for (int p = -8; p <= 18; ++p) {  // around each power of ten
        const double ten = std::pow(10.0, p);
        values.insert(values.end(), {ten, std::nextafter(ten, 0.0), std::nextafter(ten, 1e300), -ten});
    }
    std::mt19937_64 random(22);
    for (int n = 0; n < 200000; ++n) {
        const std::uint64_t bits = random();
        double v = 0.0;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isnan(v)) values.push_back(v);
        values.push_back(std::ldexp(static_cast<double>(random() >> 11), static_cast<int>(random() % 100) - 90));
    }
    long mismatches = 0;
    for (const double v : values) {
        std::string got;
        CSV_REAL(got, v);
        if (got != expected(v) && ++mismatches <= 5) ADD_FAILURE() << expected(v) << " written as " << got;
    }
    EXPECT_EQ(mismatches, 0);
}

}  // namespace
}  // namespace orvex
