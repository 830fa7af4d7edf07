// text_open.cpp: opening a text file for the free-form reader: mapping it (or reading a file
// that cannot be mapped into memory), its byte-order mark, and giving back the pages read.
#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

#include "console/run_stop.h"
#include "fieldio/freeform.h"

namespace orvex {
namespace {

// The text of an empty file: a valid, empty range that is never mapped.
constexpr char empty_text[1] = {'\0'};

// Pages are given back once this much has been read past the last release.
constexpr std::size_t release_step = std::size_t{4} << 20;

// A mapped file that another program cuts short while it is read (an export rewriting the
// map, say) makes the next read of a vanished page raise SIGBUS. While a mapping is open, that
// signal ends the run with one line naming the file instead of a crash. The handler only
// writes and exits, both safe in a signal handler.
std::array<char, 600> sigbus_message{};
std::size_t sigbus_message_length = 0;
struct sigaction sigbus_previous {};
bool sigbus_guarded = false;

extern "C" void ON_SIGBUS(int) {
    const ssize_t ignored = ::write(2, sigbus_message.data(), sigbus_message_length);
    (void)ignored;
    ::_exit(1);
}

void GUARD_MAPPING(std::string_view name) {
    std::string message = "plot_orvex_3dfields: ";
    message += name.substr(0, 400);
    message += ": the file was cut short while it was being read\n";
    sigbus_message_length = std::min(message.size(), sigbus_message.size());
    std::memcpy(sigbus_message.data(), message.data(), sigbus_message_length);
    struct sigaction action {};
    action.sa_handler = ON_SIGBUS;
    sigemptyset(&action.sa_mask);
    sigbus_guarded = ::sigaction(SIGBUS, &action, &sigbus_previous) == 0;
}

void UNGUARD_MAPPING() {
    if (sigbus_guarded) ::sigaction(SIGBUS, &sigbus_previous, nullptr);
    sigbus_guarded = false;
}

bool MAP_TEXT(text_file& text) {
    const auto length = static_cast<std::size_t>(text.file.size);
    void* base = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, text.file.fd, 0);
    if (base == MAP_FAILED) return false;
    ::madvise(base, length, MADV_SEQUENTIAL);
    GUARD_MAPPING(text.file.name);
    text.map_base = base;
    text.map_length = length;
    text.begin = text.kept = static_cast<const char*>(base);
    text.end = text.begin + length;
    return true;
}

// A file that reports no size (kernel files under /proc) or cannot be mapped is read into
// memory, as far as the reader would ever look: longest_scan bytes. Its descriptor is still
// non-blocking when it reported size 0, so a read that would wait fails instead.
void READ_TEXT_INTO_MEMORY(text_file& text) {
    std::size_t capacity = std::size_t{64} << 10, length = 0;
    std::unique_ptr<char[]> buffer(new char[capacity]);
    while (true) {
        if (length == capacity) {
            if (capacity > longest_scan)
                INPUT_FAILURE(text.file.name, "",
                              "cannot be mapped and holds more than " + std::string(longest_scan_text));
            const std::size_t larger = std::min(capacity * 2, longest_scan + 1);
            std::unique_ptr<char[]> grown(new char[larger]);
            std::memcpy(grown.get(), buffer.get(), length);
            buffer = std::move(grown);
            capacity = larger;
        }
        const ssize_t got = ::read(text.file.fd, buffer.get() + length, capacity - length);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            INPUT_FAILURE(text.file.name, "", std::string("cannot read: ") + std::strerror(error));
        }
        if (got == 0) break;
        length += static_cast<std::size_t>(got);
    }
    if (length == 0) {
        text.begin = text.end = empty_text;
        return;
    }
    text.held = std::move(buffer);
    text.begin = text.held.get();
    text.end = text.begin + length;
}

bool STARTS_WITH(const text_file& text, std::string_view bytes) {
    return static_cast<std::size_t>(text.end - text.begin) >= bytes.size() &&
           std::memcmp(text.begin, bytes.data(), bytes.size()) == 0;
}

// The wide encoding a byte-order mark declares, or "".
std::string_view MARKED_ENCODING(const text_file& text) {
    if (STARTS_WITH(text, std::string_view("\xFF\xFE\0\0", 4)) || STARTS_WITH(text, std::string_view("\0\0\xFE\xFF", 4)))
        return "UTF-32";
    if (STARTS_WITH(text, "\xFF\xFE") || STARTS_WITH(text, "\xFE\xFF")) return "UTF-16";
    return "";
}

// A byte of text as it appears in the narrow half of a UTF-16 character.
bool PLAIN_BYTE(char c) { return (c >= 0x20 && c < 0x7F) || c == '\t' || c == '\n' || c == '\r'; }

}  // namespace

text_file::~text_file() { CLOSE_TEXT(*this); }

void OPEN_TEXT(text_file& text, std::string_view path) {
    CLOSE_TEXT(text);
    OPEN_INPUT_FILE(text.file, path);
    text.line = 1;
    if (text.file.size == 0 || !MAP_TEXT(text)) READ_TEXT_INTO_MEMORY(text);
    // The mapping stays valid without the descriptor.
    CLOSE_INPUT_FILE(text.file);

    const std::string_view wide = MARKED_ENCODING(text);
    if (!wide.empty())
        INPUT_FAILURE(text.file.name, "", "the file is " + std::string(wide) + " text; save it as plain text");
    if (STARTS_WITH(text, "\xEF\xBB\xBF")) text.begin += 3;  // UTF-8 byte-order mark
    text.pos = text.begin;
}

void CLOSE_TEXT(text_file& text) {
    if (text.map_base != nullptr) {
        ::munmap(text.map_base, text.map_length);
        UNGUARD_MAPPING();
    }
    text.map_base = nullptr;
    text.map_length = 0;
    text.held.reset();
    text.begin = text.end = text.pos = text.kept = nullptr;
    CLOSE_INPUT_FILE(text.file);
}

void RELEASE_READ_PAGES(text_file& text) {
    if (text.map_base == nullptr || static_cast<std::size_t>(text.pos - text.kept) < release_step) return;
    // One page before pos stays: messages look at the character before it.
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    const auto base = reinterpret_cast<std::uintptr_t>(text.map_base);
    const auto upto = (reinterpret_cast<std::uintptr_t>(text.pos) - page) / page * page;
    const auto from = reinterpret_cast<std::uintptr_t>(text.kept);
    if (upto <= from || upto < base) return;
    ::madvise(reinterpret_cast<void*>(from), upto - from, MADV_DONTNEED);
    text.kept = reinterpret_cast<const char*>(upto);
}

std::string_view WIDE_ENCODING(const text_file& text) {
    const std::string_view marked = MARKED_ENCODING(text);
    if (!marked.empty()) return marked;
    // Without a byte-order mark: the first characters are plain bytes each paired with a NUL.
    const std::size_t pairs = std::min<std::size_t>(8, static_cast<std::size_t>(text.end - text.begin) / 2);
    if (pairs < 2) return "";
    bool little = true, big = true;
    for (std::size_t n = 0; n < pairs; ++n) {
        const char a = text.begin[2 * n], b = text.begin[2 * n + 1];
        little = little && PLAIN_BYTE(a) && b == '\0';
        big = big && a == '\0' && PLAIN_BYTE(b);
    }
    return little || big ? "UTF-16" : "";
}

bool STARTS_BINARY(const text_file& text) {
    const std::size_t first = std::min<std::size_t>(4, static_cast<std::size_t>(text.end - text.begin));
    for (std::size_t n = 0; n < first; ++n) {
        const auto c = static_cast<unsigned char>(text.begin[n]);
        if (c < 0x20 ? c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' : c == 0x7F) return true;
    }
    return false;
}

}  // namespace orvex
