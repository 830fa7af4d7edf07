// export_limits_test.cpp: an export of the largest map run where its surroundings fail it. Under
// a limit of the address space it writes the whole file or says in one line that memory ran out;
// where no thread can start it writes the same file with one; a SIGINT or SIGTERM while it writes
// removes its temporary file and keeps the old one; from a working directory whose absolute
// name is longer than PATH_MAX a relative name is written there.
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include <array>
#include <climits>
#include <csignal>
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
};

// Starts the program with args in the directory reached from first by entering each of steps in
// turn (a path too long to enter at once); its output goes to the capture directory.
pid_t START(const fs::path& first, const std::vector<std::string>& steps, const std::vector<std::string>& args,
            const fs::path& capture) {
    std::vector<char*> argv{const_cast<char*>(ORVEX_PROGRAM)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string out = (capture / "stdout").string(), err = (capture / "stderr").string();
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (o < 0 || e < 0 || ::chdir(first.c_str()) != 0) ::_exit(126);
    for (const std::string& step : steps)
        if (::chdir(step.c_str()) != 0) ::_exit(126);
    ::dup2(o, 1), ::dup2(e, 2);
    ::unsetenv("DISPLAY"), ::unsetenv("WAYLAND_DISPLAY");
    ::execv(ORVEX_PROGRAM, argv.data());
    ::_exit(127);
}

// The exit status, or 128 + the signal that ended it.
int WAIT(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST_F(ExportLimits, UnderAMemoryLimitOneLineOrTheWholeFile) {
#ifdef ORVEX_SANITIZE
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit here leaves";
#endif
    for (const std::string name : {"map.csv", "map.vti", "map.h5"}) {
        ASSERT_EQ(EXPORT(name).status, 0);
        const std::string whole = SLURP(dir / name);
        fs::remove(dir / name);
        const std::set<std::string> before = ENTRIES(dir);
        for (const int megabytes : {120, 170, 240, 320}) {
            SCOPED_TRACE(name + " under " + std::to_string(megabytes) + " MB");
            const run_result r = EXPORT(name, {"prlimit", "--as=" + std::to_string(megabytes << 20)});
            ASSERT_FALSE(r.timed_out);
            if (r.status == 0) {
                // The .h5 holds the time its objects were made: its size is what stays.
                EXPECT_EQ(name == "map.h5" ? std::to_string(fs::file_size(dir / name)) : SLURP(dir / name),
                          name == "map.h5" ? std::to_string(whole.size()) : whole);
                fs::remove(dir / name);
            } else {
                EXPECT_EQ(r.status, 1);
                EXPECT_TRUE(r.err.starts_with("plot_orvex_3dfields: ")) << r.err;
                EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
            }
            EXPECT_EQ(ENTRIES(dir), before);
        }
    }
}

// A stack limit of a terabyte leaves no room for a thread's stack: the rows are built by one.
TEST_F(ExportLimits, WhereNoThreadCanStartOneBuildsTheSameFile) {
    ASSERT_EQ(EXPORT("map.csv").status, 0);
    const std::string whole = SLURP(dir / "map.csv");
    const run_result r = EXPORT("one.csv", {"prlimit", "--stack=1099511627776"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(SLURP(dir / "one.csv"), whole);
}

TEST_F(ExportLimits, AnInterruptedExportRemovesItsTemporaryAndKeepsTheOldFile) {
    for (const int signal_number : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal_number);
        WRITE_TEXT(dir / "map.csv", "the old export");
        const std::set<std::string> before = ENTRIES(dir);
        const int watch = ::inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        ASSERT_GE(::inotify_add_watch(watch, dir.c_str(), IN_CREATE), 0);
        const pid_t pid = START(dir, {}, {"--export", "map.csv"}, capture);
        // The signal goes as soon as the temporary file is made, long before its 190 MB are in.
        bool seen = false;
        std::array<char, 4096> events{};
        for (pollfd p{watch, POLLIN, 0}; !seen && ::poll(&p, 1, 60'000) == 1;) {
            const ssize_t n = ::read(watch, events.data(), events.size());
            for (ssize_t at = 0; n > 0 && at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(events.data() + at);
                seen = seen || (e->len > 0 && std::string_view(e->name).starts_with(".orvex_"));
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        ::kill(pid, signal_number);
        EXPECT_TRUE(seen);
        EXPECT_EQ(WAIT(pid), 128 + signal_number);
        ::close(watch);
        EXPECT_EQ(ENTRIES(dir), before);
        EXPECT_EQ(SLURP(dir / "map.csv"), "the old export");
    }
}

TEST_F(ExportLimits, RelativeNameFromADirectoryDeeperThanPathMax) {
    const std::string step(250, 'd');
    std::vector<int> levels{::open(root.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC)};
    std::vector<std::string> steps;
    while (steps.size() * (step.size() + 1) <= PATH_MAX + step.size()) {
        ASSERT_EQ(::mkdirat(levels.back(), step.c_str(), 0755), 0);
        levels.push_back(::openat(levels.back(), step.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        steps.push_back(step);
    }
    const pid_t pid = START(root, steps, {"--export", "map.vti", dir.string()}, capture);
    EXPECT_EQ(WAIT(pid), 0);
    EXPECT_EQ(SLURP(capture / "stderr"), "plot_orvex_3dfields: the unfolded map is written to map.vti\n");
    struct stat written {};
    EXPECT_EQ(::fstatat(levels.back(), "map.vti", &written, 0), 0);
    EXPECT_GT(written.st_size, 49 * 49 * 401 * 48);
    // The tree is too deep for a removal by path.
    ::unlinkat(levels.back(), "map.vti", 0);
    for (std::size_t n = levels.size() - 1; n > 0; --n) {
        ::close(levels[n]);
        EXPECT_EQ(::unlinkat(levels[n - 1], step.c_str(), AT_REMOVEDIR), 0);
    }
    ::close(levels[0]);
}

}  // namespace
