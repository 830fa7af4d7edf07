// fuzz_arrays.h: the harness body of both array layouts (binary records and text arrays).
#pragma once

#include <cstddef>
#include <cstdint>

#include "console/run_stop.h"
#include "field/field_grid.h"
#include "fieldio/field_readers.h"
#include "fuzz_input.h"

namespace orvex::fuzz {

// One array-layout map from arbitrary bytes: the first byte picks the kind the name gave (0, 1,
// 2, or one the classification never gives), the rest is the file. A read either stops with one
// line or leaves the kind that n_cell decides.
inline int FUZZ_ARRAY_LAYOUT(const std::uint8_t* data, std::size_t size, array_layout layout, const char* name) {
    if (size == 0) return 0;
    ENTER_FUZZ_DIR();
    WRITE_INPUT(name, data + 1, size - 1);
    const std::int32_t named_kind = data[0] % 4 == 3 ? 9 : data[0] % 4;
    field_grid.field_kind = named_kind;
    try {
        READ_FIELD_ARRAYS(layout, name);
    } catch (const run_stop& stop) {
        CHECK_STOP(stop);
        return 0;
    }
    const std::int32_t expect = field_grid.n_cell > 0 ? 2 : named_kind;
    if (field_grid.field_kind != expect) __builtin_trap();
    return 0;
}

}  // namespace orvex::fuzz
