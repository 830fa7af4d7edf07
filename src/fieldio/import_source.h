// import_source.h: a solver's table taken from its file, told what its bytes are, and any of its
// bytes shown safely in a message.
//
// WHAT IT IS
//   READ_TABLE_FILE opens the table for reading only and without blocking (a FIFO is refused,
//   never waited on), and takes only a regular file: a directory, a device such as /dev/zero,
//   a pipe or a socket is refused. A file larger than table_byte_limit is refused before a
//   byte is read, so a sparse file of 10 GB costs nothing. identity gives the file's device and
//   inode, so the caller can refuse an output that is this same file.
//   TABLE_TEXT tells what the bytes are: a UTF-8 byte-order mark is passed over; UTF-16 or
//   UTF-32 text ("UTF-16 text: save it as UTF-8"), a compressed file ("gzip-compressed:
//   decompress it first") and bytes that do not start like text ("looks binary, not a text
//   table") are refused; an empty file too.
//   SHOWN_TEXT gives bytes of a table or a name as a message may quote them: the control
//   characters (below 0x20, 0x7F, the C1 controls U+0080 to U+009F, the line and paragraph
//   separators and the bidirectional overrides) and every byte that is no part of a UTF-8
//   character are written as \xNN, and the text is cut after `most` characters with "...", so
//   a line of 20 MB is never quoted whole and nothing quoted can drive a terminal.
//
// HOW TO CALL IT
//   file_identity table_id;
//   const std::string bytes = READ_TABLE_FILE(path, table_id);     // a refusal is a run_stop
//   const std::string_view text = TABLE_TEXT(bytes);               // without a byte-order mark
//   "\"" + SHOWN_TEXT(field) + "\" is not a number"
//
// ASSUMES AND LIMITS
//   The whole table is read into memory (the largest map's whole-region table is about 210 MB).
//   A refusal is a run_stop of the input channel whose message is the one line without the
//   program's name; an allocation that fails is std::bad_alloc, for the caller to report.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orvex::mapimport {

inline constexpr std::int64_t table_byte_limit = std::int64_t{2} << 30;  // 2 GiB

struct file_identity {
    std::uint64_t device = 0, inode = 0;
    bool known = false;
};

std::string READ_TABLE_FILE(std::string_view path, file_identity& identity);

// The identity of the file a path names (links followed); known is false when there is none.
file_identity IDENTITY_OF(std::string_view path);

std::string_view TABLE_TEXT(std::string_view bytes);

std::string SHOWN_TEXT(std::string_view bytes, std::size_t most = 60);

// Throws the run_stop of a table that cannot be imported: text is the whole line, already
// shown safely where it quotes the table.
[[noreturn]] void REFUSE(std::string text);

}  // namespace orvex::mapimport
