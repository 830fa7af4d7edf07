// import_hostile_test.cpp: write_field_map --import against tables and names as a hostile or
// careless user hands them over: each refusal is one line with its status, never a hang, a
// crash or raw bytes on the terminal, and nothing is written (an old file stays); the tables
// users really have (a byte-order mark, re_Ex columns, a positive n_cell) are imported.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/program_run.h"

namespace orvex::e2e {
namespace {

// A table of 5 x 3 x 4 nodes in cm and V/cm (imported with --resample linear); value(n) gives
// the Ex field of row n as text.
std::string SMALL_TABLE(const std::string& head, const std::function<std::string(int)>& ex = {}) {
    std::string t = head;
    int n = 0;
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 5; ++i, ++n)
                t += std::to_string(i - 2) + " " + std::to_string(j - 1) + " " + std::to_string(10 * k - 15) + " " +
                     (ex ? ex(n) : std::to_string(i - 2)) + " " + std::to_string(j - 1) + " 7\n";
    return t;
}
const std::string named_head = "x [cm] y [cm] z [cm] Ex [V/cm] Ey [V/cm] Ez [V/cm]\n";

class ImportHostile : public run_directory<> {
protected:
    run_result WRITER(const std::vector<std::string>& args, const std::vector<std::string>& wrapper = {}) {
        run_setup setup;
        setup.command = wrapper;
        setup.command.push_back(ORVEX_MAP_WRITER);
        setup.command.insert(setup.command.end(), args.begin(), args.end());
        return RUN_PROGRAM(dir, capture, {}, setup);
    }
    std::vector<std::string> IMPORT(const std::string& table, const std::string& out = "EM_out.bin") {
        return {"--import", table, "--resample", "linear", "--layout", "binary", out};
    }
    // One line, the status, the words, and the directory as it was.
    void EXPECT_REFUSED(const run_result& r, int status, const std::string& says, const std::set<std::string>& before) {
        EXPECT_FALSE(r.timed_out);
        EXPECT_EQ(r.status, status) << r.err;
        EXPECT_NE(r.err.find(says), std::string::npos) << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        EXPECT_EQ(ENTRIES(dir), before);
    }
};

TEST_F(ImportHostile, WhatIsNotATextTableIsRefusedInOneLineWithoutBlocking) {
    struct hostile {
        const char* name;
        std::function<void(const fs::path&)> make;  // makes dir/"t.txt"
        std::string says;
    };
    const std::vector<hostile> cases{
        {"directory", [](const fs::path& t) { fs::create_directory(t); }, "t.txt: is a directory, not a table"},
        {"fifo", [](const fs::path& t) { ::mkfifo(t.c_str(), 0644); }, "t.txt: is not a regular file"},
        {"device", [](const fs::path& t) { fs::create_symlink("/dev/zero", t); }, "t.txt: is not a regular file"},
        {"sparse 10 GB", [](const fs::path& t) { WRITE_TEXT(t, ""); fs::resize_file(t, 10ull << 30); },
         "holds 10737418240 bytes; a table may hold at most 2147483648"},
        {"gzip", [](const fs::path& t) { WRITE_TEXT(t, std::string("\x1F\x8B\x08\x00\x00\x00\x00\x00\x00\x03", 10)); },
         "t.txt: gzip-compressed: decompress it first"},
        {"UTF-16 with a mark", [](const fs::path& t) { WRITE_TEXT(t, std::string("\xFF\xFEx\0 \0y\0", 8)); },
         "t.txt: UTF-16 text: save it as UTF-8"},
        {"UTF-16 without one", [](const fs::path& t) { WRITE_TEXT(t, std::string("x\0 \0y\0 \0z\0", 10)); },
         "UTF-16 text: save it as UTF-8"},
        {"binary map", [](const fs::path& t) { WRITE_TEXT(t, std::string("\x14\0\0\0\0\0\0\0\0\0Y@", 12)); },
         "t.txt: looks binary, not a text table"},
        {"empty", [](const fs::path& t) { WRITE_TEXT(t, ""); }, "t.txt: the table is empty"},
        {"kV/m beyond a double in V/cm",
         [](const fs::path& t) { WRITE_TEXT(t, SMALL_TABLE("x [cm] y [cm] z [cm] Ex [kV/m] Ey [kV/m] Ez [kV/m]\n",
                                                           [](int n) { return n == 7 ? "1.5e308" : "1"; })); },
         "line 9, column 4: 1.5e308 kV/m is beyond the range of a double in V/cm"},
        {"a number beyond a double", [](const fs::path& t) { WRITE_TEXT(t, SMALL_TABLE(named_head, [](int n) { return n == 5 ? "1e999" : "1"; })); },
         "line 7, column 4: \"1e999\" is beyond the range of a double"},
    };
    for (const hostile& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(dir);
        fs::create_directories(dir);
        c.make(dir / "t.txt");
        const std::set<std::string> before = ENTRIES(dir);
        EXPECT_REFUSED(WRITER(IMPORT("t.txt")), 1, c.says, before);
    }
    // A table larger than the memory the process may have: one line, not an abort (not under
    // AddressSanitizer, which reserves more address space than the limit leaves).
#ifndef ORVEX_SANITIZE
    fs::remove_all(dir);
    fs::create_directories(dir);
    WRITE_TEXT(dir / "t.txt", "");
    fs::resize_file(dir / "t.txt", 1500ull << 20);
    EXPECT_REFUSED(WRITER(IMPORT("t.txt"), {"prlimit", "--as=400000000"}), 1, "not enough memory", ENTRIES(dir));
#endif
}

TEST_F(ImportHostile, AnOutputThatIsTheTableIsRefusedAndTheTableKept) {
    const std::string table = SMALL_TABLE(named_head);
    WRITE_TEXT(dir / "EM_t.txt", table);
    fs::create_symlink("EM_t.txt", dir / "EM_link.bin");
    for (const std::string out : {"EM_t.txt", "./EM_t.txt", "EM_link.bin"}) {
        SCOPED_TRACE(out);
        EXPECT_REFUSED(WRITER(IMPORT("EM_t.txt", out)), 1, "the output " + out + " is the table itself", ENTRIES(dir));
        EXPECT_EQ(SLURP(dir / "EM_t.txt"), table);
    }
}

TEST_F(ImportHostile, HeaderValuesAMapCannotHoldAreBadOptions) {
    WRITE_TEXT(dir / "t.txt", SMALL_TABLE(named_head));
    const std::set<std::string> before = ENTRIES(dir);
    for (const std::string header : {"100,2,2.5", "100,2,3000000000", "100,2,-2147483649", "100,inf", "100,2,3,4"}) {
        SCOPED_TRACE(header);
        std::vector<std::string> args = IMPORT("t.txt");
        args.insert(args.begin(), {"--header", header});
        EXPECT_REFUSED(WRITER(args), 2, "--header", before);
    }
}

// Control characters, escape sequences, C1 controls, NUL and bytes that are not UTF-8 from a
// table or a name are shown as \xNN; what is quoted is cut, so a value of 10 MB is not.
TEST_F(ImportHostile, BytesOfTheTableNeverReachTheTerminalRaw) {
    const std::string hostile("4\x1B]0;owned\x07\xC2\x9B" "2J\xFF\xFE\0z", 19);
    struct quoted {
        const char* name;
        std::string table, shows;
    };
    const std::vector<quoted> cases{
        {"a value", SMALL_TABLE(named_head, [&](int n) { return n == 3 ? hostile : "1"; }),
         "line 5, column 4: \"4\\x1B]0;owned\\x07\\xC2\\x9B2J\\xFF\\xFE\\x00z\" is not a number"},
        {"a unit", SMALL_TABLE("x [cm] y [cm] z [cm] Ex [V\x1B[2J] Ey [V/cm] Ez [V/cm]\n"), "is in \"V\\x1B[2J\", a unit"},
        {"a value of 10 MB", SMALL_TABLE(named_head, [](int n) { return n == 5 ? std::string(10 << 20, '9') + "x" : "1"; }),
         "\"" + std::string(60, '9') + "...\" is not a number"},
        {"a header line of 10 MB", "x [cm] y [cm] z [cm] Ex [V/cm] Ey [V/cm] Ez [" + std::string(10 << 20, 'q') + "\n1 2 3 4 5 6\n",
         "the header line \"x [cm] y [cm]"},
    };
    for (const quoted& c : cases) {
        SCOPED_TRACE(c.name);
        WRITE_TEXT(dir / "t.txt", c.table);
        const run_result r = WRITER(IMPORT("t.txt"));
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(c.shows), std::string::npos) << r.err.substr(0, 400);
        EXPECT_LT(r.err.size(), 400u);
        for (std::size_t n = 0; n + 1 < r.err.size(); ++n) {
            const auto b = static_cast<unsigned char>(r.err[n]);
            ASSERT_TRUE(b >= 0x20 && b < 0x7F) << "byte " << static_cast<int>(b) << " at " << n << " in " << r.err.substr(0, 400);
        }
    }
    // A name is shown the same way.
    const run_result r = WRITER(IMPORT("no\x1B[2Jsuch\xC2\x9B.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no\\x1B[2Jsuch\\xC2\\x9B.txt: cannot open the table: No such file"), std::string::npos) << r.err;
}

TEST_F(ImportHostile, TablesAsUsersHaveThemAreImported) {
    const std::string bom = "\xEF\xBB\xBF";
    std::string bare = SMALL_TABLE("");
    struct usable {
        const char* name;
        std::string table;
        std::vector<std::string> more;
    };
    const std::vector<usable> cases{
        {"a byte-order mark before the header", bom + SMALL_TABLE(named_head), {}},
        {"a byte-order mark before bare rows, with --columns", bom + bare, {"--columns", "x,y,z,Ex,Ey,Ez", "--units", "cm,V/cm"}},
    };
    for (const usable& c : cases) {
        SCOPED_TRACE(c.name);
        WRITE_TEXT(dir / "t.txt", c.table);
        std::vector<std::string> args = IMPORT("t.txt", "EM_out.txt");
        args[5] = "text";
        args.insert(args.begin(), c.more.begin(), c.more.end());
        const run_result r = WRITER(args);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_TRUE(fs::exists(dir / "EM_out.txt"));
        fs::remove(dir / "EM_out.txt");
    }
    // re_Ex / im_Ex: the imaginary part, here 10 times the row's x.
    std::string complex = "x [cm] y [cm] z [cm] re_Ex [V/cm] im_Ex [V/cm] re_Ey [V/cm] im_Ey [V/cm] re_Ez [V/cm] im_Ez [V/cm]\n";
    for (int k = 0; k < 4; ++k)
        for (int j = 0; j < 3; ++j)
            for (int i = 0; i < 5; ++i)
                complex += std::to_string(i - 2) + " " + std::to_string(j - 1) + " " + std::to_string(10 * k - 15) + " 1 " +
                           std::to_string(10 * (i - 2)) + " 1 0 1 0\n";
    WRITE_TEXT(dir / "c.txt", complex);
    const run_result r = WRITER({"--import", "c.txt", "--part", "im", "--resample", "linear", "--layout", "text", "EM_c.txt"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream map(SLURP(dir / "EM_c.txt"));
    std::vector<double> v;
    for (std::string t; map >> t;) v.push_back(std::strtod(t.c_str(), nullptr));
    ASSERT_GT(v.size(), 6u + 251u + 24u);
    EXPECT_DOUBLE_EQ(v[6 + 251 + 24], 20.0);  // Ex at the last x node (x = 2 cm)
    EXPECT_DOUBLE_EQ(v[6 + 251], -20.0);      // and at the first
}

}  // namespace
}  // namespace orvex::e2e
