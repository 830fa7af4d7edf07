// file_output.cpp: a temporary file beside the target, renamed over it once it is complete.
#include "console/file_output.h"

#include <pthread.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>

namespace orvex {

namespace {

bool FAIL(std::string* why, std::string_view step, int error) {
    if (why != nullptr) {
        *why = std::string(step);
        *why += ": ";
        *why += std::strerror(error);
    }
    return false;
}

// The permission bits the finished file gets: those of the regular file it replaces, else what
// a new file gets from the umask.
mode_t MODE_FOR(int directory, const std::string& target) {
    struct stat old {};
    if (::fstatat(directory, target.c_str(), &old, 0) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes all bytes, through short writes and interruptions; the errno of the failure otherwise.
int WRITE_ALL(int fd, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

// The temporary file's name without its six random characters: short and hidden, in the
// target's directory, so that a target whose own name is as long as the file system allows
// still gets one.
std::string TEMPORARY_BESIDE(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".orvex_";
}

// Creates the temporary file exclusively (0600) from directory, filling in the six characters
// of name; the descriptor, or -1 with errno.
int CREATE_TEMPORARY(int directory, std::string& name) {
    static constexpr std::string_view letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const std::size_t stem = name.size();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::array<unsigned char, 6> random{};
        if (::getrandom(random.data(), random.size(), GRND_NONBLOCK) != static_cast<ssize_t>(random.size())) {
            const auto mix = static_cast<unsigned long>(::clock()) * 2654435761UL + static_cast<unsigned long>(::getpid()) +
                             static_cast<unsigned long>(attempt) * 40503UL;
            for (std::size_t n = 0; n < random.size(); ++n) random[n] = static_cast<unsigned char>(mix >> (5 * n));
        }
        name.resize(stem);
        for (const unsigned char r : random) name += letters[r % letters.size()];
        const int fd = ::openat(directory, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// While it lives, a write beyond the file-size limit fails with EFBIG instead of the process
// being killed by SIGXFSZ; the disposition the process had comes back afterwards.
struct file_size_signal_ignored {
    struct sigaction before {};
    bool changed = false;
    file_size_signal_ignored() {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigemptyset(&ignore.sa_mask);
        changed = ::sigaction(SIGXFSZ, &ignore, &before) == 0;
    }
    ~file_size_signal_ignored() {
        if (changed) ::sigaction(SIGXFSZ, &before, nullptr);
    }
    file_size_signal_ignored(const file_size_signal_ignored&) = delete;
    file_size_signal_ignored& operator=(const file_size_signal_ignored&) = delete;
};

// The temporary file a signal handler removes: set while the signals are blocked, read by the
// handler only (unlinkat is async-signal-safe).
constexpr std::array<int, 4> ending_signals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::atomic<bool> temporary_armed{false};
int temporary_directory = AT_FDCWD;
std::array<char, PATH_MAX + 1> temporary_name{};

extern "C" void REMOVE_TEMPORARY_AND_END(int signal_number) {
    if (temporary_armed.exchange(false)) ::unlinkat(temporary_directory, temporary_name.data(), 0);
    // The default action again; the signal, raised anew, is held until this handler returns.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    ::sigemptyset(&fallback.sa_mask);
    ::sigaction(signal_number, &fallback, nullptr);
    ::raise(signal_number);
}

// While it lives, the ending signals at their default action remove the temporary file named
// by ARM before they end the process. The signals are blocked from the start to UNBLOCK and
// again from BLOCK on, so that the name is never half-set when the handler reads it, and the
// mask the thread had comes back at the end.
struct temporary_guard {
    sigset_t ending{}, before_mask{};
    std::array<struct sigaction, ending_signals.size()> before{};
    std::array<bool, ending_signals.size()> installed{};
    temporary_guard() {
        ::sigemptyset(&ending);
        for (const int s : ending_signals) ::sigaddset(&ending, s);
        ::pthread_sigmask(SIG_BLOCK, &ending, &before_mask);
        struct sigaction remove {};
        remove.sa_handler = REMOVE_TEMPORARY_AND_END;
        remove.sa_mask = ending;
        for (std::size_t n = 0; n < ending_signals.size(); ++n) {
            if (::sigaction(ending_signals[n], nullptr, &before[n]) != 0 || before[n].sa_handler != SIG_DFL ||
                (before[n].sa_flags & SA_SIGINFO) != 0)
                continue;
            installed[n] = ::sigaction(ending_signals[n], &remove, nullptr) == 0;
        }
    }
    void BLOCK() { ::pthread_sigmask(SIG_BLOCK, &ending, nullptr); }
    void UNBLOCK() { ::pthread_sigmask(SIG_SETMASK, &before_mask, nullptr); }
    // Called blocked: the temporary file a signal is to remove (a name too long is never armed).
    void ARM(int directory, const std::string& name) {
        if (name.size() >= temporary_name.size()) return;
        std::memcpy(temporary_name.data(), name.c_str(), name.size() + 1);
        temporary_directory = directory;
        temporary_armed = true;
    }
    ~temporary_guard() {
        BLOCK();
        temporary_armed = false;
        for (std::size_t n = 0; n < ending_signals.size(); ++n)
            if (installed[n]) ::sigaction(ending_signals[n], &before[n], nullptr);
        UNBLOCK();
    }
    temporary_guard(const temporary_guard&) = delete;
    temporary_guard& operator=(const temporary_guard&) = delete;
};

// The temporary file written whole from directory, then renamed over the target (replace) or
// linked to its name only while that is free.
bool WRITE_WHOLE(int directory, std::string_view path, std::span<const std::string_view> pieces, bool replace,
                 std::string* why) {
    if (path.empty()) {
        if (why != nullptr) *why = "no file name";
        return false;
    }
    const std::string target(path);
    const file_size_signal_ignored no_file_size_signal;
    temporary_guard guard;  // the ending signals are blocked until the temporary file is armed
    std::string temporary = TEMPORARY_BESIDE(target);
    const int fd = CREATE_TEMPORARY(directory, temporary);
    if (fd < 0) {
        const int error = errno;
        guard.UNBLOCK();
        return FAIL(why, "cannot create a temporary file beside it", error);
    }
    guard.ARM(directory, temporary);
    guard.UNBLOCK();

    int error = 0;
    std::string_view step;
    if (::fchmod(fd, MODE_FOR(directory, target)) != 0) {
        error = errno;
        step = "cannot set the permissions of the temporary file";
    } else {
        for (const std::string_view bytes : pieces) {
            if ((error = WRITE_ALL(fd, bytes)) != 0) {
                step = "cannot write the temporary file";
                break;
            }
        }
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
        step = "cannot write the temporary file";
    }
    guard.BLOCK();  // the name is renamed or removed before a signal can act on it
    if (error == 0 && replace && ::renameat(directory, temporary.c_str(), directory, target.c_str()) != 0) {
        error = errno;
        step = "cannot rename the temporary file over it";
    }
    if (error == 0 && !replace && ::linkat(directory, temporary.c_str(), directory, target.c_str(), 0) != 0) {
        error = errno;
        step = "cannot give the temporary file its name";
    }
    if (error != 0 || !replace) ::unlinkat(directory, temporary.c_str(), 0);
    return error == 0 || FAIL(why, step, error);
}

}  // namespace

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why) {
    return WRITE_WHOLE(working_directory, path, std::span<const std::string_view>(&bytes, 1), true, why);
}

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::span<const std::string_view> pieces, std::string* why) {
    return WRITE_WHOLE(working_directory, path, pieces, true, why);
}

bool WRITE_FILE_ATOMICALLY_AT(int directory, std::string_view path, std::span<const std::string_view> pieces,
                              std::string* why) {
    return WRITE_WHOLE(directory, path, pieces, true, why);
}

bool WRITE_NEW_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why) {
    return WRITE_WHOLE(working_directory, path, std::span<const std::string_view>(&bytes, 1), false, why);
}

bool SAME_FILE(int da, std::string_view a, int db, std::string_view b) {
    struct stat sa {}, sb {};
    return !a.empty() && !b.empty() && ::fstatat(da, std::string(a).c_str(), &sa, 0) == 0 &&
           ::fstatat(db, std::string(b).c_str(), &sb, 0) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace orvex
