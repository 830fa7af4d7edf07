// console.cpp: the console log and the writing of records. The forms of the values (numbers,
// texts) are in listed_forms.cpp, which keeps no record: code that only formats (the window's
// readout) links them without the log.
#include "console/console.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace orvex {
namespace {

// The log holds the whole listing of a run (about 1.5 KB) many times over.
constexpr std::size_t log_capacity = 64 * 1024;
constexpr std::string_view log_overflow_mark = "...\n";
std::array<char, log_capacity> console_log_text{};
std::size_t console_log_length = 0;
bool console_log_full = false;
bool console_quiet = false;
int console_output_error = 0;

void KEEP_IN_LOG(std::string_view line) {
    if (console_log_full) return;
    if (console_log_length + line.size() + log_overflow_mark.size() > log_capacity) {
        std::memcpy(console_log_text.data() + console_log_length, log_overflow_mark.data(),
                    log_overflow_mark.size());
        console_log_length += log_overflow_mark.size();
        console_log_full = true;
        return;
    }
    std::memcpy(console_log_text.data() + console_log_length, line.data(), line.size());
    console_log_length += line.size();
}

}  // namespace

void CONSOLE_WRITE(std::string_view label, std::initializer_list<listed_value> values) {
    std::string line(label);
    for (const listed_value& value : values) {
        switch (value.kind) {
            case listed_value::form::integer: line += FORMAT_LISTED_INTEGER(value.integer); break;
            case listed_value::form::real: line += FORMAT_LISTED_REAL(value.real); break;
            case listed_value::form::text: line += VISIBLE_TEXT(value.text); break;
        }
    }
    line += '\n';
    KEEP_IN_LOG(line);
    if (!console_quiet && console_output_error == 0) {
        errno = 0;
        if (std::fwrite(line.data(), 1, line.size(), stdout) != line.size() || std::fflush(stdout) != 0)
            console_output_error = errno != 0 ? errno : EIO;
    }
}

int CONSOLE_OUTPUT_ERROR() { return console_output_error; }

void HOLD_STANDARD_STREAMS() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // The lowest free descriptor is fd itself: the ones below it are open by now.
        const int held = ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
        if (held >= 0 && held != fd) ::close(held);
        if (fd == 1) console_output_error = EBADF;
    }
}

std::string_view CONSOLE_LOG() { return {console_log_text.data(), console_log_length}; }

void CLEAR_CONSOLE_LOG() {
    console_log_length = 0;
    console_log_full = false;
}

bool SET_CONSOLE_QUIET(bool quiet) {
    const bool was = console_quiet;
    console_quiet = quiet;
    return was;
}

void TRUNCATE_CONSOLE_LOG(std::size_t length) {
    if (length >= console_log_length) return;
    console_log_length = length;
    console_log_full = false;
}

}  // namespace orvex
