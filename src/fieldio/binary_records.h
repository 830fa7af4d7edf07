// binary_records.h: sequential binary records, each framed by its body length.
//
// WHAT IT IS
//   A record is a 4-byte little-endian signed length n, n bytes of body, and n again. Records
//   are read in order from the start of the file, each straight into its destination. A record
//   longer than its destination is accepted and the rest of its body skipped. Every other
//   deviation ends the run through INPUT_FAILURE naming the file, the record ("record 5") and
//   what was wrong:
//     - the file ends before the record (or before its length);
//     - a negative length;
//     - a length running past the end of the file;
//     (either says "the file looks big-endian" when the length read big-endian would fit)
//     - a body shorter than the values it must supply;
//     - a trailing length that differs from the leading one.
//
// HOW TO CALL IT
//   record_file records; OPEN_RECORDS(records, path);
//   READ_RECORD(records, header_bytes, "d_elm, aper, n_cell"); READ_RECORD_REALS(records, g.xmws, "xmws");
//   CLOSE_RECORDS(records);  // or let the record go out of scope
//
// ASSUMES AND LIMITS
//   Values are little-endian on disk whatever the machine. Nothing is allocated per record; a
//   skipped tail is never read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "fieldio/input_file.h"

namespace orvex {

struct record_file {
    input_file file;
    std::int64_t offset = 0;   // where the next record starts
    std::int32_t record = 0;   // 1-based number of the last record begun
};

// Opens path (taken as it stands) at its first record.
void OPEN_RECORDS(record_file& records, std::string_view path);
void CLOSE_RECORDS(record_file& records);

// Reads the next record into body (body.size() bytes needed); what names the record's content
// for messages ("xmws").
void READ_RECORD(record_file& records, std::span<std::byte> body, std::string_view what);

// Reads the next record as little-endian doubles into values.
void READ_RECORD_REALS(record_file& records, std::span<double> values, std::string_view what);

// Little-endian values at the start of bytes (which must hold 4 or 8 bytes).
std::int32_t LITTLE_ENDIAN_INT32(std::span<const std::byte> bytes);
double LITTLE_ENDIAN_REAL(std::span<const std::byte> bytes);

}  // namespace orvex
