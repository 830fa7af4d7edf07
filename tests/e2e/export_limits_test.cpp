// export_limits_test.cpp: an export of the largest map run where its surroundings fail it. Under
// a limit of the address space it writes the whole file or says in one line that memory ran out;
// where no thread can start it writes the same file with one; a SIGINT or SIGTERM while it writes
// removes its temporary file and keeps the old one; from a working directory whose absolute
// name is longer than PATH_MAX a relative name is written there.
#include <climits>
#include <string>
#include <vector>

#include "e2e/program_run.h"
#include "map_writer.h"

namespace {

using namespace orvex::e2e;
using namespace orvex::mapgen;

// The largest map: both fields in an octant, unfolded to 49 x 49 x 401 nodes.
class ExportLimits : public run_directory<> {
protected:
    void SetUp() override {
        run_directory<>::SetUp();
        WRITE_TEXT(dir / "plot_orvex_3dfields.dat", "a\nb\nMW_map.bin\n0\n0\n");
        map_recipe s;
        s.kind = 2, s.ksym_yz = s.ksym_xz = s.ksym_xy = 1;
        s.model = field_model::harmonic;
        ASSERT_TRUE(WRITE_FIELD_MAP(s, layout::binary, (dir / "MW_map.bin").string()));
    }
    run_result EXPORT(const std::string& name, std::vector<std::string> before = {}) {
        before.insert(before.end(), {ORVEX_PROGRAM, "--export", name});
        return RUN_PROGRAM(dir, capture, {}, {before, {}});
    }
    // Runs a shell script in the run's directory; its exit status.
    int SHELL(const std::string& script) {
        WRITE_TEXT(capture / "script", "cd '" + dir.string() + "' || exit 126\n" + script);
        return RUN_SHELL("bash '" + (capture / "script").string() + "'");
    }
};

TEST_F(ExportLimits, UnderAMemoryLimitOneLineOrTheWholeFile) {
#ifdef ORVEX_SANITIZE
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit here leaves";
#endif
    for (const std::string name : {"map.csv", "map.vti", "map.h5"}) {
        ASSERT_EQ(EXPORT(name).status, 0);
        const auto whole = fs::file_size(dir / name);  // the .h5 holds the time it was made: not its bytes
        fs::remove(dir / name);
        const std::set<std::string> before = ENTRIES(dir);
        for (const int megabytes : {120, 170, 240, 320}) {
            SCOPED_TRACE(name + " under " + std::to_string(megabytes) + " MB");
            const run_result r = EXPORT(name, {"prlimit", "--as=" + std::to_string(megabytes << 20)});
            EXPECT_TRUE(r.status == 0 ? fs::file_size(dir / name) == whole : r.status == 1) << r.status;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            fs::remove(dir / name);
            EXPECT_EQ(ENTRIES(dir), before);
        }
    }
}

// A stack limit of a terabyte leaves no room for a thread's stack: the rows are built by one.
TEST_F(ExportLimits, WhereNoThreadCanStartOneBuildsTheSameFile) {
    ASSERT_EQ(EXPORT("map.csv").status, 0);
    const run_result r = EXPORT("one.csv", {"prlimit", "--stack=1099511627776"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(SLURP(dir / "one.csv") == SLURP(dir / "map.csv"));
}

// The signal goes as soon as the temporary file is there, long before its 190 MB are in. Job
// control (set -m) keeps SIGINT from being ignored in a job started in the background.
TEST_F(ExportLimits, AnInterruptedExportRemovesItsTemporaryAndKeepsTheOldFile) {
    for (const std::string signal_name : {"INT", "TERM"}) {
        WRITE_TEXT(dir / "map.csv", "the old export");
        const std::set<std::string> before = ENTRIES(dir);
        EXPECT_EQ(SHELL("set -m\n'" ORVEX_PROGRAM "' --export map.csv 2> /dev/null &\n"
                        "until compgen -G '.orvex_*' > /dev/null || [ $SECONDS -gt 60 ]; do :; done\n"
                        "kill -" + signal_name + " $!\nwait $!\n"),
                  128 + (signal_name == "INT" ? SIGINT : SIGTERM));
        EXPECT_EQ(ENTRIES(dir), before) << signal_name;
        EXPECT_EQ(SLURP(dir / "map.csv"), "the old export");
    }
}

TEST_F(ExportLimits, RelativeNameFromADirectoryDeeperThanPathMax) {
    const std::string step(250, 'd');
    std::string deeper = "cd ..";
    for (std::size_t depth = 0; depth * (step.size() + 1) <= PATH_MAX; ++depth) deeper += " && mkdir " + step + " && cd " + step;
    EXPECT_EQ(SHELL(deeper + " && '" ORVEX_PROGRAM "' --export map.vti '" + dir.string() + "' 2> '" +
                    (capture / "err").string() + "' && test -s map.vti\n"),
              0);
    EXPECT_EQ(SLURP(capture / "err"), "plot_orvex_3dfields: the unfolded map is written to map.vti\n");
    EXPECT_EQ(SHELL("cd .. && rm -rf " + step), 0);  // too deep for a removal by path
}

}  // namespace
