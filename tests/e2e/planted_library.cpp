// planted_library.cpp: a shared library that must never be loaded. Copied under the names of
// the program's libraries and of its window module into directories a run should never load
// code from; if a run loads it, its constructor leaves a mark in the file named by
// ORVEX_PLANTED_MARK and ends the process with status 97.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

__attribute__((constructor)) static void LEAVE_MARK() {
    if (const char* mark = std::getenv("ORVEX_PLANTED_MARK")) {
        const int fd = ::open(mark, O_WRONLY | O_CREAT | O_APPEND, 0644);
        if (fd >= 0) {
            const char text[] = "a planted library was loaded\n";
            [[maybe_unused]] const ssize_t n = ::write(fd, text, std::strlen(text));
            ::close(fd);
        }
    }
    ::_exit(97);
}
