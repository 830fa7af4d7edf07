// The three field-map readers: every layout fills the same stored lattice, the kind rules, the
// node order and derived values of the node list, and the refusal of damaged files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "field/field_grid.h"
#include "fieldio/field_readers.h"
#include "fieldio/scratch_dir.h"
#include "map_writer.h"
#include "console/run_stop.h"

namespace orvex {
namespace {

using mapgen::layout;
using mapgen::map_recipe;
using mapgen::map_style;
using testing_support::INPUT_FAILURE_OF;
using testing_support::scratch_dir;
using testing_support::STOP_OF;

// The stored lattice a map_recipe describes, in field_grid's shape.
struct expected_lattice {
    std::vector<double> xmws = std::vector<double>(stored_nx), ymws = std::vector<double>(stored_ny),
                        zmws = std::vector<double>(stored_nz);
    std::vector<double> ex = std::vector<double>(stored_nodes), ey = ex, ez = ex, bx = ex, by = ex, bz = ex;
};

expected_lattice EXPECTED(const map_recipe& recipe) {
    expected_lattice e;
    mapgen::FILL_STORED(recipe, {e.xmws.data(), e.ymws.data(), e.zmws.data(), e.ex.data(), e.ey.data(), e.ez.data(),
                               e.bx.data(), e.by.data(), e.bz.data()});
    return e;
}

template <class A>
bool SAME(const A& loaded, const std::vector<double>& expected) {
    return std::equal(loaded.begin(), loaded.end(), expected.begin(), expected.end());
}

void EXPECT_LATTICE(const expected_lattice& e, const std::string& label) {
    const field_grid_record& g = field_grid;
    EXPECT_TRUE(SAME(g.xmws, e.xmws)) << label;
    EXPECT_TRUE(SAME(g.ymws, e.ymws)) << label;
    EXPECT_TRUE(SAME(g.zmws, e.zmws)) << label;
    EXPECT_TRUE(SAME(g.ex_in, e.ex)) << label;
    EXPECT_TRUE(SAME(g.ey_in, e.ey)) << label;
    EXPECT_TRUE(SAME(g.ez_in, e.ez)) << label;
    EXPECT_TRUE(SAME(g.bx_in, e.bx)) << label;
    EXPECT_TRUE(SAME(g.by_in, e.by)) << label;
    EXPECT_TRUE(SAME(g.bz_in, e.bz)) << label;
}

// A grid whose stored arrays hold a value no reader writes, to show what a reader zeroes.
void RESET_WITH_LEFTOVERS() {
    RESET_FIELD_GRID();
    for (stored_array* a : {&field_grid.ex_in, &field_grid.ey_in, &field_grid.ez_in, &field_grid.bx_in,
                            &field_grid.by_in, &field_grid.bz_in})
        a->fill(-777.0);
}

// Loads a file with field_kind as the name classification left it.
void LOAD(layout l, const std::string& name, int kind_from_name) {
    RESET_WITH_LEFTOVERS();
    field_grid.field_kind = kind_from_name;
    switch (l) {
        case layout::binary: READ_FIELD_ARRAYS(array_layout::binary, name); break;
        case layout::text: READ_FIELD_ARRAYS(array_layout::text, name); break;
        case layout::nodes: READ_FIELD_NODES(name); break;
    }
}

std::string READ_BYTES(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FieldReaders, EveryLayoutGivesTheSameStoredLattice) {
    scratch_dir dir;
    for (const auto& [kind, flags] : {std::pair(0, std::array<int, 3>{1, 1, 1}), std::pair(1, std::array<int, 3>{0, 1, 0}),
                                      std::pair(2, std::array<int, 3>{1, 0, 1})}) {
        {
            map_recipe recipe;
            recipe.kind = kind;
            std::tie(recipe.ksym_yz, recipe.ksym_xz, recipe.ksym_xy) = std::tuple(flags[0], flags[1], flags[2]);
            // The default ranges (0 or -hi to hi) make the node list derive d_elm 100 and aper 2,
            // the header the array layouts are written with.
            const expected_lattice e = EXPECTED(recipe);
            for (const layout l : {layout::binary, layout::text, layout::nodes}) {
                const std::string label = "kind " + std::to_string(kind) + " flags " + std::to_string(flags[0]) +
                                          std::to_string(flags[1]) + std::to_string(flags[2]) + " layout " +
                                          std::to_string(static_cast<int>(l));
                ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, l, dir.file("map_MW.dat")));
                LOAD(l, "map_MW.dat", kind);
                EXPECT_EQ(field_grid.field_kind, kind) << label;
                EXPECT_EQ(field_grid.d_elm, 100.0) << label;
                EXPECT_EQ(field_grid.aper, 2.0) << label;
                EXPECT_EQ(field_grid.n_cell, 0) << label;
                EXPECT_EQ(field_grid.ksym_yz, flags[0]) << label;
                EXPECT_EQ(field_grid.ksym_xz, flags[1]) << label;
                EXPECT_EQ(field_grid.ksym_xy, flags[2]) << label;
                EXPECT_LATTICE(e, label);
            }
        }
    }
}

TEST(FieldReaders, ArrayLayoutsTakeTheKindFromTheNameUnlessNCellIsPositive) {
    scratch_dir dir;
    map_recipe e_map;
    e_map.kind = 0;  // three component records
    const expected_lattice e = EXPECTED(e_map);
    for (const layout l : {layout::binary, layout::text}) {
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(e_map, l, dir.file("map_EM.dat")));
        // field_flag 0: the three arrays are Ex, Ey, Ez and B is zero.
        LOAD(l, "map_EM.dat", 0);
        EXPECT_EQ(field_grid.field_kind, 0);
        EXPECT_TRUE(SAME(field_grid.ez_in, e.ez));
        EXPECT_TRUE(std::all_of(field_grid.bx_in.begin(), field_grid.bx_in.end(), [](double v) { return v == 0.0; }));
        // field_flag 1: the same three arrays are stored as Bx, By, Bz and E is zero.
        LOAD(l, "map_EM.dat", 1);
        EXPECT_EQ(field_grid.field_kind, 1);
        EXPECT_TRUE(SAME(field_grid.bx_in, e.ex));
        EXPECT_TRUE(SAME(field_grid.bz_in, e.ez));
        EXPECT_TRUE(std::all_of(field_grid.ey_in.begin(), field_grid.ey_in.end(), [](double v) { return v == 0.0; }));
    }

    // n_cell 7: six component records, whatever the name and field_flag say.
    map_recipe both;
    both.kind = 2;
    both.n_cell = 7;
    const expected_lattice b = EXPECTED(both);
    for (const layout l : {layout::binary, layout::text}) {
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(both, l, dir.file("cell_PMQ.dat")));
        LOAD(l, "cell_PMQ.dat", 0);
        EXPECT_EQ(field_grid.field_kind, 2);
        EXPECT_EQ(field_grid.n_cell, 7);
        EXPECT_LATTICE(b, "PMQ n_cell 7");
    }
    // A file of three component records whose n_cell is positive is one record short.
    map_recipe short_map = e_map;
    short_map.n_cell = 7;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(short_map, layout::binary, dir.file("short_EM.bin")));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::binary, "short_EM.bin", 0); }),
              "short_EM.bin:record 9: file ends before the record of bx_in");
}

TEST(FieldReaders, TextArraysReadAlikeInEveryWrittenStyle) {
    scratch_dir dir;
    map_recipe recipe;
    recipe.kind = 2;
    recipe.n_cell = 3;
    recipe.ksym_xy = 1;
    const expected_lattice e = EXPECTED(recipe);
    const auto style_of = [](auto change) {
        map_style s;
        change(s);
        return s;
    };
    const std::vector<std::pair<std::string, map_style>> styles = {
        {"one group per line", style_of([](map_style& s) { s.per_line = 0; })},
        {"one value per line", style_of([](map_style& s) { s.per_line = 1; })},
        {"windows line ends", style_of([](map_style& s) { s.crlf = true; })},
        {"tabs", style_of([](map_style& s) { s.tabs = true; })},
        {"commas", style_of([](map_style& s) { s.commas = true; })},
        {"D exponents", style_of([](map_style& s) { s.d_exponent = true; })},
    };
    for (const auto& [label, style] : styles) {
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::text, dir.file("map_EM.txt"), style));
        LOAD(layout::text, "map_EM.txt", 0);
        EXPECT_EQ(field_grid.n_cell, 3) << label;
        EXPECT_EQ(field_grid.ksym_xy, 1) << label;
        EXPECT_LATTICE(e, label);
    }
    // The node list in the same styles (its node lines always hold one node).
    for (const auto& [label, style] : styles) {
        if (style.per_line != 5) continue;
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::nodes, dir.file("map_EM.nod"), style));
        LOAD(layout::nodes, "map_EM.nod", 0);
        EXPECT_LATTICE(e, "nodes, " + label);
    }
}

TEST(FieldReaders, NonFiniteValuesAreStoredAsRead) {
    scratch_dir dir;
    map_recipe recipe;
    map_style style;
    style.nan_nodes = {{3, 4, 5}};
    style.inf_nodes = {{25, 25, 201}};
    for (const layout l : {layout::binary, layout::text, layout::nodes}) {
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, l, dir.file("map_MW.dat"), style));
        LOAD(l, "map_MW.dat", 2);
        EXPECT_TRUE(std::isnan(field_grid.by_in[STORED_INDEX(3, 4, 5)]));
        EXPECT_EQ(field_grid.ez_in[STORED_INDEX(25, 25, 201)], INFINITY);
        EXPECT_TRUE(std::isfinite(field_grid.ex_in[STORED_INDEX(3, 4, 6)]));
    }
}

// A node list written here, not by the map writer: node lines "i j k" (or "i, -j, 2k" ...)
// show the order in which the reader takes them.
std::string NODE_LIST(int kind, const std::string& flags, const std::string& ranges, bool nodes) {
    std::ostringstream out;
    out << kind << "\n" << flags << "\n" << ranges;
    if (nodes) {
        for (int i = 1; i <= stored_nx; ++i)
            for (int j = 1; j <= stored_ny; ++j)
                for (int k = 1; k <= stored_nz; ++k) {
                    out << i << ' ' << j << ' ' << -k;
                    if (kind == 2) out << ' ' << 10 * i << ' ' << 10 * j << ' ' << 10 * k;
                    out << "  trailing text is skipped\n";
                }
    }
    return out.str();
}

TEST(NodeList, NodeLinesRunWithZFastestAndXSlowest) {
    scratch_dir dir;
    dir.write("order_EM.nod", NODE_LIST(0, "0 0 0", "-2 2 25\n-2 2 25\n-50 50 201\n", true));
    LOAD(layout::nodes, "order_EM.nod", 1);
    EXPECT_EQ(field_grid.field_kind, 0);
    const field_grid_record& g = field_grid;
    for (const auto& [i, j, k] : {std::tuple(1, 1, 1), std::tuple(2, 1, 1), std::tuple(1, 1, 2),
                                  std::tuple(7, 19, 133), std::tuple(25, 25, 201)}) {
        const std::size_t at = STORED_INDEX(i, j, k);
        EXPECT_EQ(g.ex_in[at], i);
        EXPECT_EQ(g.ey_in[at], j);
        EXPECT_EQ(g.ez_in[at], -k);
        EXPECT_EQ(g.bx_in[at], 0.0);
        EXPECT_EQ(g.bz_in[at], 0.0);
    }
    dir.write("order_MW.nod", NODE_LIST(2, "0 0 0", "-2 2 25\n-2 2 25\n-50 50 201\n", true));
    LOAD(layout::nodes, "order_MW.nod", 0);
    EXPECT_EQ(g.field_kind, 2);
    EXPECT_EQ(g.ez_in[STORED_INDEX(7, 19, 133)], -133);
    EXPECT_EQ(g.bx_in[STORED_INDEX(7, 19, 133)], 70);
    EXPECT_EQ(g.by_in[STORED_INDEX(7, 19, 133)], 190);
    EXPECT_EQ(g.bz_in[STORED_INDEX(7, 19, 133)], 1330);
}

TEST(NodeList, KindOneNodeStoresBAndZeroesE) {
    scratch_dir dir;
    std::string text = NODE_LIST(1, "1 1 1", "0 2 25\n0 2 25\n0 50 201\n", false);
    for (std::size_t n = 0; n < stored_nodes; ++n) text += n == 1 ? "1.5, 0, -2\n" : "0 0 0\n";
    dir.write("one_PMQ.nod", text);
    LOAD(layout::nodes, "one_PMQ.nod", 0);
    const std::size_t second = STORED_INDEX(1, 1, 2);
    EXPECT_EQ(field_grid.bx_in[second], 1.5);
    EXPECT_EQ(field_grid.by_in[second], 0.0);
    EXPECT_EQ(field_grid.bz_in[second], -2.0);
    EXPECT_EQ(field_grid.ex_in[second], 0.0);
    EXPECT_EQ(field_grid.ez_in[second], 0.0);
}

TEST(NodeList, HeaderValuesAreDerivedFromTheRanges) {
    scratch_dir dir;
    struct derivation {
        std::string flags, ranges;
        double d_elm, aper;
    };
    for (const derivation& c : {
             derivation{"1 0 1", "0 2 25\n-3 3 25\n0 50 201\n", 100.0, 2.0},
             derivation{"0 0 0", "-2 2 25\n-3 3 25\n-25 25 201\n", 50.0, 2.0},
             derivation{"2 0 7", "0 2 25\n-3 3 25\n0 50 201\n", 100.0, 2.0},  // any flag other than 0
             derivation{"0 1 0", "-1 3 25\n0 3 25\n0 50 201\n", 50.0, 2.0},
         }) {
        // Kind 3 reads no node line: the header alone is enough.
        dir.write("range_EM.nod", NODE_LIST(3, c.flags, c.ranges, false));
        LOAD(layout::nodes, "range_EM.nod", 0);
        EXPECT_EQ(field_grid.d_elm, c.d_elm) << c.flags;
        EXPECT_EQ(field_grid.aper, c.aper) << c.flags;
    }
    dir.write("range_EM.nod", NODE_LIST(3, "1 0 1", "0 2 25\n-3 3 25\n0 50 201\n", false));
    RESET_WITH_LEFTOVERS();
    field_grid.n_cell = 9;
    READ_FIELD_NODES("range_EM.nod");
    const field_grid_record& g = field_grid;
    EXPECT_EQ(g.n_cell, 0);
    EXPECT_EQ(g.xmws[0], 0.0);
    EXPECT_EQ(g.xmws[1], 1.0 / 12.0);
    EXPECT_EQ(g.xmws[24], 2.0);
    EXPECT_EQ(g.ymws[0], -3.0);
    EXPECT_EQ(g.ymws[12], 0.0);
    EXPECT_EQ(g.ymws[24], 3.0);
    EXPECT_EQ(g.zmws[1], 0.25);
    EXPECT_EQ(g.zmws[200], 50.0);
}

TEST(NodeList, KindOutsideZeroToTwoReadsNoNodeLine) {
    scratch_dir dir;
    dir.write("five_EM.nod", NODE_LIST(5, "0 0 0", "-2 2 25\n-2 2 25\n-50 50 201\n", false) + "not a number\n");
    LOAD(layout::nodes, "five_EM.nod", 0);
    EXPECT_EQ(field_grid.field_kind, 5);
    EXPECT_EQ(field_grid.aper, 2.0);
    // The arrays keep what they held (0.0 in a run).
    EXPECT_EQ(field_grid.ex_in[0], -777.0);
    EXPECT_EQ(field_grid.bz_in[stored_nodes - 1], -777.0);
}

TEST(NodeList, CountsOtherThanTheLatticeStopBeforeAnyNodeLine) {
    scratch_dir dir;
    for (const std::string ranges : {"0 2 25\n0 2 25\n0 50 200\n", "0 2 24\n0 2 25\n0 50 201\n",
                                     "0 2 25\n0 2 26\n0 50 201\n"}) {
        // No node lines follow: reading one would end in an input failure instead.
        dir.write("count_EM.nod", NODE_LIST(2, "1 1 1", ranges, false));
        const run_stop stop = STOP_OF([] { LOAD(layout::nodes, "count_EM.nod", 0); });
        EXPECT_EQ(stop.where, run_stop::channel::console);
        EXPECT_EQ(stop.message, msg_count_mismatch);
    }
    EXPECT_EQ(msg_count_mismatch.size(), 51u);
}

TEST(FieldReaders, LeadingBlanksOfTheNameAreNotPartOfTheFileOpened) {
    scratch_dir dir;
    map_recipe recipe;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::binary, dir.file("map_MW.bin")));
    LOAD(layout::binary, "   map_MW.bin", 2);
    EXPECT_EQ(field_grid.zmws[200], 50.0);
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::text, "  absent_MW.txt", 2); }),
              "absent_MW.txt: cannot open: No such file or directory");
}

TEST(FieldReaderFailure, DamagedTextNamesTheLineAndTheValue) {
    scratch_dir dir;
    map_recipe recipe;
    map_style style;
    style.pokes = {{4, 2, "1.2.3"}};  // the second value of line 4
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::text, dir.file("map_EM.txt"), style));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::text, "map_EM.txt", 2); }),
              "map_EM.txt:4: expected a number, found \"1.2.3\"");

    style.pokes = {{2, 1, "99999999999"}};
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::text, dir.file("map_EM.txt"), style));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::text, "map_EM.txt", 2); }),
              "map_EM.txt:2: integer out of range, found \"99999999999\"");

    style.pokes = {{1, 3, "2.5"}};  // n_cell must be an integer
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::text, dir.file("map_EM.txt"), style));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::text, "map_EM.txt", 2); }),
              "map_EM.txt:1: expected an integer, found \"2.5\"");

    // The text layout cut inside the last array.
    map_style cut;
    cut.per_line = 0;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::text, dir.file("cut_EM.txt"), cut));
    const std::string whole = READ_BYTES("cut_EM.txt");
    dir.write("cut_EM.txt", whole.substr(0, whole.size() - 100));
    const std::string message = INPUT_FAILURE_OF([] { LOAD(layout::text, "cut_EM.txt", 2); });
    EXPECT_TRUE(message.starts_with("cut_EM.txt:11: file ends early, expected bz_in value 12562")) << message;

    map_style few;
    few.node_lines = 1000;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::nodes, dir.file("few_EM.nod"), few));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::nodes, "few_EM.nod", 2); }),
              "few_EM.nod:1005: file ends early, expected node 1001 of 125625");
}

TEST(FieldReaderFailure, DamagedRecordFramingNamesTheRecord) {
    scratch_dir dir;
    map_recipe recipe;
    struct damage {
        int record;
        std::optional<std::int32_t> lead, trail;
        std::string message;
    };
    for (const damage& d : {
             damage{1, -4, -4, "record 1: negative record length -4"},
             damage{3, 100, 100, "record 3: record holds 100 bytes, xmws needs 200"},
             damage{2, std::nullopt, 13, "record 2: trailing record length 13 differs from leading length 12"},
             damage{6, 2000000000, std::nullopt, "record 6: record length 2000000000 runs past the end of the file"},
         }) {
        map_style style;
        style.record = d.record;
        style.lead = d.lead;
        style.trail = d.trail;
        ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::binary, dir.file("bad_MW.bin"), style));
        EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::binary, "bad_MW.bin", 2); }), "bad_MW.bin:" + d.message);
    }
    // Cut inside the body of the last record, and cut just after a whole record.
    map_style cut;
    cut.cut_at = mapgen::BINARY_RECORD_END(recipe, 11) - 50;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::binary, dir.file("cut_MW.bin"), cut));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::binary, "cut_MW.bin", 2); }),
              "cut_MW.bin:record 11: record length 1005000 runs past the end of the file");
    cut.cut_at = mapgen::BINARY_RECORD_END(recipe, 7) + 2;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::binary, dir.file("cut_MW.bin"), cut));
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::binary, "cut_MW.bin", 2); }),
              "cut_MW.bin:record 8: file ends before the record of ez_in");
    dir.write("empty_MW.bin", "");
    EXPECT_EQ(INPUT_FAILURE_OF([] { LOAD(layout::binary, "empty_MW.bin", 2); }),
              "empty_MW.bin:record 1: file ends before the record of d_elm, aper, n_cell");
}

// Rebuilds a clean binary file with extra bytes at the end of some record bodies.
std::string PADDED_RECORDS(const std::string& clean, const std::vector<int>& padded, std::size_t extra) {
    std::string out;
    std::size_t at = 0;
    for (int record = 1; at < clean.size(); ++record) {
        std::int32_t length;
        std::memcpy(&length, clean.data() + at, 4);
        std::string body = clean.substr(at + 4, static_cast<std::size_t>(length));
        if (std::find(padded.begin(), padded.end(), record) != padded.end()) body.append(extra, '\x5a');
        const auto new_length = static_cast<std::int32_t>(body.size());
        const std::string framing(reinterpret_cast<const char*>(&new_length), 4);
        out += framing + body + framing;
        at += 8 + static_cast<std::size_t>(length);
    }
    return out;
}

TEST(FieldReaders, LongerRecordsAreAcceptedAndTheirRestSkipped) {
    scratch_dir dir;
    map_recipe recipe;
    recipe.n_cell = 2;
    ASSERT_TRUE(mapgen::WRITE_FIELD_MAP(recipe, layout::binary, dir.file("clean_MW.bin")));
    dir.write("long_MW.bin", PADDED_RECORDS(READ_BYTES("clean_MW.bin"), {1, 2, 5, 6, 11}, 24));
    LOAD(layout::binary, "long_MW.bin", 2);
    EXPECT_EQ(field_grid.n_cell, 2);
    EXPECT_EQ(field_grid.ksym_xy, 0);
    EXPECT_LATTICE(EXPECTED(recipe), "padded records");
}

}  // namespace
}  // namespace orvex
