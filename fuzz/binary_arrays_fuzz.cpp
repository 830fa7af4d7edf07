// binary_arrays_fuzz.cpp: arbitrary bytes as a binary array map.
//
// The first byte picks the kind the name gave (0, 1, 2, or one the classification never gives);
// the rest is the file. A read either stops with one line or leaves a kind of 0, 1 or 2 that
// follows n_cell; sanitizers watch every record landing in the fixed arrays.
#include <cstddef>
#include <cstdint>

#include "field_grid.h"
#include "field_readers.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvex;
    if (size == 0) return 0;
    fuzz::ENTER_FUZZ_DIR();
    fuzz::WRITE_INPUT("MW_fuzz.bin", data + 1, size - 1);
    const std::int32_t named_kind = data[0] % 4 == 3 ? 9 : data[0] % 4;
    field_grid.field_kind = named_kind;
    try {
        READ_FIELD_ARRAYS(array_layout::binary, "MW_fuzz.bin");
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return 0;
    }
    const std::int32_t expect = field_grid.n_cell > 0 ? 2 : named_kind;
    if (field_grid.field_kind != expect) __builtin_trap();
    return 0;
}
