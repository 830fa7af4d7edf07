// binary_arrays_fuzz.cpp: arbitrary bytes as a binary array map; sanitizers watch every record
// landing in the fixed arrays.
#include <cstddef>
#include <cstdint>

#include "fuzz_arrays.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return orvex::fuzz::FUZZ_ARRAY_LAYOUT(data, size, orvex::array_layout::binary, "MW_fuzz.bin");
}
