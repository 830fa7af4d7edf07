// file_output.h: a file written whole or not at all.
//
// WHAT IT IS
//   WRITE_FILE_ATOMICALLY puts bytes into a file under its final name in one step: it writes
//   them to a temporary file created exclusively beside the target (a short hidden name,
//   ".orvex_" and six random characters, in the target's directory, so that a target name of
//   any length the file system takes gets one), then renames that over the target. A reader
//   sees the old file or the new one, never a part; a failed write leaves no file behind and
//   the old file, if any, untouched. A write beyond the process's file-size limit fails like
//   any other ("File too large") instead of ending the process with SIGXFSZ. A signal that
//   would end the process while the temporary file exists (SIGINT, SIGTERM, SIGHUP, SIGQUIT
//   at their default action) removes the temporary file first, then ends the process as it
//   would have.
//   WRITE_FILE_ATOMICALLY_AT takes a relative path from an open directory instead of the
//   working directory (openat, renameat): a run writes where it was started even when that
//   directory's absolute name is longer than PATH_MAX.
//   SAME_FILE says whether two names reach one file (links followed, hard links included).
//
// HOW TO CALL IT
//   std::string why;
//   if (!WRITE_FILE_ATOMICALLY("profiles.csv", text, &why)) report "cannot write profiles.csv: " + why;
//   const int start = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);     // before a chdir
//   WRITE_FILE_ATOMICALLY_AT(start, "map.csv", pieces, &why);
//
// ASSUMES AND LIMITS
//   A POSIX file system on which rename within a directory replaces the target atomically. A
//   replaced regular file keeps its permission bits; a new file gets 0666 less the umask, as
//   fopen would give it (the umask is read by setting it and back, and SIGXFSZ is ignored
//   during the write: call from one thread at a time). A signal whose action is not the
//   default (ignored, or a handler of the program's own) is left alone. The data is not
//   synced to the disk: it survives the program, not a power cut. A symbolic link as target is
//   replaced by the file, not followed. why, when given, gets a short lower-case reason
//   ("cannot create a temporary file beside it: Permission denied").
//   WRITE_NEW_FILE_ATOMICALLY writes the same way but never replaces anything: the complete
//   temporary file is linked to the target's name only while that name is free (any entry of
//   it, a dangling link included, is left as it is and the write fails with "File exists").
//   It needs a file system with hard links.
#pragma once

#include <fcntl.h>

#include <span>
#include <string>
#include <string_view>

namespace orvex {

// The directory a relative path is taken from when no other is open: the working directory.
inline constexpr int working_directory = AT_FDCWD;

bool WRITE_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why = nullptr);

// The same, for a file built in pieces (written one after another, as one file).
bool WRITE_FILE_ATOMICALLY(std::string_view path, std::span<const std::string_view> pieces, std::string* why = nullptr);

// A file written whole under a name that no entry holds yet; false (and nothing written) otherwise.
bool WRITE_NEW_FILE_ATOMICALLY(std::string_view path, std::string_view bytes, std::string* why = nullptr);

// The same, path taken from the directory open as directory (or working_directory).
bool WRITE_FILE_ATOMICALLY_AT(int directory, std::string_view path, std::span<const std::string_view> pieces,
                              std::string* why = nullptr);

// True when name a (from directory da) and name b (from db) are one existing file.
bool SAME_FILE(int da, std::string_view a, int db, std::string_view b);

}  // namespace orvex
