// binary_records.cpp: reading framed binary records straight into their destinations.
#include "fieldio/binary_records.h"

#include <bit>
#include <cstring>
#include <string>

#include "console/run_stop.h"

namespace orvex {
namespace {

std::string RECORD_PLACE(std::int32_t record) { return "record " + std::to_string(record); }

[[noreturn]] void FAIL_RECORD(const record_file& records, const std::string& what) {
    INPUT_FAILURE(records.file.name, RECORD_PLACE(records.record), what);
}

std::uint64_t BYTE_SWAPPED(std::uint64_t v) {
    std::uint64_t r = 0;
    for (int n = 0; n < 8; ++n) r = (r << 8) | ((v >> (8 * n)) & 0xffu);
    return r;
}

// "; the file looks big-endian" when a length that does not fit read little-endian would fit
// read big-endian (a file written on a big-endian machine), otherwise "".
std::string BIG_ENDIAN_HINT(const record_file& records, std::int64_t start, const std::byte* framing,
                            std::size_t needed) {
    const std::byte reversed[4] = {framing[3], framing[2], framing[1], framing[0]};
    const std::int64_t length = LITTLE_ENDIAN_INT32(reversed);
    const bool fits = length >= static_cast<std::int64_t>(needed) && start + 4 + length + 4 <= records.file.size;
    return fits ? "; the file looks big-endian" : "";
}

}  // namespace

std::int32_t LITTLE_ENDIAN_INT32(std::span<const std::byte> bytes) {
    std::uint32_t v = 0;
    for (int n = 3; n >= 0; --n) v = (v << 8) | std::to_integer<std::uint32_t>(bytes[static_cast<std::size_t>(n)]);
    return static_cast<std::int32_t>(v);
}

double LITTLE_ENDIAN_REAL(std::span<const std::byte> bytes) {
    std::uint64_t v = 0;
    for (int n = 7; n >= 0; --n) v = (v << 8) | std::to_integer<std::uint64_t>(bytes[static_cast<std::size_t>(n)]);
    return std::bit_cast<double>(v);
}

void OPEN_RECORDS(record_file& records, std::string_view path) {
    OPEN_INPUT_FILE(records.file, path);
    records.offset = 0;
    records.record = 0;
}

void CLOSE_RECORDS(record_file& records) { CLOSE_INPUT_FILE(records.file); }

void READ_RECORD(record_file& records, std::span<std::byte> body, std::string_view what) {
    ++records.record;
    const std::string place = RECORD_PLACE(records.record);
    const std::int64_t start = records.offset;
    std::byte framing[4];
    if (!READ_INPUT_BYTES(records.file, start, framing, sizeof framing, place))
        FAIL_RECORD(records, "file ends before the record of " + std::string(what));
    const std::int32_t length = LITTLE_ENDIAN_INT32(framing);
    if (length < 0)
        FAIL_RECORD(records, "negative record length " + std::to_string(length) +
                                 BIG_ENDIAN_HINT(records, start, framing, body.size()));
    // The size is known from the open; checking it first means no body is read from a file
    // too short to hold it. A file that reports size 0 (a kernel file) is read until it ends.
    const std::int64_t record_end = start + 4 + std::int64_t{length} + 4;
    if (records.file.size > 0 && record_end > records.file.size)
        FAIL_RECORD(records, "record length " + std::to_string(length) + " runs past the end of the file" +
                                 BIG_ENDIAN_HINT(records, start, framing, body.size()));
    if (static_cast<std::size_t>(length) < body.size())
        FAIL_RECORD(records, "record holds " + std::to_string(length) + " bytes, " + std::string(what) + " needs " +
                                 std::to_string(body.size()));
    if (!READ_INPUT_BYTES(records.file, start + 4, body.data(), body.size(), place) ||
        !READ_INPUT_BYTES(records.file, start + 4 + length, framing, sizeof framing, place))
        FAIL_RECORD(records, "file ends inside the record");  // the file shrank while being read
    const std::int32_t trailing = LITTLE_ENDIAN_INT32(framing);
    if (trailing != length)
        FAIL_RECORD(records, "trailing record length " + std::to_string(trailing) + " differs from leading length " +
                                 std::to_string(length));
    records.offset = record_end;
}

void READ_RECORD_REALS(record_file& records, std::span<double> values, std::string_view what) {
    READ_RECORD(records, std::as_writable_bytes(values), what);
    if constexpr (std::endian::native == std::endian::big) {
        for (double& v : values) v = std::bit_cast<double>(BYTE_SWAPPED(std::bit_cast<std::uint64_t>(v)));
    }
}

}  // namespace orvex
