// vplot_fuzz.cpp: the profile plot on arbitrary doubles: NaN, infinities, huge and tiny
// values, equal positions, any count up to a full line.
//
// Byte 0 picks the panel (sometimes one outside 1..30), the rest are (position, value) pairs.
// Sanitizers watch every pixel the curve, the numbers and the titles touch.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_input.h"
#include "page/page.h"
#include "page/vplot.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvex;
    static const bool laid_out = [] {
        SET_CONSOLE_QUIET(true);
        LAYOUT_PAGE();
        return true;
    }();
    static_cast<void>(laid_out);
    if (size == 0) return 0;
    const std::int32_t panel = static_cast<std::int32_t>(data[0] % 32);  // 0 and 31 are refused
    const std::size_t n = (size - 1) / 16;
    std::vector<double> pos(n), val(n);
    for (std::size_t i = 0; i < n; ++i) {
        std::memcpy(&pos[i], data + 1 + 16 * i, 8);
        std::memcpy(&val[i], data + 1 + 16 * i + 8, 8);
    }
    VPLOT1X(panel, static_cast<std::int32_t>(n), pos.data(), val.data(), "x (cm)", "Ex (V/cm)", 0x0000FF);
    // The number texts are fixed-width whatever the value.
    for (std::size_t i = 0; i < n; ++i) {
        static_cast<void>(FORMAT_POSITION(pos[i]));
        static_cast<void>(FORMAT_VALUE(val[i]));
    }
    return 0;
}
