// map_writer_test.cpp: the field-map writer that every reader, unfolding and page test relies on:
// the parities of its fields, the exact bytes of each layout, and each style and damage option.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "map_writer.h"

#include "e2e/program_run.h"

namespace {

using namespace orvex::mapgen;
namespace fs = std::filesystem;

using orvex::e2e::SLURP;

std::int32_t INT32_AT(const std::string& b, long long off) {
    std::uint32_t u = 0;
    for (int n = 3; n >= 0; --n) u = (u << 8) | static_cast<unsigned char>(b[static_cast<std::size_t>(off + n)]);
    return static_cast<std::int32_t>(u);
}

double DOUBLE_AT(const std::string& b, long long off) {
    std::uint64_t u = 0;
    for (int n = 7; n >= 0; --n) u = (u << 8) | static_cast<unsigned char>(b[static_cast<std::size_t>(off + n)]);
    double v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

std::vector<std::string> LINES(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) out.push_back(l);
    return out;
}

std::vector<double> NUMBERS(const std::string& line) {
    std::vector<double> out;
    std::istringstream in(line);
    for (std::string t; in >> t;) out.push_back(std::strtod(t.c_str(), nullptr));
    return out;
}

long long END_OF_5(const map_recipe& s) { return BINARY_RECORD_END(s, 5); }

class MapWriter : public ::testing::Test {
protected:
    fs::path dir;
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("orvex_mapwriter_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
};

// The sign a component takes under each mirror, as the unfolding applies it; the writer's
// field must be odd exactly where the table says and even elsewhere.
TEST(MapWriterField, ParitiesMatchTheUnfoldingSignTable) {
    // odd[kind][component][axis]
    const bool odd[3][6][3] = {
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {1, 0, 1}, {0, 1, 1}, {0, 0, 0}},
        {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 1, 1}, {1, 0, 1}, {1, 1, 0}},
    };
    const auto comp = [](const field_value& f, int c) {
        const double v[6] = {f.ex, f.ey, f.ez, f.bx, f.by, f.bz};
        return v[c];
    };
    // The analytic field in every kind; each device in the kind it is built for.
    const std::pair<field_model, int> cases[] = {
        {field_model::analytic, 0}, {field_model::analytic, 1},     {field_model::analytic, 2},
        {field_model::rfq_cell, 0}, {field_model::solenoid, 1}, {field_model::lens_doublet, 2}};
    for (const auto& [model, kind] : cases) {
        {
            map_recipe s;
            s.kind = kind;
            s.model = model;
            const double p[3] = {0.37, 1.21, 17.3};
            const field_value f = FIELD_AT(s, p[0], p[1], p[2]);
            for (int c = 0; c < 6; ++c) {
                const bool carried = (c < 3) ? (kind != 1) : (kind != 0);
                if (!carried) {
                    EXPECT_EQ(comp(f, c), 0.0) << "kind " << kind << " component " << c;
                    continue;
                }
                if (model == field_model::analytic) {
                    EXPECT_NE(comp(f, c), 0.0);
                }
                for (int axis = 0; axis < 3; ++axis) {
                    double q[3] = {p[0], p[1], p[2]};
                    q[axis] = -q[axis];
                    const double mirrored = comp(FIELD_AT(s, q[0], q[1], q[2]), c);
                    const double expect = odd[kind][c][axis] ? -comp(f, c) : comp(f, c);
                    EXPECT_NEAR(mirrored, expect, 1e-9 * (1.0 + std::fabs(expect)))
                        << "model " << static_cast<int>(model) << " kind " << kind << " component " << c
                        << " axis " << axis;
                }
            }
        }
    }
}

TEST(MapWriterField, StoredCoordinatesRunFromLowerToUpperLimit) {
    map_recipe s;
    s.ksym_yz = 1;  // x from 0
    s.z_lo = 5.0;   // overridden
    EXPECT_EQ(STORED_X(s, 1), 0.0);
    EXPECT_DOUBLE_EQ(STORED_X(s, 25), 2.0);
    EXPECT_DOUBLE_EQ(STORED_X(s, 13), 1.0);
    EXPECT_EQ(STORED_Y(s, 1), -2.0);
    EXPECT_DOUBLE_EQ(STORED_Y(s, 13), 0.0);
    EXPECT_EQ(STORED_Z(s, 1), 5.0);
    EXPECT_DOUBLE_EQ(STORED_Z(s, 201), 50.0);
}

TEST_F(MapWriter, BinaryLayoutHasTheRecordTableSizesAndValues) {
    for (int kind = 0; kind < 3; ++kind) {
        map_recipe s;
        s.kind = kind;
        s.ksym_yz = 1, s.ksym_xy = 1;
        s.n_cell = 7;
        const fs::path p = dir / "m.bin";
        ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, p.string()));
        const std::string b = SLURP(p);
        ASSERT_EQ(b.size(), kind == 2 ? 6032128u : 3017104u);
        EXPECT_EQ(static_cast<long long>(b.size()), BINARY_RECORD_END(s, BINARY_RECORD_COUNT(s)));
        // Every record framed by equal lengths of the listed body sizes.
        const long long bodies[] = {20, 12, 200, 200, 1608};
        for (int r = 1; r <= BINARY_RECORD_COUNT(s); ++r) {
            const long long start = BINARY_RECORD_END(s, r - 1), end = BINARY_RECORD_END(s, r);
            const long long body = r <= 5 ? bodies[r - 1] : 1005000;
            EXPECT_EQ(INT32_AT(b, start), body) << "record " << r;
            EXPECT_EQ(INT32_AT(b, end - 4), body) << "record " << r;
            EXPECT_EQ(end - start, body + 8);
        }
        EXPECT_EQ(DOUBLE_AT(b, 4), 100.0);
        EXPECT_EQ(DOUBLE_AT(b, 12), 2.0);
        EXPECT_EQ(INT32_AT(b, 20), 7);
        EXPECT_EQ(INT32_AT(b, 32), 1);
        EXPECT_EQ(INT32_AT(b, 36), 0);
        EXPECT_EQ(INT32_AT(b, 40), 1);
        // Node (i, j, k) of the first component record, x fastest.
        const int i = 3, j = 7, k = 150;
        const long long first = BINARY_RECORD_END(s, 5) + 4;
        const long long n = (k - 1) * 625 + (j - 1) * 25 + (i - 1);
        const field_value f = FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
        EXPECT_EQ(DOUBLE_AT(b, first + 8 * n), kind == 1 ? f.bx : f.ex);
        EXPECT_EQ(DOUBLE_AT(b, BINARY_RECORD_END(s, 3) + 4 + 8 * 24), STORED_Y(s, 25));
    }
}

TEST_F(MapWriter, TextArrayGroupsStartOnNewLinesAndRoundTrip) {
    map_recipe s;
    s.kind = 1;
    map_style st;
    st.per_line = 0;  // whole groups on one line
    const fs::path p = dir / "m.txt";
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::text, p.string(), st));
    const auto lines = LINES(SLURP(p));
    ASSERT_EQ(lines.size(), 8u);  // header, flags, three coordinate groups, three components
    EXPECT_EQ(lines[0], "100 2 0");
    EXPECT_EQ(lines[1], "0 0 0");
    ASSERT_EQ(NUMBERS(lines[4]).size(), 201u);
    EXPECT_EQ(NUMBERS(lines[4])[200], STORED_Z(s, 201));
    const auto by = NUMBERS(lines[6]);
    ASSERT_EQ(by.size(), 125625u);
    const int i = 20, j = 2, k = 9;
    EXPECT_EQ(by[static_cast<std::size_t>((k - 1) * 625 + (j - 1) * 25 + i - 1)],
              FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k)).by);

    // Five to a line: 25 values take five lines, and the next group starts on its own line.
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::text, p.string()));
    const auto five = LINES(SLURP(p));
    EXPECT_EQ(NUMBERS(five[2]).size(), 5u);
    EXPECT_EQ(NUMBERS(five[6]).size(), 5u);
    EXPECT_EQ(NUMBERS(five[7])[0], STORED_Y(s, 1));
}

TEST_F(MapWriter, NodeListRunsZFastestAndWritesTheGivenCounts) {
    map_recipe s;
    s.kind = 0;
    s.ksym_xy = 1;
    s.nx = 24, s.ny = -3;
    s.node_kind = 4;
    const fs::path p = dir / "n.txt";
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::nodes, p.string()));
    const auto lines = LINES(SLURP(p));
    ASSERT_EQ(lines.size(), 5u + 125625u);
    EXPECT_EQ(lines[0], "4");
    EXPECT_EQ(lines[1], "0 0 1");
    EXPECT_EQ(lines[2], "-2 2 24");
    EXPECT_EQ(lines[3], "-2 2 -3");
    EXPECT_EQ(lines[4], "0 50 201");
    // Line of node (i, j, k): 6 + ((i-1)*25 + (j-1))*201 + (k-1).
    const int i = 2, j = 3, k = 4;
    const auto v = NUMBERS(lines[static_cast<std::size_t>(5 + ((i - 1) * 25 + (j - 1)) * 201 + (k - 1))]);
    const field_value f = FIELD_AT(s, STORED_X(s, i), STORED_Y(s, j), STORED_Z(s, k));
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0], f.ex);
    EXPECT_EQ(v[1], f.ey);
    EXPECT_EQ(v[2], f.ez);

    s.kind = 5;  // a kind outside 0..2 has no node lines
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::nodes, p.string()));
    EXPECT_EQ(LINES(SLURP(p)).size(), 5u);
}

TEST_F(MapWriter, StylesForInputsThatMustBeRead) {
    map_recipe s;
    s.kind = 2;
    map_style st;
    st.crlf = true;
    st.tabs = true;
    st.d_exponent = true;
    st.nan_nodes.push_back({1, 1, 1});
    st.inf_nodes.push_back({1, 1, 2});
    st.neg_inf_nodes.push_back({1, 1, 3});
    const fs::path p = dir / "n.txt";
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::nodes, p.string(), st));
    const auto lines = LINES(SLURP(p));
    EXPECT_EQ(lines[2], "-2.0000000000000000D+00\t2.0000000000000000D+00\t25\r");
    EXPECT_EQ(lines[5], "NaN\tNaN\tNaN\tNaN\tNaN\tNaN\r");
    EXPECT_EQ(lines[6], "Infinity\tInfinity\tInfinity\tInfinity\tInfinity\tInfinity\r");
    EXPECT_EQ(lines[7].substr(0, 10), "-Infinity\t");

    // The binary layout carries the same non-finite values as IEEE doubles.
    map_style nan_only;
    nan_only.nan_nodes.push_back({2, 1, 1});
    const fs::path b = dir / "m.bin";
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, b.string(), nan_only));
    const std::string bytes = SLURP(b);
    EXPECT_TRUE(std::isnan(DOUBLE_AT(bytes, BINARY_RECORD_END(s, 5) + 4 + 8)));
    EXPECT_FALSE(std::isnan(DOUBLE_AT(bytes, BINARY_RECORD_END(s, 5) + 4)));
}

TEST_F(MapWriter, DamageForInputsThatMustBeRefused) {
    map_recipe s;
    s.kind = 0;
    const fs::path b = dir / "m.bin";
    map_style cut;
    cut.cut_at = 1234;
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, b.string(), cut));
    EXPECT_EQ(fs::file_size(b), 1234u);

    map_style lengths;
    lengths.record = 3;
    lengths.lead = -5;
    lengths.trail = 0x7FFFFFFF;
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, b.string(), lengths));
    const std::string bytes = SLURP(b);
    EXPECT_EQ(bytes.size(), 3017104u);
    EXPECT_EQ(INT32_AT(bytes, BINARY_RECORD_END(s, 2)), -5);
    EXPECT_EQ(INT32_AT(bytes, BINARY_RECORD_END(s, 3) - 4), 0x7FFFFFFF);
    EXPECT_EQ(INT32_AT(bytes, BINARY_RECORD_END(s, 3)), 200);  // the next record is untouched

    map_style pad;
    pad.pad_record = 6;
    pad.pad_bytes = 16;
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, b.string(), pad));
    const std::string padded = SLURP(b);
    EXPECT_EQ(padded.size(), 3017104u + 16u);
    EXPECT_EQ(INT32_AT(padded, END_OF_5(s)), 1005016);
    EXPECT_EQ(INT32_AT(padded, END_OF_5(s) + 4 + 1005016), 1005016);

    const fs::path n = dir / "n.txt";
    map_style few;
    few.node_lines = 10;
    few.pokes.push_back({1, 1, "1.2.3"});
    few.pokes.push_back({3, 2, "--5"});
    few.pokes.push_back({4, 0, "whole line"});
    ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::nodes, n.string(), few));
    const auto lines = LINES(SLURP(n));
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0], "1.2.3");
    EXPECT_EQ(lines[2], "-2 --5 25");
    EXPECT_EQ(lines[3], "whole line");
}

TEST(MapWriterFill, FillStoredMatchesTheWrittenLattice) {
    map_recipe s;
    s.kind = 1;
    s.ksym_xz = 1;
    std::vector<double> x(25), y(25), z(201);
    std::vector<std::vector<double>> c(6, std::vector<double>(125625, -1.0));
    FILL_STORED(s, {x.data(), y.data(), z.data(), c[0].data(), c[1].data(), c[2].data(), c[3].data(),
                    c[4].data(), c[5].data()});
    EXPECT_EQ(y[0], 0.0);
    EXPECT_EQ(z[200], STORED_Z(s, 201));
    const std::size_t n = 200 * 625 + 24 * 25 + 24;  // node (25, 25, 201)
    EXPECT_EQ(c[0][n], 0.0);                         // kind 1 carries no E
    EXPECT_EQ(c[5][n], FIELD_AT(s, x[24], y[24], z[200]).bz);
    EXPECT_NE(c[3][0], -1.0);
}

}  // namespace
