// histo_fill.cpp: booking and filling of 1-D and 2-D histograms in one call (HFILL1X, HFILL1Y,
// HFILL2D). The bins, centres and counts live in the caller's arrays; nothing is drawn.
#include <cmath>
#include <cstdint>
#include <limits>

#include "histo/histo.h"
#include "histo/histo_check.h"

namespace orvex {

using histo_detail::CHECK_BINS;
using histo_detail::CHECK_LENGTH;
using histo_detail::CHECK_RANGE;

namespace {

constexpr double int32_low = std::numeric_limits<std::int32_t>::min();
constexpr double int32_high = std::numeric_limits<std::int32_t>::max();

// Bin centres ((i - 1) w + lo) + w / 2 for i = 1..nbins.
void SET_CENTRES(const data_range& lim, int nbins, double w, std::span<double> centre) {
    for (int i = 1; i <= nbins; ++i) centre[static_cast<std::size_t>(i - 1)] = ((i - 1) * w + lim[0]) + w / 2.0;
}

// The 1-based bin of v, trunc((v - lo) / w) + 1, or 0 when v is dropped: outside the bins or
// not a number. The quotient is compared in double before it is converted, so no value can
// overflow the index.
int BIN_OF(double v, double lo, double w, int nbins) {
    const double q = (v - lo) / w;
    if (!(q > -1.0 && q < nbins)) return 0;  // also false for NaN
    return static_cast<int>(q) + 1;
}

void FILL_1D(std::string_view routine, std::span<const double> x, const data_range& xlim, int nbins,
             std::span<double> xbin, std::span<std::int32_t> count) {
    CHECK_BINS(routine, "nbins", nbins, hfill_capacity);
    CHECK_RANGE(routine, "xlim", xlim);
    CHECK_LENGTH(routine, "xbin", xbin.size(), static_cast<std::size_t>(nbins));
    CHECK_LENGTH(routine, "count", count.size(), static_cast<std::size_t>(nbins));
    for (int i = 0; i < nbins; ++i) count[static_cast<std::size_t>(i)] = 0;
    const double w = (xlim[1] - xlim[0]) / nbins;
    SET_CENTRES(xlim, nbins, w, xbin);
    for (const double v : x) {
        const int k = BIN_OF(v, xlim[0], w, nbins);
        if (k == 0) continue;
        std::int32_t& c = count[static_cast<std::size_t>(k - 1)];
        if (c < std::numeric_limits<std::int32_t>::max()) ++c;  // saturates
    }
}

}  // namespace

void HFILL1X(std::span<const double> x, const data_range& xlim, int nbins, std::span<double> xbin,
             std::span<std::int32_t> count) {
    FILL_1D("HFILL1X", x, xlim, nbins, xbin, count);
}

void HFILL1Y(std::span<const double> x, const data_range& xlim, int nbins, std::span<double> xbin,
             std::span<std::int32_t> count) {
    FILL_1D("HFILL1Y", x, xlim, nbins, xbin, count);
}

void HFILL2D(std::span<const double> x, std::span<const double> y, std::span<const double> wgt,
             const data_range& xlim, const data_range& ylim, int nbx, int nby, std::span<double> xbin,
             std::span<double> ybin, std::span<std::int32_t> count) {
    constexpr std::string_view routine = "HFILL2D";
    CHECK_BINS(routine, "nbx", nbx, hist2d_x_capacity);
    CHECK_BINS(routine, "nby", nby, hist2d_y_capacity);
    CHECK_RANGE(routine, "xlim", xlim);
    CHECK_RANGE(routine, "ylim", ylim);
    if (y.size() != x.size() || wgt.size() != x.size()) {
        histo_detail::MISUSE(routine, "x, y and wgt differ in length");
    }
    CHECK_LENGTH(routine, "xbin", xbin.size(), static_cast<std::size_t>(nbx));
    CHECK_LENGTH(routine, "ybin", ybin.size(), static_cast<std::size_t>(nby));
    CHECK_LENGTH(routine, "count", count.size(), COUNT2D_INDEX(nbx, nby) + 1);
    for (int j = 1; j <= nby; ++j) {
        for (int i = 1; i <= nbx; ++i) count[COUNT2D_INDEX(i, j)] = 0;
    }
    const double wx = (xlim[1] - xlim[0]) / nbx;
    const double wy = (ylim[1] - ylim[0]) / nby;
    SET_CENTRES(xlim, nbx, wx, xbin);
    SET_CENTRES(ylim, nby, wy, ybin);
    for (std::size_t p = 0; p < x.size(); ++p) {
        const int i = BIN_OF(x[p], xlim[0], wx, nbx);
        const int j = BIN_OF(y[p], ylim[0], wy, nby);
        if (i == 0 || j == 0) continue;
        const double weight = std::round(wgt[p]);  // nearest integer, halves away from zero
        if (!(weight >= int32_low && weight <= int32_high)) continue;  // does not fit, or NaN
        std::int32_t& c = count[COUNT2D_INDEX(i, j)];
        const std::int64_t sum = std::int64_t{c} + static_cast<std::int64_t>(weight);
        c = static_cast<std::int32_t>(sum > std::numeric_limits<std::int32_t>::max()   ? std::numeric_limits<std::int32_t>::max()
                                      : sum < std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::min()
                                                                                       : sum);
    }
}

}  // namespace orvex
