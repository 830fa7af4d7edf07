// program_run.h: the end-to-end tests' helpers, in one place: running the built program in a
// working directory of its own without a display (its exit status, standard output and
// standard error), a shell command's status, a file's bytes, a scratch directory, and the
// fixture that gives each test its own directories.
//
// The program runs with DISPLAY and WAYLAND_DISPLAY removed from its environment, standard
// input on /dev/null and its output caught in files outside the working directory, under a
// watchdog against hangs. Safe to call from several threads at once (one child each).
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char** environ;

namespace orvex::e2e {

namespace fs = std::filesystem;

struct run_result {
    int status = -1;  // exit status, or 128 + signal
    bool timed_out = false;
    std::string out, err;
};

inline std::string SLURP(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The exit status of a shell command (-1 when it did not exit).
inline int RUN_SHELL(const std::string& command) {
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh directory under the temporary directory (prefix "orvex_<what>_"), removed with it.
struct work_dir {
    fs::path path;
    explicit work_dir(const std::string& what = "e2e") {
        std::string pattern = (fs::temp_directory_path() / ("orvex_" + what + "_XXXXXX")).string();
        if (::mkdtemp(pattern.data()) != nullptr) path = fs::canonical(pattern);
    }
    ~work_dir() {
        std::error_code ignored;
        if (!path.empty()) fs::remove_all(path, ignored);
    }
    work_dir(const work_dir&) = delete;
    work_dir& operator=(const work_dir&) = delete;
};

inline void WRITE_TEXT(const fs::path& p, const std::string& text) {
    std::ofstream f(p, std::ios::binary);
    f << text;
}

// Where the program's standard output goes: the capture file, another file (a device such as
// /dev/full), or nowhere (closed).
struct output_target {
    enum class kind { capture, path, closed } where = kind::capture;
    std::string path;
};
inline const output_target closed_output{output_target::kind::closed, {}};
inline output_target OUTPUT_TO(const std::string& path) { return {output_target::kind::path, path}; }

// What else a run may be given: its command (another copy of the program, or the program
// behind a wrapper such as prlimit; searched on PATH) and environment words NAME=value that
// are added or replace the test's own (DISPLAY among them).
struct run_setup {
    std::vector<std::string> command{ORVEX_PROGRAM};
    std::vector<std::string> env;
};

// Runs the program with dir as working directory, without a display unless setup gives one,
// killed after a generous limit (a sanitizer build is slow; a hang is still caught).
inline run_result RUN_PROGRAM(const fs::path& dir, const fs::path& capture, const output_target& output = {},
                              const run_setup& setup = {}) {
    const fs::path out_path = capture / "stdout", err_path = capture / "stderr";
    std::vector<std::string> env_text = setup.env;
    const auto replaced = [&](std::string_view v) {
        return std::any_of(setup.env.begin(), setup.env.end(),
                           [&](const std::string& e) { return v.starts_with(e.substr(0, e.find('=') + 1)); });
    };
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string_view v(*e);
        if (v.starts_with("DISPLAY=") || v.starts_with("WAYLAND_DISPLAY=") || replaced(v)) continue;
        env_text.emplace_back(v);
    }
    std::vector<char*> env;
    for (std::string& s : env_text) env.push_back(s.data());
    env.push_back(nullptr);
    const std::string out_name = output.where == output_target::kind::path ? output.path : out_path.string();

    std::vector<char*> argv;
    for (const std::string& a : setup.command) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(out_name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::chdir(dir.c_str()) != 0) ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        if (output.where == output_target::kind::closed) ::close(1);
        ::execvpe(argv[0], argv.data(), env.data());
        ::_exit(127);
    }
    run_result r;
    if (pid < 0) return r;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    int wstatus = 0;
    while (true) {
        const pid_t done = ::waitpid(pid, &wstatus, WNOHANG);
        if (done == pid) break;
        if (std::chrono::steady_clock::now() > limit) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &wstatus, 0);
            r.timed_out = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (WIFEXITED(wstatus)) r.status = WEXITSTATUS(wstatus);
    else if (WIFSIGNALED(wstatus)) r.status = 128 + WTERMSIG(wstatus);
    if (output.where == output_target::kind::capture) r.out = SLURP(out_path);
    r.err = SLURP(err_path);
    return r;
}

// Every entry under dir, recursively, as relative paths.
inline std::set<std::string> ENTRIES(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(fs::relative(e.path(), dir).string());
    return names;
}

// A fresh root per test (or per case of a table), removed afterwards, holding the working
// directory "run" and the directory "capture" for the program's output.
template <class base = ::testing::Test>
class run_directory : public base {
protected:
    fs::path root, dir, capture;
    void SetUp() override {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        std::replace(name.begin(), name.end(), '/', '_');
        root = fs::temp_directory_path() / ("orvex_" + std::to_string(::getpid()) + "_" + name);
        fs::remove_all(root);
        dir = root / "run";
        capture = root / "capture";
        fs::create_directories(dir);
        fs::create_directories(capture);
    }
    void TearDown() override { fs::remove_all(root); }
};

}  // namespace orvex::e2e
