// bad_input_test.cpp: every bad input (hostile ones too: sparse holes of NUL bytes, UTF-16,
// kernel files, big-endian records) ends the run with one clear line and exit status 1, and
// nothing is written; the awkward inputs that must work (CRLF, CR alone, CR CR LF, a byte-order
// mark, tabs, D exponents, long mantissas, NaN and Infinity, blanks and control characters in
// names, tokens in directory names) give the page with exit status 0. Exports that would
// replace the map or the control file (named otherwise, through a link) or that have no
// positions to write are refused alike, every file left as it was.
//
// Each case runs the built program in a fresh temporary directory (program_run.h).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace {

using namespace orvex::mapgen;
using namespace orvex::e2e;
namespace fs = std::filesystem;

// ---- writing inputs ---------------------------------------------------------------------------

// The control file: two free lines, the name, format_flag and field_flag.
void CONTROL(const fs::path& dir, const std::string& name, const std::string& format, const std::string& flag,
             const std::string& eol = "\n") {
    WRITE_TEXT(dir / "plot_orvex_3dfields.dat",
               "test map" + eol + "written by the bad-input suite" + eol + name + eol + format + eol + flag + eol);
}

void MAP(const fs::path& p, const map_recipe& s, layout l, const map_style& st = {}) {
    ASSERT_TRUE(WRITE_FIELD_MAP(s, l, p.string(), st)) << p;
}

map_recipe KIND(int kind) {
    map_recipe s;
    s.kind = kind;
    return s;
}

map_style CUT(long long at) {
    map_style st;
    st.cut_at = at;
    return st;
}

map_style LENGTHS(int record, std::optional<std::int32_t> lead, std::optional<std::int32_t> trail) {
    map_style st;
    st.record = record;
    st.lead = lead;
    st.trail = trail;
    return st;
}

map_style POKE(int line, int value, const std::string& text) {
    map_style st;
    st.pokes.push_back({line, value, text});
    return st;
}

const std::string echo = " Input field file name = ";
const std::string msg_flag = " Not a valid field flag, use 0 for E or 1 for B \n";
const std::string msg_kind = "Not a valid ORVEX 3D field file, should be MWS, EMS, PMQ, RFQ\n";
const std::string msg_format = " Not a valid field format \n";
const std::string msg_counts = " Number of data points don't match internal tables \n";
const std::string msg_no_case = " Field kind and symmetry flags match no unfolding case \n";
const std::string who = "plot_orvex_3dfields: ";

// Files as another program (or a hostile user) leaves them.
void REWRITE(const fs::path& p, const std::function<std::string(std::string)>& change) {
    WRITE_TEXT(p, change(SLURP(p)));
}
std::string REPLACE_ALL(const std::string& text, const std::string& from, const std::string& to) {
    std::string out;
    std::size_t done = 0;
    for (std::size_t at = text.find(from); at != std::string::npos; done = at + from.size(), at = text.find(from, done))
        out.append(text, done, at - done).append(to);
    return out.append(text, done);
}
std::string AS_UTF16(const std::string& text) {
    std::string wide = "\xFF\xFE";
    for (const char c : text) wide += std::string{c, '\0'};
    return wide;
}
// text, then a hole of NUL bytes (costing no disk) up to 3 GiB.
void SPARSE(const fs::path& p, const std::string& text) {
    WRITE_TEXT(p, text);
    fs::resize_file(p, std::uintmax_t{3} << 30);
}

// ---- the bad inputs ---------------------------------------------------------------------------

// A case writes its inputs into dir; the run must end with status 1, exactly the expected
// standard output (or, with out_tail, the echo line first and output ending in out) and
// standard error, and leave dir as it was.
struct bad_case {
    std::string name;
    std::function<void(const fs::path&)> setup;
    std::string out;
    std::string err;
    bool out_tail = false;
    bool err_head = false;  // standard error begins with err (a note naming the run's directory follows)
    std::vector<std::string> args = {};  // the program's arguments; "{dir}" in err stands for the run's directory
};

void PrintTo(const bad_case& c, std::ostream* os) { *os << c.name; }

// Binary kind 0 map EM_map.bin, read as electric; the record table in bytes.
const map_recipe em0 = KIND(0);
long long END_OF(int record) { return BINARY_RECORD_END(em0, record); }

std::vector<bad_case> BAD_CASES() {
    std::vector<bad_case> c;
    const auto binary_em = [](const map_style& st) {
        return [st](const fs::path& d) {
            CONTROL(d, "EM_map.bin", "0", "0");
            MAP(d / "EM_map.bin", em0, layout::binary, st);
        };
    };
    const auto text_em = [](const map_style& st) {
        return [st](const fs::path& d) {
            CONTROL(d, "EM_map.txt", "1", "0");
            MAP(d / "EM_map.txt", em0, layout::text, st);
        };
    };
    const auto nodes_mw = [](map_recipe s, const map_style& st) {
        return [s, st](const fs::path& d) {
            CONTROL(d, "MW_nodes.txt", "2", "1");
            MAP(d / "MW_nodes.txt", s, layout::nodes, st);
        };
    };
    const std::string echo_bin = echo + "EM_map.bin\n", echo_txt = echo + "EM_map.txt\n",
                      echo_nodes = echo + "MW_nodes.txt\n";
    const std::string bin = who + "EM_map.bin:", txt = who + "EM_map.txt:", nodes = who + "MW_nodes.txt:";
    const std::string ctl = who + "plot_orvex_3dfields.dat";

    // The control file.
    c.push_back({"ControlFileMissing", [](const fs::path&) {}, "",
                 ctl + ": cannot open: No such file or directory\n", false, true});
    c.push_back({"ControlFileIsADirectory",
                 [](const fs::path& d) { fs::create_directory(d / "plot_orvex_3dfields.dat"); }, "",
                 ctl + ": is a directory, not a file\n"});
    c.push_back({"ControlFileEmpty", [](const fs::path& d) { WRITE_TEXT(d / "plot_orvex_3dfields.dat", ""); }, "",
                 ctl + ": file is empty, expected line 1\n"});
    c.push_back({"ControlFileOfTwoLines",
                 [](const fs::path& d) { WRITE_TEXT(d / "plot_orvex_3dfields.dat", "a\nb\n"); }, "",
                 ctl + ":2: file ends early, expected the field file name on line 3\n"});
    c.push_back({"ControlFileOfFourLines",
                 [](const fs::path& d) { WRITE_TEXT(d / "plot_orvex_3dfields.dat", "a\nb\nMW.bin\n0\n"); }, "",
                 ctl + ":4: file ends early, expected field_flag on line 5\n"});
    c.push_back({"ControlFileOfFourLinesWithoutLastLineEnd",
                 [](const fs::path& d) { WRITE_TEXT(d / "plot_orvex_3dfields.dat", "a\nb\nMW.bin\n0"); }, "",
                 ctl + ":4: file ends early, expected field_flag on line 5\n"});
    c.push_back({"ControlFileLineFiveBlank",
                 [](const fs::path& d) { WRITE_TEXT(d / "plot_orvex_3dfields.dat", "a\nb\nMW.bin\n0\n   \n\n"); },
                 "", ctl + ":6: file ends early, expected field_flag on line 5\n"});
    c.push_back({"ControlFileLettersOnLineFour", [](const fs::path& d) { CONTROL(d, "MW.bin", "binary", "0"); },
                 "", ctl + ":4: expected an integer, found \"binary\"\n"});
    c.push_back({"ControlFileRealOnLineFive", [](const fs::path& d) { CONTROL(d, "MW.bin", "0", "1.0"); }, "",
                 ctl + ":5: expected an integer, found \"1.0\"\n"});
    c.push_back({"ControlFileNameRunsIntoASparseHole",
                 [](const fs::path& d) { SPARSE(d / "plot_orvex_3dfields.dat", "a\nb\nMW_map.bin"); }, "",
                 ctl + ":3: holds a NUL byte; the file is not plain text\n"});
    c.push_back({"ControlFileInUtf16",
                 [](const fs::path& d) {
                     CONTROL(d, "MW_map.bin", "0", "0");
                     REWRITE(d / "plot_orvex_3dfields.dat", AS_UTF16);
                 },
                 "", ctl + ": the file is UTF-16 text; save it as plain text\n"});
    c.push_back({"ControlFileFormatBeyond32Bits",
                 [](const fs::path& d) { CONTROL(d, "MW.bin", "4294967296", "0"); }, "",
                 ctl + ":4: integer out of range, found \"4294967296\"\n"});
    c.push_back({"FieldFlagTwo", [](const fs::path& d) { CONTROL(d, "MW.bin", "0", "2"); }, msg_flag, ""});
    c.push_back({"FieldFlagMinusOne", [](const fs::path& d) { CONTROL(d, "MW.bin", "0", "-1"); }, msg_flag, ""});
    c.push_back({"FieldFlagCheckedBeforeTheName", [](const fs::path& d) { CONTROL(d, "map.bin", "0", "2"); },
                 msg_flag, ""});
    const std::string kind_rule = "MW, EM, PMQ or RFQ, in upper case, anywhere in the name (directory included)";
    c.push_back({"NameWithoutToken", [](const fs::path& d) { CONTROL(d, "field_map.bin", "0", "0"); }, msg_kind,
                 who + "note: the field file name \"field_map.bin\" holds no kind token: it must hold " + kind_rule + "\n"});
    c.push_back({"NameInLowerCase", [](const fs::path& d) { CONTROL(d, "map_mws.txt", "1", "0"); }, msg_kind,
                 who + "note: the field file name \"map_mws.txt\" holds no kind token: it must hold " + kind_rule +
                     "; it holds \"mw\", which is not upper case\n"});
    c.push_back({"NameLineEmpty", [](const fs::path& d) { CONTROL(d, "", "1", "0"); }, msg_kind,
                 who + "note: line 3 of plot_orvex_3dfields.dat gives no field file name; it must name the map and hold " +
                     kind_rule + "\n"});
    c.push_back({"FormatFlagThree",
                 [](const fs::path& d) {
                     CONTROL(d, "MW_map.bin", "3", "0");
                     MAP(d / "MW_map.bin", KIND(2), layout::binary);
                 },
                 echo + "MW_map.bin\n" + msg_format, ""});
    c.push_back({"FormatFlagMinusOne", [](const fs::path& d) { CONTROL(d, "MW_map.bin", "-1", "0"); },
                 echo + "MW_map.bin\n" + msg_format, ""});

    // The field file itself.
    c.push_back({"FieldFileMissing", [](const fs::path& d) { CONTROL(d, "EM_map.bin", "0", "0"); }, echo_bin,
                 bin.substr(0, bin.size() - 1) + ": cannot open: No such file or directory\n"});
    c.push_back({"FieldFileIsADirectory",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.bin", "0", "0");
                     fs::create_directory(d / "EM_map.bin");
                 },
                 echo_bin, bin.substr(0, bin.size() - 1) + ": is a directory, not a file\n"});
    c.push_back({"BinaryFieldFileEmpty", binary_em(CUT(0)), echo_bin,
                 bin + "record 1: file ends before the record of d_elm, aper, n_cell\n"});
    c.push_back({"TextFieldFileEmpty", text_em(CUT(0)), echo_txt,
                 txt.substr(0, txt.size() - 1) + ": file is empty, expected d_elm\n"});
    c.push_back({"NodeListEmpty", nodes_mw(KIND(2), CUT(0)), echo_nodes,
                 nodes.substr(0, nodes.size() - 1) + ": file is empty, expected field_kind\n"});

    // A binary map cut at each record boundary, and inside records.
    const char* contents[] = {"d_elm, aper, n_cell", "ksym_yz, ksym_xz, ksym_xy", "xmws", "ymws", "zmws",
                              "ex_in", "ey_in", "ez_in"};
    for (int r = 1; r < 8; ++r) {
        c.push_back({"BinaryCutAfterRecord" + std::to_string(r), binary_em(CUT(END_OF(r))), echo_bin,
                     bin + "record " + std::to_string(r + 1) + ": file ends before the record of " +
                         contents[r] + "\n"});
    }
    const long long bodies[] = {20, 12, 200, 200, 1608, 1005000, 1005000, 1005000};
    for (int r = 1; r <= 8; ++r) {
        c.push_back({"BinaryCutInsideRecord" + std::to_string(r),
                     binary_em(CUT(END_OF(r - 1) + 4 + bodies[r - 1] / 2)), echo_bin,
                     bin + "record " + std::to_string(r) + ": record length " + std::to_string(bodies[r - 1]) +
                         " runs past the end of the file\n"});
    }
    c.push_back({"BinaryCutInsideLeadingLength", binary_em(CUT(END_OF(3) + 2)), echo_bin,
                 bin + "record 4: file ends before the record of ymws\n"});
    c.push_back({"BinaryCutInsideTrailingLength", binary_em(CUT(END_OF(8) - 1)), echo_bin,
                 bin + "record 8: record length 1005000 runs past the end of the file\n"});
    c.push_back({"BinaryTrailingLengthDiffers", binary_em(LENGTHS(5, std::nullopt, 1600)), echo_bin,
                 bin + "record 5: trailing record length 1600 differs from leading length 1608\n"});
    c.push_back({"BinaryLengthMaximal", binary_em(LENGTHS(1, 0x7FFFFFFF, std::nullopt)), echo_bin,
                 bin + "record 1: record length 2147483647 runs past the end of the file\n"});
    c.push_back({"BinaryLengthMaximalInLastRecord", binary_em(LENGTHS(8, 0x7FFFFFFF, 0x7FFFFFFF)), echo_bin,
                 bin + "record 8: record length 2147483647 runs past the end of the file\n"});
    c.push_back({"BinaryLengthNegative", binary_em(LENGTHS(2, -12, -12)), echo_bin,
                 bin + "record 2: negative record length -12\n"});
    c.push_back({"BinaryBigEndianLength", binary_em(LENGTHS(1, 0x14000000, std::nullopt)), echo_bin,
                 bin + "record 1: record length 335544320 runs past the end of the file; the file looks big-endian\n"});
    c.push_back({"BinaryLengthMostNegative", binary_em(LENGTHS(6, -2147483647 - 1, std::nullopt)), echo_bin,
                 bin + "record 6: negative record length -2147483648\n"});
    // Leading length 8 on a 12-byte body: the record is shorter than the flags it must hold.
    c.push_back({"BinaryRecordShorterThanItsValues", binary_em(LENGTHS(2, 8, std::nullopt)), echo_bin,
                 bin + "record 2: record holds 8 bytes, ksym_yz, ksym_xz, ksym_xy needs 12\n"});
    c.push_back({"BinaryPositiveNCellNeedsSixRecords",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.bin", "0", "0");
                     map_recipe s = KIND(0);
                     s.n_cell = 7;  // says both fields, holds three arrays
                     MAP(d / "EM_map.bin", s, layout::binary);
                 },
                 echo_bin, bin + "record 9: file ends before the record of bx_in\n"});
    c.push_back({"TextMapGivenAsBinary",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.txt", "0", "0");
                     MAP(d / "EM_map.txt", em0, layout::text);
                 },
                 echo_txt,
                 // "100 " read as a little-endian length: 0x20303031.
                 txt + "record 1: record length 540028977 runs past the end of the file\n"});
    c.push_back({"BinaryMapGivenAsText",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.bin", "1", "0");
                     MAP(d / "EM_map.bin", em0, layout::binary);
                 },
                 echo_bin,
                 // Named as binary with what line 4 says; none of its bytes quoted.
                 bin.substr(0, bin.size() - 1) + ": the file looks binary, not text: line 4 of the control file says 1, "
                                                  "the text array layout; a map in the binary array layout needs 0 there\n"});
    c.push_back({"NodeListGivenAsBinary",
                 [](const fs::path& d) {
                     CONTROL(d, "MW_nodes.txt", "0", "0");
                     MAP(d / "MW_nodes.txt", KIND(2), layout::nodes);
                 },
                 echo_nodes,
                 // "2\n0 " read as a little-endian length: 0x20300A32.
                 nodes + "record 1: record length 540019250 runs past the end of the file\n"});

    // Text where a number is expected.
    c.push_back({"TextLetterInsteadOfAReal", text_em(POKE(1, 2, "x")), echo_txt,
                 txt + "1: expected a number, found \"x\"\n"});
    c.push_back({"TextTwoDecimalPoints", text_em(POKE(3, 4, "1.2.3")), echo_txt,
                 txt + "3: expected a number, found \"1.2.3\"\n"});
    c.push_back({"TextDoubleSign", text_em(POKE(2, 2, "--5")), echo_txt,
                 txt + "2: expected an integer, found \"--5\"\n"});
    c.push_back({"TextLonePlusAsAReal", text_em(POKE(100, 3, "+")), echo_txt,
                 txt + "100: expected a number, found \"+\"\n"});
    c.push_back({"TextLonePlusAsAnInteger", text_em(POKE(1, 3, "+")), echo_txt,
                 txt + "1: expected an integer, found \"+\"\n"});
    c.push_back({"TextIntegerBeyond32Bits", text_em(POKE(1, 3, "2147483648")), echo_txt,
                 txt + "1: integer out of range, found \"2147483648\"\n"});
    c.push_back({"TextLongNumberBeyondTheDoubleRange", text_em(POKE(60000, 5, std::string(600, '9'))), echo_txt,
                 txt + "60000: number out of range, found \"" + std::string(40, '9') + "...\"\n"});
    c.push_back({"TextMapHeaderThenASparseHole",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.txt", "1", "0");
                     SPARSE(d / "EM_map.txt", "100 2 0 ");
                 },
                 echo_txt, txt + "1: holds a NUL byte; the file is not plain text\n"});
    c.push_back({"BinaryMapGivenAsNodeList",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.bin", "2", "0");
                     MAP(d / "EM_map.bin", em0, layout::binary);
                 },
                 echo_bin,
                 bin.substr(0, bin.size() - 1) + ": the file looks binary, not text: line 4 of the control file says 2, "
                                                  "the node list layout; a map in the binary array layout needs 0 there\n"});
    c.push_back({"TextMapInUtf16",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.txt", "1", "0");
                     MAP(d / "EM_map.txt", em0, layout::text);
                     REWRITE(d / "EM_map.txt", AS_UTF16);
                 },
                 echo_txt, txt.substr(0, txt.size() - 1) + ": the file is UTF-16 text; save it as plain text\n"});
    c.push_back({"TextMapFromAKernelFileOfSizeZero",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.txt", "1", "0");
                     fs::create_symlink("/proc/self/status", d / "EM_map.txt");
                 },
                 echo_txt, txt + "1: expected a number, found \"Name:\"\n"});
    c.push_back({"TextRealBeyondTheDoubleRange", text_em(POKE(60000, 5, "1e999")), echo_txt,
                 txt + "60000: number out of range, found \"1e999\"\n"});
    c.push_back({"TextLetterInTheLastValue",
                 text_em(POKE(2 + 5 + 5 + 41 + 3 * 25125, 5, "1.0Q")), echo_txt,
                 txt + std::to_string(2 + 5 + 5 + 41 + 3 * 25125) + ": expected a number, found \"1.0Q\"\n"});
    c.push_back({"TextMapCutInsideAGroup", text_em(CUT(300)), echo_txt,
                 txt + "6: file ends early, expected xmws value 21 of 25\n"});
    c.push_back({"TextMapCutBeforeTheLastArray",
                 [](const fs::path& d) {
                     CONTROL(d, "EM_map.txt", "1", "0");
                     map_style st;
                     st.per_line = 0;  // one line per group: the file ends after line 7
                     MAP(d / "EM_map.txt", em0, layout::text, st);
                     const std::string t = SLURP(d / "EM_map.txt");
                     const std::size_t seventh = [&] {
                         std::size_t at = 0;
                         for (int n = 0; n < 7; ++n) at = t.find('\n', at) + 1;
                         return at;
                     }();
                     WRITE_TEXT(d / "EM_map.txt", t.substr(0, seventh));
                 },
                 echo_txt, txt + "7: file ends early, expected ez_in value 1 of 125625\n"});

    // The node list.
    const auto counts = [](int nx, int ny, int nz) {
        map_recipe s = KIND(2);
        s.nx = nx, s.ny = ny, s.nz = nz;
        return s;
    };
    c.push_back({"NodeListWrongCountInX", nodes_mw(counts(24, 25, 201), {}), echo_nodes + msg_counts, ""});
    c.push_back({"NodeListWrongCountInY", nodes_mw(counts(25, 26, 201), {}), echo_nodes + msg_counts, ""});
    c.push_back({"NodeListWrongCountInZ", nodes_mw(counts(25, 25, 200), {}), echo_nodes + msg_counts, ""});
    c.push_back({"NodeListNegativeCounts", nodes_mw(counts(-25, -25, -201), {}), echo_nodes + msg_counts, ""});
    c.push_back({"NodeListZeroCount", nodes_mw(counts(25, 0, 201), {}), echo_nodes + msg_counts, ""});
    {
        map_style st;
        st.node_lines = 10;
        c.push_back({"NodeListEndsEarly", nodes_mw(KIND(2), st), echo_nodes,
                     nodes + "15: file ends early, expected node 11 of 125625\n"});
        st.node_lines = 125624;
        c.push_back({"NodeListEndsOneNodeEarly", nodes_mw(KIND(2), st), echo_nodes,
                     nodes + "125629: file ends early, expected node 125625 of 125625\n"});
    }
    c.push_back({"NodeListCutInsideANode", nodes_mw(KIND(0), CUT(200)), echo_nodes,
                 nodes + "8: file ends early, expected node 4 of 125625\n"});
    c.push_back({"NodeListRealCount", nodes_mw(KIND(2), POKE(4, 3, "25.0")), echo_nodes,
                 nodes + "4: expected an integer, found \"25.0\"\n"});
    c.push_back({"NodeListKindNotAnInteger", nodes_mw(KIND(2), POKE(1, 1, "two")), echo_nodes,
                 nodes + "1: expected an integer, found \"two\"\n"});
    // Line 1000 holds node 995; with five values it takes the sixth from the next line, and
    // every node after it is read a line late.
    c.push_back({"NodeListNodeRunsShort", nodes_mw(KIND(2), POKE(1000, 0, "1 2 3 4 5")), echo_nodes,
                 nodes + "1000: node 995 of 125625 has 5 values on its line, 6 needed\n"});
    c.push_back({"NodeListLetterInANode", nodes_mw(KIND(2), POKE(1000, 6, "1.0e+0x")), echo_nodes,
                 nodes + "1000: expected a number, found \"1.0e+0x\"\n"});

    // Maps that load but match no unfolding case: the run stops before the page.
    const auto flags = [](int yz, int xz, int xy) {
        map_recipe s = KIND(2);
        s.ksym_yz = yz, s.ksym_xz = xz, s.ksym_xy = xy;
        return s;
    };
    c.push_back({"FlagsSumBeyondThree", nodes_mw(flags(4, 0, 0), {}), msg_no_case, "", true});
    c.push_back({"FlagsSumNegative", nodes_mw(flags(-1, 0, 0), {}), msg_no_case, "", true});
    c.push_back({"FlagsSumOneWithoutAOne", nodes_mw(flags(2, -1, 0), {}), msg_no_case, "", true});
    c.push_back({"FlagTwoSummingToTwo", nodes_mw(flags(2, 0, 0), {}), msg_no_case, "", true});
    c.push_back({"FlagMinusOneSummingToOne", nodes_mw(flags(1, 1, -1), {}), msg_no_case, "", true});
    {
        map_recipe s = KIND(2);
        s.node_kind = 5;
        c.push_back({"NodeListKindFive", nodes_mw(s, {}), msg_no_case, "", true});
    }

    // Exports that would replace what the run reads, or that have no positions to write.
    const auto text_map_csv = [](const fs::path& d) { CONTROL(d, "EM_field.csv", "1", "0"), MAP(d / "EM_field.csv", em0, layout::text); };
    const std::string refused = who + "cannot write {dir}/";
    c.push_back({"ExportOverTheMapItself", text_map_csv, "", refused + "EM_field.csv: it is the map being read (EM_field.csv)\n",
                 false, false, {"--export", "EM_field.csv"}});
    c.push_back({"ExportOverTheMapThroughALink",
                 [binary_em](const fs::path& d) {
                     binary_em({})(d);
                     fs::create_symlink("EM_map.bin", d / "EM_link.h5");
                 },
                 "", refused + "EM_link.h5: it is the map being read (EM_map.bin)\n", false, false, {"--export", "EM_link.h5"}});
    c.push_back({"ExportOverTheControlFileThroughAHardLink",
                 [binary_em](const fs::path& d) {
                     binary_em({})(d);
                     fs::create_hard_link(d / "plot_orvex_3dfields.dat", d / "control.VTI");
                 },
                 "", refused + "control.VTI: it is the control file being read (plot_orvex_3dfields.dat)\n", false, false,
                 {"--export", "control.VTI"}});
    map_style nan_x;
    nan_x.defects.coordinates.push_back({0, 1, std::numeric_limits<double>::quiet_NaN()});
    for (const std::string file : {"m.h5", "m.vti", "m.csv"})
        c.push_back({"ExportOfAMapWithoutPositionsTo" + file.substr(2), text_em(nan_x), "",
                     who + "note: 1 x coordinate is not a number (node 1)\n" + refused + file +
                         ": the map's x coordinates are not finite (a first node, last node or spacing that is NaN or "
                         "infinite): its nodes have no positions\n",
                     false, false, {"--export", file}});
    return c;
}

// What a directory holds, each entry with its inode and size: a file replaced or rewritten shows.
std::map<std::string, std::pair<ino_t, off_t>> SNAPSHOT(const fs::path& dir) {
    std::map<std::string, std::pair<ino_t, off_t>> held;
    for (const std::string& name : ENTRIES(dir)) {
        struct stat st {};
        ::lstat((dir / name).c_str(), &st);
        held[name] = {st.st_ino, st.st_size};
    }
    return held;
}

// A case runs in a fresh directory of its own ("run"), with its output captured beside it.
class BadInput : public run_directory<::testing::TestWithParam<bad_case>> {};

TEST_P(BadInput, EndsWithOneLineAndStatusOneAndWritesNothing) {
    const bad_case& c = GetParam();
    c.setup(dir);
    const auto before = SNAPSHOT(dir);
    run_setup setup;
    setup.command.insert(setup.command.end(), c.args.begin(), c.args.end());
    const run_result r = RUN_PROGRAM(dir, capture, {}, setup);
    ASSERT_FALSE(r.timed_out) << "the run hung";
    EXPECT_EQ(r.status, 1) << "stdout:\n" << r.out << "stderr:\n" << r.err;
    if (c.out_tail) {
        EXPECT_TRUE(r.out.ends_with(c.out)) << r.out;
        EXPECT_TRUE(r.out.starts_with(echo)) << r.out;
    } else {
        EXPECT_EQ(r.out, c.out);
    }
    const std::string err = REPLACE_ALL(c.err, "{dir}", dir.string());
    if (c.err_head) {
        EXPECT_TRUE(r.err.starts_with(err)) << r.err;
    } else {
        EXPECT_EQ(r.err, err);
    }
    EXPECT_EQ(SNAPSHOT(dir), before) << "the run left a file behind or changed one";
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(BAD_CASES()),
                         [](const ::testing::TestParamInfo<bad_case>& info) { return info.param.name; });

// ---- inputs that must work --------------------------------------------------------------------

struct good_case {
    std::string name;
    std::function<void(const fs::path&)> setup;
    std::string echoed;  // the name as the echo shows it
};

void PrintTo(const good_case& c, std::ostream* os) { *os << c.name; }

std::vector<good_case> GOOD_CASES() {
    std::vector<good_case> c;
    const auto text_style = [](const std::string& name, int format, const map_style& st, const std::string& eol) {
        return [=](const fs::path& d) {
            CONTROL(d, name, std::to_string(format), "1", eol);
            map_recipe s = KIND(2);
            s.ksym_yz = 1, s.ksym_xy = 1;
            MAP(d / name, s, format == 1 ? layout::text : layout::nodes, st);
        };
    };
    map_style crlf;
    crlf.crlf = true;
    map_style tabs;
    tabs.tabs = true;
    map_style commas;
    commas.commas = true;
    map_style dexp;
    dexp.d_exponent = true;
    map_style nonfinite;
    nonfinite.nan_nodes = {{1, 1, 1}, {3, 4, 5}};
    nonfinite.inf_nodes = {{25, 25, 201}};
    nonfinite.neg_inf_nodes = {{2, 1, 1}};
    c.push_back({"TextArraysWithCrlf", text_style("MW_map.txt", 1, crlf, "\r\n"), "MW_map.txt"});
    c.push_back({"NodeListWithCrlf", text_style("MW_map.txt", 2, crlf, "\r\n"), "MW_map.txt"});
    c.push_back({"TextArraysWithTabs", text_style("MW_map.txt", 1, tabs, "\n"), "MW_map.txt"});
    c.push_back({"NodeListWithCommas", text_style("MW_map.txt", 2, commas, "\n"), "MW_map.txt"});
    c.push_back({"TextArraysWithDExponents", text_style("MW_map.txt", 1, dexp, "\n"), "MW_map.txt"});
    c.push_back({"NodeListWithDExponents", text_style("MW_map.txt", 2, dexp, "\n"), "MW_map.txt"});
    c.push_back({"TextArraysWithNanAndInfinity", text_style("MW_map.txt", 1, nonfinite, "\n"), "MW_map.txt"});
    c.push_back({"NodeListWithNanAndInfinity", text_style("MW_map.txt", 2, nonfinite, "\n"), "MW_map.txt"});
    c.push_back({"BinaryWithNanAndInfinity",
                 [nonfinite](const fs::path& d) {
                     CONTROL(d, "MW_map.bin", "0", "0");
                     MAP(d / "MW_map.bin", KIND(2), layout::binary, nonfinite);
                 },
                 "MW_map.bin"});
    c.push_back({"NameWithBlanksInside",
                 [](const fs::path& d) {
                     CONTROL(d, "my MW map 1.bin   ", "0", "0");
                     MAP(d / "my MW map 1.bin", KIND(2), layout::binary);
                 },
                 "my MW map 1.bin"});
    c.push_back({"NameWithLeadingBlanks",
                 [](const fs::path& d) {
                     CONTROL(d, "   MW_map.bin", "0", "0");
                     MAP(d / "MW_map.bin", KIND(2), layout::binary);
                 },
                 "   MW_map.bin"});
    c.push_back({"TokenOnlyInADirectoryName",
                 [](const fs::path& d) {
                     // "EM" inside SYSTEM: the name is accepted and the map read as magnetic.
                     fs::create_directory(d / "SYSTEM");
                     CONTROL(d, "SYSTEM/solenoid.bin", "0", "1");
                     MAP(d / "SYSTEM" / "solenoid.bin", KIND(1), layout::binary);
                 },
                 "SYSTEM/solenoid.bin"});
    c.push_back({"ControlFileWithCrlfAndExtraValues",
                 [](const fs::path& d) {
                     WRITE_TEXT(d / "plot_orvex_3dfields.dat",
                                "title\r\n\r\nMW_map.bin\r\n\r\n  0, 1 trailing words\r\n0\r\nnever read\r\n");
                     MAP(d / "MW_map.bin", KIND(2), layout::binary);
                 },
                 "MW_map.bin"});
    c.push_back({"BinaryRecordsLongerThanTheirValues",
                 [](const fs::path& d) {
                     CONTROL(d, "MW_map.bin", "0", "0");
                     map_style st;
                     st.pad_record = 2;  // flags record of 12 + 20 bytes: the rest is skipped
                     st.pad_bytes = 20;
                     MAP(d / "MW_map.bin", KIND(2), layout::binary, st);
                 },
                 "MW_map.bin"});
    // The map and the control file as written, then changed alike.
    const auto retyped = [text_style](int format, const std::function<std::string(std::string)>& change) {
        return [=](const fs::path& d) {
            text_style("MW_map.txt", format, {}, "\n")(d);
            REWRITE(d / "MW_map.txt", change);
            REWRITE(d / "plot_orvex_3dfields.dat", change);
        };
    };
    const auto with_bom = [](std::string t) { return "\xEF\xBB\xBF" + t; };
    const auto old_mac = [](std::string t) { return REPLACE_ALL(t, "\n", "\r"); };
    const auto doubled_cr = [](std::string t) { return REPLACE_ALL(t, "\n", "\r\r\n"); };
    c.push_back({"TextArraysAndControlFileWithAByteOrderMark", retyped(1, with_bom), "MW_map.txt"});
    c.push_back({"TextArraysWithOldMacLineEnds", retyped(1, old_mac), "MW_map.txt"});
    c.push_back({"NodeListWithCrCrLfLineEnds", retyped(2, doubled_cr), "MW_map.txt"});
    {
        // 600-digit mantissas, with and without a D exponent, in the header and the data.
        map_style st = POKE(1, 1, "1." + std::string(600, '0') + "D+02");
        st.pokes.push_back({100, 2, "0." + std::string(600, '3')});
        c.push_back({"TextArraysWithLongMantissas", text_style("MW_map.txt", 1, st, "\n"), "MW_map.txt"});
    }
    c.push_back({"NameWithControlCharacters",
                 [](const fs::path& d) {
                     CONTROL(d, "MW\x1b[2J map\x7f\xc2\x9b.bin", "0", "0");
                     MAP(d / "MW\x1b[2J map\x7f\xc2\x9b.bin", KIND(2), layout::binary);
                 },
                 "MW\\x1B[2J map\\x7F\\xC2\\x9B.bin"});
    c.push_back({"BinaryWithTrailingRecords",
                 [](const fs::path& d) {
                     // A kind 2 map read through an "EM" name with field_flag 0 and n_cell 0:
                     // three electric records are read, the three magnetic ones never.
                     CONTROL(d, "EM_both.bin", "0", "0");
                     MAP(d / "EM_both.bin", KIND(2), layout::binary);
                 },
                 "EM_both.bin"});
    return c;
}

class GoodInput : public run_directory<::testing::TestWithParam<good_case>> {};

TEST_P(GoodInput, GivesThePageWithStatusZero) {
    const good_case& c = GetParam();
    c.setup(dir);
    std::set<std::string> expected = ENTRIES(dir);
    const run_result r = RUN_PROGRAM(dir, capture);
    ASSERT_FALSE(r.timed_out) << "the run hung";
    EXPECT_EQ(r.status, 0) << "stdout:\n" << r.out << "stderr:\n" << r.err;
    EXPECT_TRUE(r.out.starts_with(echo + c.echoed + "\n")) << r.out;
    EXPECT_NE(r.out.find(" X=l and Y=l: i, j ="), std::string::npos) << "the listing did not reach the last line";
    expected.insert("plot_orvex_3dfields.png");
    EXPECT_EQ(ENTRIES(dir), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, GoodInput, ::testing::ValuesIn(GOOD_CASES()),
                         [](const ::testing::TestParamInfo<good_case>& info) { return info.param.name; });

// ---- cases checked beyond the table --------------------------------------------------------

class Awkward : public run_directory<> {};

// The same map in CRLF, tabs and D exponents lists exactly what the plain file lists.
TEST_F(Awkward, StyledTextListsLikeThePlainFile) {
    map_recipe s = KIND(2);
    s.ksym_xz = 1;
    s.d_elm = 123.456;
    s.aper = 1.25;
    s.n_cell = 3;
    CONTROL(dir, "MW_map.txt", "1", "0");
    MAP(dir / "MW_map.txt", s, layout::text);
    const run_result plain = RUN_PROGRAM(dir, capture);
    ASSERT_EQ(plain.status, 0) << plain.err;
    fs::remove(dir / "plot_orvex_3dfields.png");

    map_style st;
    st.crlf = st.tabs = st.d_exponent = true;
    st.per_line = 0;
    CONTROL(dir, "MW_map.txt", "1", "0", "\r\n");
    MAP(dir / "MW_map.txt", s, layout::text, st);
    const run_result styled = RUN_PROGRAM(dir, capture);
    EXPECT_EQ(styled.status, 0) << styled.err;
    EXPECT_EQ(styled.out, plain.out);
    EXPECT_NE(plain.out.find("123.456000000000"), std::string::npos) << plain.out;
}

// A FIFO in place of the field file is refused at once rather than waited on.
TEST_F(Awkward, FieldFileThatIsAFifoDoesNotHang) {
    CONTROL(dir, "MW_pipe.bin", "0", "0");
    ASSERT_EQ(::mkfifo((dir / "MW_pipe.bin").c_str(), 0644), 0);
    const run_result r = RUN_PROGRAM(dir, capture);
    ASSERT_FALSE(r.timed_out);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, who + "MW_pipe.bin: is not a regular file\n");
}

// Without a control file the run says where it looked and where to read how to run it, started
// in the directory or naming it.
TEST_F(Awkward, NoControlFileNamesTheDirectoryAndPointsAtHelp) {
    const std::string note = who + "note: there is no plot_orvex_3dfields.dat in " + fs::canonical(dir).string() +
                             ": run the program in the directory that holds it, or name that directory "
                             "(plot_orvex_3dfields DIR); plot_orvex_3dfields --help says more\n";
    const std::string failure = who + "plot_orvex_3dfields.dat: cannot open: No such file or directory\n";
    EXPECT_EQ(RUN_PROGRAM(dir, capture).err, failure + note);
    const std::string named = "cd '" + capture.string() + "' && env -u DISPLAY -u WAYLAND_DISPLAY '" ORVEX_PROGRAM "' '" +
                              dir.string() + "' > out 2> err < /dev/null";
    EXPECT_NE(std::system(named.c_str()), 0);
    EXPECT_EQ(SLURP(capture / "err"), failure + note);
}

// A control file that cannot be read (not owner-readable) ends the run with its reason; skipped
// where permission bits do not bind (running as root).
TEST_F(Awkward, UnreadableControlFile) {
    CONTROL(dir, "MW_map.bin", "0", "0");
    fs::permissions(dir / "plot_orvex_3dfields.dat", fs::perms::none);
    if (::access((dir / "plot_orvex_3dfields.dat").c_str(), R_OK) == 0)
        GTEST_SKIP() << "an unreadable control file cannot be made here (as root, permission bits do not bind)";
    const run_result r = RUN_PROGRAM(dir, capture);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, who + "plot_orvex_3dfields.dat: cannot open: Permission denied\n");
}

// The map-writer program itself writes the damage the table uses (the CLI path of the tests).
TEST_F(Awkward, MapWriterProgramWritesDamagedFiles) {
    const std::string cmd = std::string("'") + ORVEX_MAP_WRITER + "' --layout binary --kind 0 --record 3 --trail 7 '" +
                            (dir / "EM_map.bin").string() + "'";
    ASSERT_EQ(RUN_SHELL(cmd), 0);
    CONTROL(dir, "EM_map.bin", "0", "0");
    const run_result r = RUN_PROGRAM(dir, capture);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, who + "EM_map.bin:record 3: trailing record length 7 differs from leading length 200\n");
    const std::string bad = std::string("'") + ORVEX_MAP_WRITER + "' --layout text --record 3 --lead 1 x 2>/dev/null";
    EXPECT_NE(RUN_SHELL(bad), 0);
}

}  // namespace
