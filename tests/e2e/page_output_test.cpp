// page_output_test.cpp: where a headless run writes. The page goes to plot_orvex_3dfields.png
// and nowhere else whatever links, FIFOs or other runs share the directory, and a listing
// that cannot reach standard output ends the run with one line and no page.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace {

using namespace orvex::e2e;
using namespace orvex::mapgen;

const std::string png_name = "plot_orvex_3dfields.png";

// The working directory with a good binary map, and a file "outside" it.
class PageOutput : public run_directory<> {
protected:
    fs::path outside;
    void SetUp() override {
        run_directory<>::SetUp();
        outside = root / "outside.txt";
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "a\nb\nMW_map.bin\n0\n0\n");
        ASSERT_TRUE(WRITE_FIELD_MAP(map_recipe{}, layout::binary, (dir / "MW_map.bin").string()));
    }
};

// The names in dir (links named, not followed).
std::set<std::string> NAMES(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
    return names;
}

// A whole PNG: its signature first and its IEND chunk last.
bool WHOLE_PNG(const fs::path& p) {
    const std::string bytes = SLURP(p);
    return bytes.starts_with("\x89PNG\r\n\x1a\n") && bytes.ends_with(std::string("IEND\xae\x42\x60\x82", 8));
}

TEST_F(PageOutput, LinksAndFifosInTheDirectoryChangeNothingOfWhereThePageGoes) {
    const std::vector<std::pair<std::string, std::function<void(const fs::path&)>>> traps = {
        {png_name + ".part", [&](const fs::path& p) { fs::create_symlink(outside, p); }},
        {png_name + ".part", [&](const fs::path& p) { fs::create_hard_link(outside, p); }},
        {png_name + ".part", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
        {png_name, [&](const fs::path& p) { fs::create_symlink(outside, p); }},
        {png_name, [&](const fs::path& p) { fs::create_hard_link(outside, p); }},
        {png_name, [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); }},
    };
    for (std::size_t n = 0; n < traps.size(); ++n) {
        SCOPED_TRACE("trap " + std::to_string(n) + " named " + traps[n].first);
        WRITE_TEXT(outside, "not to be touched");
        std::set<std::string> expected = NAMES(dir);
        expected.insert({traps[n].first, png_name});
        traps[n].second(dir / traps[n].first);
        const run_result r = RUN_PROGRAM(dir, capture);
        ASSERT_FALSE(r.timed_out);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(SLURP(outside), "not to be touched");
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / png_name)));
        EXPECT_TRUE(WHOLE_PNG(dir / png_name));
        EXPECT_EQ(NAMES(dir), expected) << "a temporary file was left behind";
        fs::remove(dir / traps[n].first);
        fs::remove(dir / png_name);
        fs::remove(outside);
    }
}

TEST_F(PageOutput, RunsAtOnceInOneDirectoryAllWriteTheWholePage) {
    constexpr int runs = 10;
    std::vector<run_result> results(runs);
    std::vector<std::thread> threads;
    for (int n = 0; n < runs; ++n) {
        fs::create_directories(capture / std::to_string(n));
        threads.emplace_back([&, n] { results[n] = RUN_PROGRAM(dir, capture / std::to_string(n)); });
    }
    for (std::thread& t : threads) t.join();
    for (const run_result& r : results) EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(WHOLE_PNG(dir / png_name));
    EXPECT_EQ(NAMES(dir), (std::set<std::string>{"MW_map.bin", "plot_orvex_3dfields.dat", png_name}));
}

TEST_F(PageOutput, ListingThatCannotBeWrittenEndsTheRunWithOneLineAndNoPage) {
    const std::string lost = "plot_orvex_3dfields: cannot write the listing to standard output: ";
    const std::set<std::string> before = NAMES(dir);
    run_result r = RUN_PROGRAM(dir, capture, OUTPUT_TO("/dev/full"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, lost + "No space left on device\n");
    r = RUN_PROGRAM(dir, capture, closed_output);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, lost + "Bad file descriptor\n");
    // A stop whose message was lost with the listing.
    WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "a\nb\nMW_map.bin\n7\n0\n");
    r = RUN_PROGRAM(dir, capture, OUTPUT_TO("/dev/full"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, lost + "No space left on device\n");
    EXPECT_EQ(NAMES(dir), before);
}

}  // namespace
