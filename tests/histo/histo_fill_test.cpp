// Filling of 1-D and 2-D histograms: bin edges and centres, truncation toward zero, weights,
// dropped values, saturation and refused calls.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "console/console.h"
#include "console/run_stop.h"
#include "histo/histo.h"

namespace {

using orvex::COUNT2D_INDEX;

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();
constexpr double inf_value = std::numeric_limits<double>::infinity();
constexpr std::int32_t int32_max = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t int32_min = std::numeric_limits<std::int32_t>::min();

std::array<std::int32_t, orvex::count2d_capacity> cells;  // 7.7 MB, static

struct quiet_console {
    quiet_console() { orvex::SET_CONSOLE_QUIET(true); }
    ~quiet_console() { orvex::SET_CONSOLE_QUIET(false); }
};

TEST(Hfill1x, BinEdgesWithTruncationTowardZero) {
    const std::vector<double> x = {0.0, 9.999, 10.0, -0.5, -1.0, 5.0, 4.999999};
    std::array<double, 10> xbin{};
    std::array<std::int32_t, 10> count{};
    orvex::HFILL1X(x, {0.0, 10.0}, 10, xbin, count);
    // 0.0 and -0.5 in bin 1, 9.999 in bin 10, 10.0 and -1.0 dropped, 5.0 starts bin 6.
    const std::array<std::int32_t, 10> expected = {2, 0, 0, 0, 1, 1, 0, 0, 0, 1};
    EXPECT_EQ(count, expected);
    for (int i = 0; i < 10; ++i) EXPECT_DOUBLE_EQ(xbin[static_cast<std::size_t>(i)], 0.5 + i) << "bin " << i + 1;
}

TEST(Hfill1x, EmptyInputClearsOldCountsAndSetsCentres) {
    std::array<double, 4> xbin{};
    std::array<std::int32_t, 5> count = {7, 7, 7, 7, 7};
    orvex::HFILL1Y({}, {-2.0, 2.0}, 4, xbin, count);
    EXPECT_EQ(count, (std::array<std::int32_t, 5>{0, 0, 0, 0, 7}));  // only the 4 bins asked for
    EXPECT_EQ(xbin, (std::array<double, 4>{-1.5, -0.5, 0.5, 1.5}));
}

TEST(Hfill1x, ReversedRangeCountsDownward) {
    const std::vector<double> x = {9.5, 0.5, 10.5};
    std::array<double, 10> xbin{};
    std::array<std::int32_t, 10> count{};
    orvex::HFILL1X(x, {10.0, 0.0}, 10, xbin, count);
    // 9.5 is in the first bin of a range running from 10 down; 10.5 lies less than a bin
    // before the start and truncates into bin 1 as well.
    EXPECT_EQ(count[0], 2);
    EXPECT_EQ(count[9], 1);
    EXPECT_DOUBLE_EQ(xbin[0], 9.5);
}

TEST(Hfill1x, NotANumberAndFarValuesAreDropped) {
    const std::vector<double> x = {nan_value, 1e300, -1e300, inf_value, -inf_value, 3e9, -3e9, 1.0};
    std::array<double, 10> xbin{};
    std::array<std::int32_t, 10> count{};
    orvex::HFILL1X(x, {0.0, 10.0}, 10, xbin, count);
    std::int32_t total = 0;
    for (const auto c : count) total += c;
    EXPECT_EQ(total, 1);
    EXPECT_EQ(count[1], 1);
}

TEST(Hfill1x, CapacityAndArgumentsAreChecked) {
    quiet_console quiet;
    std::vector<double> xbin(1601, -1.0);
    std::vector<std::int32_t> count(1601, 5);
    const std::vector<double> x = {1.0};
    EXPECT_NO_THROW(orvex::HFILL1X(x, {0.0, 10.0}, 1600, xbin, count));
    std::fill(count.begin(), count.end(), 5);
    EXPECT_THROW(orvex::HFILL1X(x, {0.0, 10.0}, 1601, xbin, count), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {0.0, 10.0}, 0, xbin, count), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {0.0, 10.0}, 10, std::span(xbin).first(9), count), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {0.0, 10.0}, 10, xbin, std::span(count).first(9)), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {3.0, 3.0}, 10, xbin, count), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {0.0, nan_value}, 10, xbin, count), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL1X(x, {-1e308, 1e308}, 10, xbin, count), orvex::run_stop);
    // A refused call leaves the caller's arrays as they were.
    for (const auto c : count) ASSERT_EQ(c, 5);
    try {
        orvex::HFILL1Y(x, {0.0, 10.0}, 2000, xbin, count);
        FAIL() << "no stop";
    } catch (const orvex::run_stop& stop) {
        EXPECT_EQ(stop.message, "HFILL1Y: nbins = 2000 is not one of 1..1600");
    }
}

TEST(Hfill2d, WeightsRoundToNearestWithHalvesAwayFromZero) {
    // One point per cell along x: weights 0.4, 0.5, 2.5, -0.5, -2.5, 1.49.
    const std::vector<double> x = {0.5, 1.5, 2.5, 3.5, 4.5, 5.5};
    const std::vector<double> y(6, 0.5);
    const std::vector<double> w = {0.4, 0.5, 2.5, -0.5, -2.5, 1.49};
    std::array<double, 6> xbin{};
    std::array<double, 2> ybin{};
    orvex::HFILL2D(x, y, w, {0.0, 6.0}, {0.0, 2.0}, 6, 2, xbin, ybin, cells);
    const std::array<std::int32_t, 6> expected = {0, 1, 3, -1, -3, 1};
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(cells[COUNT2D_INDEX(i, 1)], expected[static_cast<std::size_t>(i - 1)]) << i;
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(cells[COUNT2D_INDEX(i, 2)], 0);
    EXPECT_EQ(xbin[5], 5.5);
    EXPECT_EQ(ybin, (std::array<double, 2>{0.5, 1.5}));
}

TEST(Hfill2d, CellsAreLaidOutWithStride1600AndOnlyThoseAskedForAreWritten) {
    cells.fill(9);
    // Cell (3, 2) of a 4 x 3 histogram over (0, 4) x (0, 3); two points add up.
    const std::vector<double> x = {2.5, 2.1, -0.5, 4.0};
    const std::vector<double> y = {1.5, 1.9, 0.5, 0.5};
    const std::vector<double> w = {1.0, 2.0, 1.0, 1.0};
    std::array<double, 4> xbin{};
    std::array<double, 3> ybin{};
    orvex::HFILL2D(x, y, w, {0.0, 4.0}, {0.0, 3.0}, 4, 3, xbin, ybin, cells);
    EXPECT_EQ(cells[2 + 1 * 1600], 3);
    EXPECT_EQ(cells[COUNT2D_INDEX(1, 1)], 1);  // -0.5 truncates into the first column
    EXPECT_EQ(cells[COUNT2D_INDEX(4, 1)], 0);  // 4.0 is at the upper limit: dropped
    EXPECT_EQ(cells[COUNT2D_INDEX(5, 1)], 9);  // beyond nbx: untouched
    EXPECT_EQ(cells[COUNT2D_INDEX(1, 4)], 9);  // beyond nby: untouched
}

TEST(Hfill2d, FarWeightsAreDroppedAndCellsSaturate) {
    const std::vector<double> x = {0.5, 0.5, 0.5, 1.5, 1.5, 1.5, 2.5, 2.5, 2.5, nan_value, 0.5};
    const std::vector<double> y = {0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 0.5, 1e300};
    const std::vector<double> w = {2147483000.0, 2147483000.0, 1.0,          // saturates high
                                   -2147483000.0, -2147483000.0, -1.0,       // saturates low
                                   3e9, nan_value, 2147483647.4,             // dropped, dropped, kept
                                   1.0, 1.0};
    std::array<double, 3> xbin{};
    std::array<double, 1> ybin{};
    orvex::HFILL2D(x, y, w, {0.0, 3.0}, {0.0, 1.0}, 3, 1, xbin, ybin, cells);
    EXPECT_EQ(cells[COUNT2D_INDEX(1, 1)], int32_max);
    EXPECT_EQ(cells[COUNT2D_INDEX(2, 1)], int32_min);
    EXPECT_EQ(cells[COUNT2D_INDEX(3, 1)], int32_max);
}

TEST(Hfill2d, ArgumentsAreChecked) {
    quiet_console quiet;
    const std::vector<double> x = {1.0}, y = {1.0}, w = {1.0};
    std::vector<double> xbin(1600), ybin(1200);
    EXPECT_NO_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 2.0}, 1600, 1200, xbin, ybin, cells));
    EXPECT_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 2.0}, 1601, 10, xbin, ybin, cells), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 2.0}, 10, 1201, xbin, ybin, cells), orvex::run_stop);
    EXPECT_THROW(orvex::HFILL2D(x, std::vector<double>{}, w, {0.0, 2.0}, {0.0, 2.0}, 10, 10, xbin, ybin, cells),
                 orvex::run_stop);
    EXPECT_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {2.0, 2.0}, 10, 10, xbin, ybin, cells), orvex::run_stop);
    // A count array that cannot hold row nby of the 1600-wide layout.
    std::vector<std::int32_t> short_cells(1600 * 9 + 9);
    EXPECT_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 2.0}, 10, 10, xbin, ybin, short_cells), orvex::run_stop);
    short_cells.push_back(0);
    EXPECT_NO_THROW(orvex::HFILL2D(x, y, w, {0.0, 2.0}, {0.0, 2.0}, 10, 10, xbin, ybin, short_cells));
}

}  // namespace
