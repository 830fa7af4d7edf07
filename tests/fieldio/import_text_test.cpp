// import_text_test.cpp: how the importer reads a solver's numbers and shows a table's bytes.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "fieldio/import_header.h"
#include "fieldio/import_source.h"

namespace {

using namespace orvex::mapimport;

TEST(ImportText, BytesAreShownAsTheyMayReachATerminal) {
    struct shown {
        std::string bytes, text;
    };
    const shown rows[] = {
        {"Ex [V/m] é µ ∂", "Ex [V/m] é µ ∂"},                                     // UTF-8 stays
        {std::string("a\0b\x07\x1B[2J\x7F", 9), "a\\x00b\\x07\\x1B[2J\\x7F"},     // C0 controls, DEL
        {"\xC2\x9B" "31m \xC2\x85", "\\xC2\\x9B31m \\xC2\\x85"},                  // C1 controls as UTF-8
        {"\x9B\xFF\xC3(\xE2\x82", "\\x9B\\xFF\\xC3(\\xE2\\x82"},                  // no UTF-8 (cut short too)
        {"\xC0\xAF \xED\xA0\x80", "\\xC0\\xAF \\xED\\xA0\\x80"},                  // overlong, surrogate
        {"a\xE2\x80\xAE" "b\xE2\x80\xA8", "a\\xE2\\x80\\xAEb\\xE2\\x80\\xA8"},    // bidi override, line separator
    };
    for (const shown& r : rows) EXPECT_EQ(SHOWN_TEXT(r.bytes), r.text) << r.text;
    EXPECT_EQ(SHOWN_TEXT(std::string(100, 'a')), std::string(60, 'a') + "...");
    EXPECT_EQ(SHOWN_TEXT(std::string(60, 'a')), std::string(60, 'a'));
    EXPECT_EQ(SHOWN_TEXT(std::string(70, '\x1B'), 3), "\\x1B\\x1B\\x1B...");
}

TEST(ImportText, NumbersAsSolversWriteThem) {
    struct number {
        const char* text;
        bool read;
        double value;
    };
    const number rows[] = {
        {"1.5D+03", true, 1500},  {"+2.5", true, 2.5},        {"-0", true, -0.0},     {"-1e-400", true, -0.0},
        {"1e-400", true, 0.0},    {"nan", true, NAN},         {"-inf", true, -INFINITY}, {"1e999", false, INFINITY},
        {"-1d999", false, -INFINITY}, {"1,5", false, 0},      {"+-1", false, 0},      {"0x1p3", false, 0},
    };
    for (const number& r : rows) {
        double v = 7;
        EXPECT_EQ(READ_NUMBER(r.text, v), r.read) << r.text;
        if (!r.read && !std::isinf(r.value)) continue;  // no number: nothing said of v
        if (std::isnan(r.value)) {
            EXPECT_TRUE(std::isnan(v)) << r.text;
        } else {
            EXPECT_EQ(v, r.value) << r.text;
            EXPECT_EQ(std::signbit(v), std::signbit(r.value)) << r.text;
        }
    }
}

}  // namespace
