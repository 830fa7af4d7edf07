// file_output.cpp: a temporary file beside the target, renamed over it once it is complete.
#include "console/file_output.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

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
mode_t MODE_FOR(const std::string& target) {
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) return old.st_mode & 07777;
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

// The temporary file's name: short and hidden, in the target's directory, so that a target
// whose own name is as long as the file system allows still gets one.
std::string TEMPORARY_BESIDE(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    return (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + ".orvex_XXXXXX";
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

// The temporary file written whole, then renamed over the target (replace) or linked to its
// name only while that is free.
bool WRITE_WHOLE(std::string_view path, std::span<const std::string_view> pieces, bool replace, std::string* why) {
    if (path.empty()) {
        if (why != nullptr) *why = "no file name";
        return false;
    }
    const std::string target(path);
    const file_size_signal_ignored no_file_size_signal;
    std::string temporary = TEMPORARY_BESIDE(target);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return FAIL(why, "cannot create a temporary file beside it", errno);

    int error = 0;
    std::string_view step;
    if (::fchmod(fd, MODE_FOR(target)) != 0) {
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
    if (error == 0 && replace && std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        step = "cannot rename the temporary file over it";
    }
    if (error == 0 && !replace && ::link(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        step = "cannot give the temporary file its name";
    }
    if (error != 0 || !replace) ::unlink(temporary.c_str());
    if (error != 0) return FAIL(why, step, error);
    return true;
}

}  // namespace

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why) {
    return WRITE_WHOLE(path, std::span<const std::string_view>(&bytes, 1), true, why);
}

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::span<const std::string_view> pieces, std::string* why) {
    return WRITE_WHOLE(path, pieces, true, why);
}

bool WRITE_NEW_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why) {
    return WRITE_WHOLE(path, std::span<const std::string_view>(&bytes, 1), false, why);
}

}  // namespace orvex
