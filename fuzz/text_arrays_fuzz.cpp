// text_arrays_fuzz.cpp: arbitrary text as a text array map.
#include <cstddef>
#include <cstdint>

#include "fuzz_arrays.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return orvex::fuzz::FUZZ_ARRAY_LAYOUT(data, size, orvex::array_layout::text, "MW_fuzz.txt");
}
