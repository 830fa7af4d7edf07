// file_output.h: a file written whole or not at all.
//
// WHAT IT IS
//   WRITE_FILE_ATOMICALLY puts bytes into a file under its final name in one step: it writes
//   them to a temporary file created exclusively beside the target (a short hidden name,
//   ".orvex_" and six random characters, in the target's directory, so that a target name of
//   any length the file system takes gets one), then renames that over the target. A reader
//   sees the old file or the new one, never a part; a failed write leaves no file behind and
//   the old file, if any, untouched. A write beyond the process's file-size limit fails like
//   any other ("File too large") instead of ending the process with SIGXFSZ.
//
// HOW TO CALL IT
//   std::string why;
//   if (!WRITE_FILE_ATOMICALLY("profiles.csv", text, &why)) report "cannot write profiles.csv: " + why;
//
// ASSUMES AND LIMITS
//   A POSIX file system on which rename within a directory replaces the target atomically. A
//   replaced regular file keeps its permission bits; a new file gets 0666 less the umask, as
//   fopen would give it (the umask is read by setting it and back, and SIGXFSZ is ignored
//   during the write: call from one thread at a time). The data is not synced to the disk: it
//   survives the program, not a power cut. A symbolic link as target is replaced by the file,
//   not followed. why, when given, gets a short lower-case reason ("cannot create a temporary
//   file beside it: Permission denied").
//   WRITE_NEW_FILE_ATOMICALLY writes the same way but never replaces anything: the complete
//   temporary file is linked to the target's name only while that name is free (any entry of
//   it, a dangling link included, is left as it is and the write fails with "File exists").
//   It needs a file system with hard links.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace orvex {

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why = nullptr);

// The same, for a file built in pieces (written one after another, as one file).
bool WRITE_FILE_ATOMICALLY(std::string_view path, std::span<const std::string_view> pieces, std::string* why = nullptr);

// A file written whole under a name that no entry holds yet; false (and nothing written) otherwise.
bool WRITE_NEW_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why = nullptr);

}  // namespace orvex
