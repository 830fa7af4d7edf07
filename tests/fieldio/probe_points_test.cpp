// probe_points_test.cpp: the POINTS of --probe: the two spelled-out forms and points files as
// other programs and hostile users leave them (CRLF, CR alone, a byte-order mark, quoted names,
// comments, no last line end; NUL holes, UTF-16, directories, FIFOs, overlong lines), each bad
// one refused with its status and one line naming the place.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <optional>
#include <string>

#include "fieldio/probe_points.h"
#include "scratch_dir.h"

namespace orvex {
namespace {

using testing_support::scratch_dir;

// A table of the files that must read: line ends, marks, quotes, comments, carried columns.
TEST(ProbePoints, FilesReadWhateverTheirLineEndsAndCarryTheirOtherColumns) {
    const scratch_dir dir;
    const struct { const char* name; std::string text; } files[] = {
        {"lf.csv", "# measured 2024\nid,x,y,z,Bx\n#\np1,0.5,-1,2,7.25\n\np2,1,2,3,-0\n"},
        {"crlf.csv", "\xEF\xBB\xBFid,x,y,z,Bx\r\np1,0.5,-1,2,7.25\r\np2,1,2,3,-0"},
        {"cr.csv", "id,x,y,z,Bx\rp1,0.5,-1,2,7.25\rp2,1,2,3,-0\r"},
        {"quoted.csv", "\"id\",\"x\",\"y\",\"z\",\"Bx\"\n\"p1\",0.5,-1,2,7.25\n\"p2\",\"1\",2,3,-0\n"},
    };
    for (const auto& f : files) {
        probe_points p;
        std::string why;
        ASSERT_EQ(MAKE_PROBE_POINTS(dir.write(f.name, f.text), p, why), 0) << f.name << ": " << why;
        ASSERT_EQ(p.at.size(), 2u) << f.name;
        EXPECT_EQ(p.at[0], (point3{0.5, -1.0, 2.0})) << f.name;
        EXPECT_EQ(p.at[1], (point3{1.0, 2.0, 3.0})) << f.name;
        // Bx would repeat the probe's own column.
        EXPECT_EQ(p.carried_names, (std::vector<std::string>{"id", "file_Bx"})) << f.name;
        EXPECT_EQ(CARRIED_CELLS(p, 0), ",p1,7.25") << f.name;
        EXPECT_EQ(CARRIED_CELLS(p, 1), ",p2,-0") << f.name;
    }
    probe_points p;
    std::string why;
    // nan and inf read: such points have no value.
    ASSERT_EQ(MAKE_PROBE_POINTS(dir.write("nan.csv", "x,y,z\nnan,0,inf\n"), p, why), 0) << why;
    EXPECT_TRUE(std::isnan(p.at[0][0]) && std::isinf(p.at[0][2]));
}

struct bad_points {
    const char* name;
    std::string argument;  // a file name when file is set
    std::optional<std::string> file;
    int status;
    std::string why;  // what the one line holds
};

void PrintTo(const bad_points& b, std::ostream* os) { *os << b.name; }

class BadPoints : public ::testing::TestWithParam<bad_points> {};

TEST_P(BadPoints, AreRefusedWithTheirStatusAndOneLine) {
    const bad_points& b = GetParam();
    const scratch_dir dir;
    if (b.file) dir.write(b.argument, *b.file);
    probe_points p;
    std::string why;
    EXPECT_EQ(MAKE_PROBE_POINTS(b.argument, p, why), b.status) << why;
    EXPECT_NE(why.find(b.why), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BadPoints,
    ::testing::Values(
        bad_points{"Empty", "", std::nullopt, 2, "an empty argument names no points"},
        bad_points{"LineTwoParts", "line:0,0,0:1,1,1", std::nullopt, 2, "a line has three parts"},
        bad_points{"LineHalfPoint", "line:0,0,0:1,1,1:2.5", std::nullopt, 2, "N is not a whole number: \"2.5\""},
        bad_points{"CircleNegativeRadius", "circle:-1,0:4", std::nullopt, 2, "the radius R is negative"},
        bad_points{"FileEmpty", "empty.csv", "", 2, "empty.csv: the file is empty"},
        bad_points{"FileWithoutRows", "h.csv", "x,y,z\n", 2, "h.csv: the file holds no points"},
        bad_points{"FileWithoutZ", "nz.csv", "x,y,Z\n1,2,3\n", 2, "nz.csv:1: the header row names no column z (it names x, y, Z)"},
        bad_points{"FileNamesXTwice", "xx.csv", "x,y,x,z\n", 2, "xx.csv:1: the header row names x twice"},
        bad_points{"FileShortRow", "s.csv", "x,y,z\n1,2,3\n1,2\n", 2, "s.csv:3: the row has 2 cells, the header row names 3"},
        bad_points{"FileBadNumber", "n.csv", "#\nx,y,z\n1,0.5cm,3\n", 2, "n.csv:3: y is not a number: \"0.5cm\""},
        bad_points{"FileQuotedComma", "q.csv", "x,y,z,n\n1,2,3,\"a,b\"\n", 2, "q.csv:2: a cell holds a double quote"},
        bad_points{"FileMissing", "none.csv", std::nullopt, 1, "none.csv: cannot open: No such file or directory"},
        bad_points{"FileNulByte", "nul.csv", std::string("x,y,z\n1,2,\0\n", 12), 1, "nul.csv:2: holds a NUL byte"},
        bad_points{"FileUtf16", "w.csv", std::string("\xFF\xFEx\0,\0y\0", 8), 1, "the file is UTF-16 text"},
        bad_points{"FileBinary", "b.csv", std::string("\x01\x02\x03\x04xyz", 7), 1, "b.csv: is not a text file"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files that are no plain files, or whose size is hostile, end quickly with one line.
TEST(ProbePoints, HostileFilesEndQuickly) {
    const scratch_dir dir;
    probe_points p;
    std::string why;
    ASSERT_EQ(::mkfifo(dir.file("fifo.csv").c_str(), 0600), 0);
    EXPECT_EQ(MAKE_PROBE_POINTS("fifo.csv", p, why), 1);  // refused, not waited on
    EXPECT_NE(why.find("not a regular file"), std::string::npos) << why;
    // A sparse hole of NUL bytes after the header: no scan reads it all.
    dir.write("hole.csv", "x,y,z\n1,2,3\n");
    std::filesystem::resize_file(dir.path() / "hole.csv", std::uintmax_t{3} << 30);
    EXPECT_EQ(MAKE_PROBE_POINTS("hole.csv", p, why), 1);
    EXPECT_NE(why.find("hole.csv:3: holds a NUL byte"), std::string::npos) << why;
    dir.write("long.csv", "x,y,z\n1,2," + std::string((16u << 20) + 8, '3') + "\n");
    EXPECT_EQ(MAKE_PROBE_POINTS("long.csv", p, why), 2);
    EXPECT_NE(why.find("long.csv:2: the line is longer than 16 MB"), std::string::npos) << why;
}

}  // namespace
}  // namespace orvex
