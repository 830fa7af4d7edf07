// module_open.cpp: a module opened by its full path, after its file has been checked.
#include "console/module_open.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <vector>

namespace orvex {

namespace {

namespace fs = std::filesystem;

// Where the module may be, in order (module_open.h says why only these).
std::vector<std::string> MODULE_PLACES(const char* file) {
    std::vector<std::string> places;
    const std::string installed = std::string(ORVEX_MODULE_DIR "/") + file;
    std::error_code no_path;
    const fs::path program = fs::canonical("/proc/self/exe", no_path);
    if (no_path) return {installed};
    const fs::path build_tree = fs::weakly_canonical(ORVEX_BUILD_TREE, no_path);
    const auto [tree_end, program_end] = std::mismatch(build_tree.begin(), build_tree.end(), program.begin(), program.end());
    if (!no_path && tree_end == build_tree.end() && program_end != program.end())
        return {std::string(ORVEX_MODULE_BUILD_DIR "/") + file};
    places.push_back((program.parent_path() / ORVEX_MODULE_FROM_BIN / file).lexically_normal().string());
    if (places.front() != installed) places.push_back(installed);
    return places;
}

// The running program's own ELF header, placed by the linker.
extern "C" const Elf64_Ehdr __ehdr_start;

// What is wrong with a 64-bit ELF file of this program's byte order that the loader would not
// say well: another machine (it calls that "No such file"), or a program header or segment
// beyond the file's end (it would map it and fault on reading it). Empty otherwise, and for
// every other file, which the loader checks and names itself.
std::string ELF_FAULT(int fd, off_t size) {
    Elf64_Ehdr header{};
    if (::pread(fd, &header, sizeof header, 0) != static_cast<ssize_t>(sizeof header)) return {};
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_ident[EI_DATA] != __ehdr_start.e_ident[EI_DATA] || header.e_phentsize != sizeof(Elf64_Phdr)) {
        return {};
    }
    if (header.e_machine != __ehdr_start.e_machine)
        return "it is built for another machine (ELF machine " + std::to_string(header.e_machine) + ", this one " +
               std::to_string(__ehdr_start.e_machine) + ")";
    const auto file_size = static_cast<std::uint64_t>(size);
    const std::string truncated = "the file is truncated (" + std::to_string(file_size) + " bytes)";
    if (header.e_phoff > file_size || header.e_phnum > (file_size - header.e_phoff) / sizeof(Elf64_Phdr)) return truncated;
    for (unsigned n = 0; n < header.e_phnum; ++n) {
        Elf64_Phdr segment{};
        if (::pread(fd, &segment, sizeof segment, static_cast<off_t>(header.e_phoff + n * sizeof segment)) !=
            static_cast<ssize_t>(sizeof segment)) {
            return truncated;
        }
        if (segment.p_filesz > 0 && (segment.p_offset > file_size || segment.p_filesz > file_size - segment.p_offset))
            return truncated;
    }
    return {};
}

std::string KIND_OF(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a directory";
    if (S_ISFIFO(mode)) return "it is a FIFO, not a regular file";
    if (S_ISSOCK(mode)) return "it is a socket, not a regular file";
    return "it is a device, not a regular file";
}

// The loader's reason without the name it was handed in front.
std::string LOADER_REASON(const std::string& handed) {
    const char* error = ::dlerror();
    std::string reason = error != nullptr ? error : "the loader gives no reason";
    if (reason.starts_with(handed + ": ")) reason.erase(0, handed.size() + 2);
    return reason;
}

// Opens the module at path; the address of its entry, or null with why.
void* OPEN_AT(const std::string& path, const char* entry_name, std::string& why) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return nullptr;
    }
    struct stat file {};
    if (::fstat(fd, &file) != 0) why = std::strerror(errno);
    else if (!S_ISREG(file.st_mode)) why = KIND_OF(file.st_mode);
    else why = ELF_FAULT(fd, file.st_size);
    void* module = nullptr;
    if (why.empty()) {
        // The file checked is the file loaded: the loader opens it through this descriptor.
        const std::string handed = "/proc/self/fd/" + std::to_string(fd);
        struct stat same {};
        const bool by_descriptor = ::stat(handed.c_str(), &same) == 0 && same.st_ino == file.st_ino && same.st_dev == file.st_dev;
        const std::string name = by_descriptor ? handed : path;
        module = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) why = LOADER_REASON(name);
    }
    ::close(fd);
    if (module == nullptr) return nullptr;
    void* entry = ::dlsym(module, entry_name);
    if (entry == nullptr) why = "it is from another build of the program";
    return entry;
}

}  // namespace

module_opening OPEN_MODULE(const char* file, const char* entry) {
    const std::vector<std::string> places = MODULE_PLACES(file);
    module_opening opened;
    for (const std::string& place : places) {
        struct stat there {};
        if (::lstat(place.c_str(), &there) != 0 && errno == ENOENT) continue;
        opened.path = place;
        opened.entry = OPEN_AT(place, entry, opened.why);
        return opened;
    }
    opened.path = places.front();
    opened.why = std::strerror(ENOENT);
    return opened;
}

}  // namespace orvex
