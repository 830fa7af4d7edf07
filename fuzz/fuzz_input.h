// fuzz_input.h: what every harness shares: a private working directory for the files the
// readers open, and the check that a stop is one clear line. It stands on the console floor
// only, so every harness (the plot's and the histogram library's too) can include it.
//
// The readers take files by name, so each input is written to a file first. The directory is
// made once per process (on tmpfs when there is one) and removed at exit; the harness works in
// it, so the control file's fixed name is found there.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/run_stop.h"

namespace orvex::fuzz {

inline std::filesystem::path fuzz_dir;

inline void REMOVE_FUZZ_DIR() {
    std::error_code ignored;
    if (!fuzz_dir.empty()) std::filesystem::remove_all(fuzz_dir, ignored);
}

// Makes the private directory and moves into it, once; console records are kept quiet.
inline void ENTER_FUZZ_DIR() {
    if (!fuzz_dir.empty()) return;
    const bool shm = std::filesystem::is_directory("/dev/shm");
    std::string pattern = std::string(shm ? "/dev/shm" : "/tmp") + "/orvex_fuzz_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0) std::abort();
    fuzz_dir = pattern;
    std::atexit(REMOVE_FUZZ_DIR);
    SET_CONSOLE_QUIET(true);
}

// Writes the bytes to name in the private directory, replacing what was there.
inline void WRITE_INPUT(const char* name, const std::uint8_t* data, std::size_t size) {
    const int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n <= 0) std::abort();
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    ::close(fd);
}

// A stop must be one line: a non-empty message without a line end; an input failure names
// the program first.
inline void CHECK_STOP(const run_stop& stop) {
    if (stop.message.empty() || stop.message.find('\n') != std::string::npos) std::abort();
    if (stop.where == run_stop::channel::input &&
        !std::string_view(stop.message).starts_with("plot_orvex_3dfields: "))
        std::abort();
}

}  // namespace orvex::fuzz
