// input_file.h: opening a file the run reads (the control file or a field file).
//
// WHAT IT IS
//   A file is opened for reading only, as an existing regular file; it is never created. A
//   missing or unreadable file, a directory or anything that is not a regular file (a pipe, a
//   device) ends the run through INPUT_FAILURE naming the file. Opening never blocks: a FIFO is
//   refused, not waited on. A regular file that reports size 0 may still hold data (kernel files
//   under /proc): its size is then not known, and reading it never waits.
//
// HOW TO CALL IT
//   input_file file; OPEN_INPUT_FILE(file, path);
//   if (!READ_INPUT_BYTES(file, offset, destination, length, "record 5")) the file ended;
//
// ASSUMES AND LIMITS
//   The descriptor is closed when the record goes out of scope, also when the run stops.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orvex {

// An open input file: its descriptor, its size when opened and the name used in messages.
// Closing happens when the record goes out of scope, also when the run stops mid-read.
struct input_file {
    int fd = -1;
    std::int64_t size = 0;  // 0 for an empty file and for a file whose size is not known
    std::string name;  // the name as opened

    input_file() = default;
    input_file(const input_file&) = delete;
    input_file& operator=(const input_file&) = delete;
    ~input_file();
};

// Opens path (taken as it stands, blanks included) into file, or ends the run.
void OPEN_INPUT_FILE(input_file& file, std::string_view path);

// Closes the file if it is open.
void CLOSE_INPUT_FILE(input_file& file);

// Reads exactly length bytes at offset into destination; false when the file ends first.
// A read error (not the end of the file) ends the run through INPUT_FAILURE with place.
bool READ_INPUT_BYTES(const input_file& file, std::int64_t offset, void* destination, std::size_t length,
                      std::string_view place);

}  // namespace orvex
