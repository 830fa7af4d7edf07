// hfill_fuzz.cpp: one- and two-dimensional histogram filling on arbitrary doubles and bin
// counts, in range and out of it.
//
// Layout of an input: byte 0 picks HFILL1X, HFILL1Y or HFILL2D; two bytes each give the bin
// counts (up to a little beyond the capacities, so refusals are reached); then the ranges as
// doubles and the values. A call either stops with one line or fills exactly what the filling
// rule gives: value v goes to bin trunc((v - lo) / w) + 1 with w = (hi - lo) / bins, values
// outside the bins (or NaN) go nowhere, 1-D counts add 1, 2-D counts add the weight rounded
// half away from zero, both saturating at the 32-bit limits.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <vector>

#include "fuzz_input.h"
#include "histo/histo.h"
#include "console/run_stop.h"

namespace {

using namespace orvex;

struct reader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool MORE(std::size_t n) const { return at + n <= size; }
    double REAL() {
        double v = 0.0;
        if (MORE(8)) std::memcpy(&v, data + at, 8);
        at += 8;
        return v;
    }
    // A bin count: mostly small (-20 .. 107), with the top bit of the first byte anywhere in
    // -20 .. most + 19, so that refusals and full capacities are reached too.
    int COUNT(int most) {
        int v = 0;
        if (MORE(2)) {
            const int raw = data[at] | (data[at + 1] << 8);
            v = (data[at] & 0x80) ? raw % (most + 40) - 20 : raw % 128 - 20;
        }
        at += 2;
        return v;
    }
};

int EXPECTED_BIN(double v, double lo, double hi, int bins) {
    const double w = (hi - lo) / bins;
    const double q = (v - lo) / w;
    if (!(q > -1.0 && q < bins)) return 0;
    return static_cast<int>(q) + 1;
}

std::int32_t SATURATED(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                             std::numeric_limits<std::int32_t>::max()));
}

// Large arrays are static: the 2-D count alone is 7.7 MB.
std::array<double, hist2d_x_capacity> xbin;
std::array<double, hist2d_y_capacity> ybin;
std::array<std::int32_t, count2d_capacity> count2d;
std::array<std::int32_t, count2d_capacity> expect2d;
std::array<std::int32_t, hfill_capacity> count1d;

void FUZZ_1D(reader& in, bool along_y) {
    const int bins = in.COUNT(hfill_capacity);
    const data_range lim = {in.REAL(), in.REAL()};
    std::vector<double> x;
    while (in.MORE(8)) x.push_back(in.REAL());
    const std::size_t used = static_cast<std::size_t>(std::clamp(bins, 0, hfill_capacity));
    try {
        if (along_y) HFILL1Y(x, lim, bins, std::span(xbin).first(used), std::span(count1d).first(used));
        else HFILL1X(x, lim, bins, std::span(xbin).first(used), std::span(count1d).first(used));
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return;
    }
    std::vector<std::int64_t> expect(used, 0);
    for (const double v : x) {
        const int k = EXPECTED_BIN(v, lim[0], lim[1], bins);
        if (k > 0) ++expect[static_cast<std::size_t>(k - 1)];
    }
    for (std::size_t i = 0; i < used; ++i)
        if (count1d[i] != SATURATED(expect[i])) __builtin_trap();
}

void FUZZ_2D(reader& in) {
    const int nbx = in.COUNT(hist2d_x_capacity), nby = in.COUNT(hist2d_y_capacity);
    const data_range xlim = {in.REAL(), in.REAL()}, ylim = {in.REAL(), in.REAL()};
    std::vector<double> x, y, w;
    while (in.MORE(24)) {
        x.push_back(in.REAL());
        y.push_back(in.REAL());
        w.push_back(in.REAL());
    }
    const std::size_t ux = static_cast<std::size_t>(std::clamp(nbx, 0, hist2d_x_capacity));
    const std::size_t uy = static_cast<std::size_t>(std::clamp(nby, 0, hist2d_y_capacity));
    try {
        HFILL2D(x, y, w, xlim, ylim, nbx, nby, std::span(xbin).first(ux), std::span(ybin).first(uy), count2d);
    } catch (const run_stop& stop) {
        fuzz::CHECK_STOP(stop);
        return;
    }
    for (std::size_t j = 1; j <= uy; ++j)
        for (std::size_t i = 1; i <= ux; ++i) expect2d[COUNT2D_INDEX(static_cast<int>(i), static_cast<int>(j))] = 0;
    for (std::size_t p = 0; p < x.size(); ++p) {
        const int i = EXPECTED_BIN(x[p], xlim[0], xlim[1], nbx), j = EXPECTED_BIN(y[p], ylim[0], ylim[1], nby);
        if (i == 0 || j == 0) continue;
        const double r = std::round(w[p]);
        if (!(r >= std::numeric_limits<std::int32_t>::min() && r <= std::numeric_limits<std::int32_t>::max())) continue;
        std::int32_t& c = expect2d[COUNT2D_INDEX(i, j)];
        c = SATURATED(std::int64_t{c} + static_cast<std::int64_t>(r));
    }
    for (std::size_t j = 1; j <= uy; ++j)
        for (std::size_t i = 1; i <= ux; ++i) {
            const std::size_t at = COUNT2D_INDEX(static_cast<int>(i), static_cast<int>(j));
            if (count2d[at] != expect2d[at]) __builtin_trap();
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    SET_CONSOLE_QUIET(true);
    reader in{data + 1, size - 1};
    switch (data[0] % 3) {
        case 0: FUZZ_1D(in, false); break;
        case 1: FUZZ_1D(in, true); break;
        default: FUZZ_2D(in); break;
    }
    return 0;
}
