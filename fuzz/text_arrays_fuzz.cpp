// text_arrays_fuzz.cpp: arbitrary text as a text array map.
//
// The first byte picks the kind the name gave; the rest is the file. A read either stops with
// one line or leaves a kind that follows n_cell.
#include <cstddef>
#include <cstdint>

#include "field_grid.h"
#include "field_readers.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvex;
    if (size == 0) return 0;
    fuzz::ENTER_FUZZ_DIR();
    fuzz::WRITE_INPUT("MW_fuzz.txt", data + 1, size - 1);
    const std::int32_t named_kind = data[0] % 4 == 3 ? 9 : data[0] % 4;
    field_grid.field_kind = named_kind;
    try {
        READ_FIELD_ARRAYS(array_layout::text, "MW_fuzz.txt");
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return 0;
    }
    const std::int32_t expect = field_grid.n_cell > 0 ? 2 : named_kind;
    if (field_grid.field_kind != expect) __builtin_trap();
    return 0;
}
