// file_output.cpp: a temporary file beside the target, renamed over it once it is complete.
#include "console/file_output.h"

#include <fcntl.h>
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

}  // namespace

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why) {
    return WRITE_FILE_ATOMICALLY(path, std::span<const std::string_view>(&bytes, 1), why);
}

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::span<const std::string_view> pieces, std::string* why) {
    if (path.empty()) {
        if (why != nullptr) *why = "no file name";
        return false;
    }
    const std::string target(path);
    std::string temporary = target + ".XXXXXX";
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
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
        step = "cannot rename the temporary file over it";
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return FAIL(why, step, error);
    }
    return true;
}

}  // namespace orvex
