// field_readers.h: the three field-map layouts and their readers.
//
// WHAT IT IS
//     format_flag 0  binary array layout  READ_FIELD_ARRAYS(binary)
//     format_flag 1  text array layout    READ_FIELD_ARRAYS(text)
//     format_flag 2  node list layout     READ_FIELD_NODES()
//
//   Each reader opens file_name (the control file's name; leading blanks are removed), fills the
//   stored lattice of field_grid (or of the record it is handed: the other map of a comparison)
//   and its final field_kind, and closes the file. A damaged file
//   ends the run through INPUT_FAILURE; a node list whose counts are not 25, 25, 201 through
//   STOP_RUN.
//
// HOW TO CALL IT
//   READ_FIELD_ARRAYS(array_layout::binary, FIELD_FILE_NAME());   // format_flag 0
//   READ_FIELD_NODES(FIELD_FILE_NAME());                          // format_flag 2
//
// ASSUMES AND LIMITS
//   field_grid.field_kind holds the kind the name gave (CLASSIFY_FIELD_FILE). Neither reader writes
//   to the console; both leave every coordinate and stored value written (a node list of a kind
//   outside 0..2 reads no node line and leaves the arrays as they are).
#pragma once

#include <string_view>

namespace orvex {

struct field_grid_record;

inline constexpr std::string_view msg_count_mismatch = " Number of data points don't match internal tables ";

enum class array_layout { binary, text };

void READ_FIELD_ARRAYS(array_layout layout, std::string_view file_name);
void READ_FIELD_NODES(std::string_view file_name);
// The same into a record of its own (the other map of a comparison); g.field_kind holds the
// kind its name gave.
void READ_FIELD_ARRAYS(array_layout layout, std::string_view file_name, field_grid_record& g);
void READ_FIELD_NODES(std::string_view file_name, field_grid_record& g);

}  // namespace orvex
