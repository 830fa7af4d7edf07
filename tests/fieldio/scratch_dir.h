// scratch_dir.h: a fresh temporary directory per test, made the working directory while the
// test runs (so files are named as a run names them) and removed afterwards; small helpers to
// write files into it and to catch a run stop.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <string_view>

#include "console/run_stop.h"

namespace orvex::testing_support {

class scratch_dir {
public:
    scratch_dir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvex_reader_XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(path_);
    }
    ~scratch_dir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    scratch_dir(const scratch_dir&) = delete;
    scratch_dir& operator=(const scratch_dir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(std::string_view name) const { return (path_ / name).string(); }

    // Writes text (bytes as they stand) into the directory and returns name.
    std::string write(std::string_view name, std::string_view text) const {
        std::ofstream out(file(name), std::ios::binary);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return std::string(name);
    }

private:
    std::filesystem::path path_;
    std::filesystem::path previous_;
};

// Runs action and returns the run_stop it throws; a test failure if it throws none.
inline run_stop STOP_OF(const std::function<void()>& action) {
    try {
        action();
    } catch (const run_stop& stop) {
        return stop;
    }
    ADD_FAILURE() << "the run did not stop";
    return {run_stop::channel::console, "<no stop>"};
}

// The message of an input failure, without the program's prefix; "" (and a test failure) for
// a stop of the other kind.
inline std::string INPUT_FAILURE_OF(const std::function<void()>& action) {
    const run_stop stop = STOP_OF(action);
    EXPECT_EQ(stop.where, run_stop::channel::input) << stop.message;
    constexpr std::string_view prefix = "plot_orvex_3dfields: ";
    if (stop.message.rfind(prefix, 0) != 0) return stop.message;
    return stop.message.substr(prefix.size());
}

}  // namespace orvex::testing_support
