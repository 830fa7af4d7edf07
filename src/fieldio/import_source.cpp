// import_source.cpp: the table's file opened without blocking, read whole, and its bytes told.
#include "fieldio/import_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

#include "console/run_stop.h"

namespace orvex::mapimport {

namespace {

// Closes the descriptor on every way out, a refusal included.
struct open_descriptor {
    int fd = -1;
    ~open_descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool STARTS(std::string_view text, std::string_view bytes) { return text.substr(0, bytes.size()) == bytes; }

// A byte of text as it stands in the narrow half of a UTF-16 character.
bool PLAIN(char c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'; }

bool CONTROL(unsigned char c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v') || c == 0x7F;
}

// The length of the UTF-8 character at text[at] (a byte of 0x80 or above), or 0 when the bytes
// there are none.
std::size_t UTF8_LENGTH(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3
                             : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || at + length > text.size()) return 0;
    for (std::size_t n = 1; n < length; ++n) {
        const auto next = static_cast<unsigned char>(text[at + n]);
        if (next < 0x80 || next > 0xBF) return 0;
    }
    const auto second = static_cast<unsigned char>(text[at + 1]);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;  // overlong forms, surrogates, beyond U+10FFFF
    return length;
}

// A UTF-8 character that moves or hides text on a terminal: the C1 controls, the line and
// paragraph separators, the bidirectional embeddings, overrides and isolates.
bool STEERING(std::string_view c) {
    const auto b = [&](std::size_t n) { return static_cast<unsigned char>(c[n]); };
    if (c.size() == 2) return b(0) == 0xC2 && b(1) <= 0x9F;
    if (c.size() != 3 || b(0) != 0xE2) return false;
    return (b(1) == 0x80 && b(2) >= 0xA8 && b(2) <= 0xAE) || (b(1) == 0x81 && b(2) >= 0xA6 && b(2) <= 0xA9);
}

void ESCAPE(std::string& out, std::string_view bytes) {
    static constexpr char hex[] = "0123456789ABCDEF";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        out += "\\x";
        out += hex[u >> 4];
        out += hex[u & 0xF];
    }
}

[[noreturn]] void REFUSE_ERRNO(std::string_view what, int error) { REFUSE(std::string(what) + ": " + std::strerror(error)); }

}  // namespace

void REFUSE(std::string text) { throw run_stop{run_stop::channel::input, std::move(text)}; }

std::string SHOWN_TEXT(std::string_view bytes, std::size_t most) {
    std::string out;
    std::size_t shown = 0, at = 0;
    while (at < bytes.size()) {
        if (shown == most) {
            out += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 1;
        if (byte < 0x80) {
            if (byte < 0x20 || byte == 0x7F) ESCAPE(out, bytes.substr(at, 1));
            else out += bytes[at];
        } else if ((length = UTF8_LENGTH(bytes, at)) == 0) {
            length = 1;
            ESCAPE(out, bytes.substr(at, 1));
        } else if (STEERING(bytes.substr(at, length))) {
            ESCAPE(out, bytes.substr(at, length));
        } else {
            out.append(bytes.substr(at, length));
        }
        at += length;
        ++shown;
    }
    return out;
}

file_identity IDENTITY_OF(std::string_view path) {
    struct stat status {};
    if (::stat(std::string(path).c_str(), &status) != 0) return {};
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino), true};
}

std::string READ_TABLE_FILE(std::string_view path, file_identity& identity) {
    if (path.find('\0') != std::string_view::npos) REFUSE("the table's name holds a NUL character");
    open_descriptor file;
    // O_NONBLOCK keeps the open of a FIFO from waiting for a writer; it is refused below.
    file.fd = ::open(std::string(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (file.fd < 0) REFUSE_ERRNO("cannot open the table", errno);
    struct stat status {};
    if (::fstat(file.fd, &status) != 0) REFUSE_ERRNO("cannot read the table", errno);
    if (S_ISDIR(status.st_mode)) REFUSE("is a directory, not a table");
    if (!S_ISREG(status.st_mode)) REFUSE("is not a regular file (a device, a pipe or a socket), not a table");
    if (status.st_size > table_byte_limit)
        REFUSE("holds " + std::to_string(status.st_size) + " bytes; a table may hold at most " +
               std::to_string(table_byte_limit) + " (2 GiB)");
    identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino), true};
    const int flags = ::fcntl(file.fd, F_GETFL);
    if (flags >= 0) ::fcntl(file.fd, F_SETFL, flags & ~O_NONBLOCK);  // a regular file never waits

    // A file that reports size 0 may still hold bytes (kernel files): it is read in steps, to the limit.
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(status.st_size));
    std::size_t done = 0;
    std::array<char, 1 << 16> more{};  // what follows the size fstat gave, if anything
    while (true) {
        const bool full = done == bytes.size();
        const ssize_t got = full ? ::read(file.fd, more.data(), more.size())
                                 : ::read(file.fd, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            if (errno == EINTR) continue;
            REFUSE_ERRNO("cannot read the table", errno);
        }
        if (got == 0) break;
        if (full) {
            if (static_cast<std::int64_t>(done) + got > table_byte_limit)
                REFUSE("holds more than " + std::to_string(table_byte_limit) + " bytes (2 GiB), more than a table may hold");
            bytes.append(more.data(), static_cast<std::size_t>(got));
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

std::string_view TABLE_TEXT(std::string_view bytes) {
    if (bytes.empty()) REFUSE("the table is empty");
    // Compressed files, by their first bytes.
    struct packed {
        std::string_view magic, name;
    };
    static constexpr std::array<packed, 5> packings{{{"\x1F\x8B", "gzip"},
                                                     {"BZh", "bzip2"},
                                                     {std::string_view("\xFD" "7zXZ\0", 6), "xz"},
                                                     {"\x28\xB5\x2F\xFD", "zstd"},
                                                     {"PK\x03\x04", "zip"}}};
    for (const packed& p : packings)
        if (STARTS(bytes, p.magic) && (p.name != "bzip2" || (bytes.size() > 3 && bytes[3] >= '1' && bytes[3] <= '9')))
            REFUSE(std::string(p.name) + "-compressed: decompress it first");
    if (STARTS(bytes, std::string_view("\xFF\xFE\0\0", 4)) || STARTS(bytes, std::string_view("\0\0\xFE\xFF", 4)))
        REFUSE("UTF-32 text: save it as UTF-8");
    if (STARTS(bytes, "\xFF\xFE") || STARTS(bytes, "\xFE\xFF")) REFUSE("UTF-16 text: save it as UTF-8");
    // UTF-16 without a byte-order mark: the first characters are plain bytes each paired with a NUL.
    const std::size_t pairs = std::min<std::size_t>(8, bytes.size() / 2);
    bool little = pairs >= 2, big = pairs >= 2;
    for (std::size_t n = 0; n < pairs; ++n) {
        little = little && PLAIN(bytes[2 * n]) && bytes[2 * n + 1] == '\0';
        big = big && bytes[2 * n] == '\0' && PLAIN(bytes[2 * n + 1]);
    }
    if (little || big) REFUSE("UTF-16 text: save it as UTF-8");
    if (STARTS(bytes, "\xEF\xBB\xBF")) bytes.remove_prefix(3);
    // Binary: a control byte among the first four, or several among the first 512.
    int controls = 0;
    for (std::size_t n = 0; n < std::min<std::size_t>(512, bytes.size()); ++n)
        if (CONTROL(static_cast<unsigned char>(bytes[n])) && (n < 4 || ++controls > 8))
            REFUSE("looks binary, not a text table");
    return bytes;
}

}  // namespace orvex::mapimport
