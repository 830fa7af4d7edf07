// input_file.cpp: opening, reading by offset and closing an input file (POSIX).
#include "fieldio/input_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "console/run_stop.h"

namespace orvex {

input_file::~input_file() { CLOSE_INPUT_FILE(*this); }

void CLOSE_INPUT_FILE(input_file& file) {
    if (file.fd >= 0) ::close(file.fd);
    file.fd = -1;
}

void OPEN_INPUT_FILE(input_file& file, std::string_view path) {
    CLOSE_INPUT_FILE(file);
    file.name.assign(path);
    file.size = 0;
    if (path.empty()) INPUT_FAILURE("\"\"", "", "no file name given");
    // A name with a NUL in it would silently open a different, shorter name.
    if (path.find('\0') != std::string_view::npos) INPUT_FAILURE(file.name, "", "file name holds a NUL character");

    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below.
    const int fd = ::open(file.name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        INPUT_FAILURE(file.name, "", std::string("cannot open: ") + std::strerror(error));
    }
    file.fd = fd;
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        const int error = errno;
        INPUT_FAILURE(file.name, "", std::string("cannot read: ") + std::strerror(error));
    }
    if (S_ISDIR(status.st_mode)) INPUT_FAILURE(file.name, "", "is a directory, not a file");
    if (!S_ISREG(status.st_mode)) INPUT_FAILURE(file.name, "", "is not a regular file");
    // Regular files with a size never block; plain blocking reads from here on. A file that
    // reports size 0 may be a kernel file (under /proc) that does hold data: it stays
    // non-blocking, so a read that would wait fails instead.
    file.size = static_cast<std::int64_t>(status.st_size);
    if (file.size > 0) {
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
}

bool READ_INPUT_BYTES(const input_file& file, std::int64_t offset, void* destination, std::size_t length,
                      std::string_view place) {
    auto* out = static_cast<unsigned char*>(destination);
    while (length > 0) {
        const ssize_t got = ::pread(file.fd, out, length, static_cast<off_t>(offset));
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            INPUT_FAILURE(file.name, place, std::string("read error: ") + std::strerror(error));
        }
        if (got == 0) return false;
        out += got;
        offset += got;
        length -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace orvex
