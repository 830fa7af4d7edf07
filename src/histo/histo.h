// histo.h: a small histogram and plot library that draws on the page of the drawing surface.
//
// WHAT IT DOES
//   Lays out up to ten rectangular graphs on the 1280 x 800 page (graph_table), fills one- and
//   two-dimensional histograms into arrays the caller owns, and draws them: a 1-D histogram as
//   a polyline through its bin centres with linear or log-10 counts, a 2-D histogram as one
//   pixel per non-empty cell, straight grid lines, axis numbers and titles, and a Twiss ellipse.
//   Colours are packed 24-bit integers (red in the low byte, see surface.h). The library keeps
//   nothing between calls except graph_table, which only the caller writes.
//
// HOW TO CALL IT
//   A whole program, line for line (the install test builds and runs it as it stands here; it
//   writes my_plot.png without a display). The page starts black: clear it to white first.
//
//     #include <array>
//     #include <cstdint>
//     #include <random>
//     #include <vector>
//     #include "console/run_stop.h"
//     #include "histo/histo.h"
//     #include "show/show_page.h"
//     #include "surface/surface.h"
//
//     int main() try {
//         // 1. A white page, its caption and the fonts.
//         orvex::OPEN_PLOT_WINDOW("My plot");
//         orvex::SET_BACK_COLOUR(orvex::PACKED_RGB(255, 255, 255));
//         orvex::CLEAR_WINDOW();
//         orvex::LOAD_FONTS();
//         // 2. The graphs you use (graph g is graph_table[g - 1]).
//         orvex::graph_table[0] = {.ix1 = 70, .ix2 = 550, .iy1 = 70, .iy2 = 370,
//                                  .ndiv_x = 10, .ndiv_y = 5, .active = 1};
//         // 3. Fill: the values, the bins and the counts are your arrays.
//         std::mt19937 engine(1);
//         std::normal_distribution<double> gauss(0.0, 1.5);
//         std::vector<double> values(10000);
//         for (double& v : values) v = gauss(engine);
//         static std::array<double, 100> xbin;
//         static std::array<std::int32_t, 100> count;
//         orvex::HFILL1X(values, {-5.0, 5.0}, 100, xbin, count);
//         // 4. Draw: a grey grid, a black frame, the counts in red, the numbers in black.
//         const std::array<double, 11> across = {-5, -4, -3, -2, -1, 0, 1, 2, 3, 4, 5};
//         const std::array<double, 6> up = {0, 100, 200, 300, 400, 500};
//         orvex::GRID2D(1, {-5.0, 5.0}, {0.0, 500.0}, across, up, orvex::PACKED_RGB(200, 200, 200));
//         orvex::GRID2D(1, {-5.0, 5.0}, {0.0, 500.0}, std::array{-5.0, 5.0}, std::array{0.0, 500.0},
//                       orvex::PACKED_RGB(0, 0, 0));
//         orvex::HPLOT1X(1, {-5.0, 5.0}, 100, xbin, count, 500, orvex::PACKED_RGB(255, 0, 0));
//         orvex::HISTO1X(1, {-5.0, 5.0}, "x (mm)", 500, orvex::PACKED_RGB(0, 0, 0));
//         // 5. Show: a window with a display, else the PNG.
//         return orvex::SHOW_PAGE("my_plot.png");
//     } catch (const orvex::run_stop& stop) {
//         orvex::REPORT_RUN_STOP(stop);
//         return 1;
//     }
//
//   examples/histo_demo is a larger program: four graphs of a beam, a phase space and ellipses.
//
// THE RULES OF THE PICTURE
//   - Data to pixels, for graph g with W = ix2 - ix1 and H = iy2 - iy1, in double precision with
//     truncation toward zero: px = ix1 + trunc((v - xlim[0]) / (xlim[1] - xlim[0]) x W) across,
//     py = iy2 - trunc((v - ylim[0]) / (ylim[1] - ylim[0]) x H) up. Ranges are never widened.
//   - A linear count c has height trunc(c / nmax x H); a log-10 count has height
//     trunc(lc / LOG_TOP(nmax) x H) with lc = log10(c), and lc = 0 for a count of 0.
//   - Every drawing routine (SELECT_G, HPLOT*, LPLOT1X, GRID*, ELLIPS) first sets the clipping
//     rectangle to the graph and the drawing colour to its colour, and leaves both set, so
//     nothing lands outside the graph. The axis routines (HISTO1X, HISTO1Y, LISTO1X, HISTO2D)
//     draw their numbers and titles with the whole page as clip, in the 12-pixel font
//     "t'Arial'h12w4", and leave that clip, colour and font set. They draw no lines: frames and
//     grids come from GRID1X, GRID1Y, GRID2D.
//   - Axis numbers are 8-character texts, right-aligned: integer, fixed point without decimals
//     with the point written ("     12."), or fixed point with 3 decimals ("  12.500"); a value
//     that does not fit (or is not a number) shows as "********". Horizontal number k is drawn
//     at (ix1 + k x tick_dx - 18, iy2 + 4), vertical number k at (ix1 - 38, iy1 + k x tick_dy - 4),
//     with tick_dx = W div ndiv_x and tick_dy = H div ndiv_y; the horizontal title at
//     (ix2 + 4, iy2 - 8), the vertical title at (ix1 - 36, iy1 - 16).
//   - Numbers go on every second division edge, k = 0, 2, 4, ... up to ndiv (with an odd ndiv the
//     last edge gets none); HISTO1X numbers both edges of an axis with one division. HISTO1X draws
//     nothing on a graph whose active is 0; HISTO1Y, LISTO1X and HISTO2D ignore active and draw
//     nothing on a graph with one division each way.
//   - Histograms whose bins run up the graph (HISTO1Y, HPLOT1Y) have their count axis running
//     from 0 at the left edge to nmax at the right edge: the numbers and the curve agree.
//
// FILLING
//   Bin i (1-based) of a range (lo, hi) in b bins has width w = (hi - lo) / b, covers
//   [lo + (i - 1) w, lo + i w) and has its centre at (i - 1) w + lo + w / 2. A value goes to bin
//   trunc((v - lo) / w) + 1; truncation toward zero means a value less than one bin width below
//   lo still lands in bin 1. Values outside the bins, not-a-number values and values whose bin
//   index would not fit 32 bits are dropped without trace; there are no under- or overflow bins.
//   Each call clears the bins first. HFILL2D adds the weight rounded to the nearest integer
//   (halves away from zero) to a cell: 0.4 adds nothing, -0.5 adds -1; a weight whose nearest
//   integer does not fit 32 bits is dropped, and a cell that would pass the 32-bit limits stays
//   at the limit.
//
// LIMITS
//   graphs 1..10; HFILL1X/HFILL1Y/HPLOT1Y/LPLOT1X at most 1600 bins, HPLOT1X at most 65536;
//   2-D histograms at most 1600 x 1200 cells, count laid out with a stride of 1600 (x-bin index
//   fastest: cell (i, j) is count[(i - 1) + (j - 1) x 1600]). The whole 2-D array is about
//   7.7 MB: keep it static, not on the stack. Every array is the caller's; the library writes
//   only the cells of the bins asked for.
//
//   A call outside these limits (graph number not in 1..10, a graph whose rectangle is not on
//   the page or whose divisions are not 1..W across and 1..H down, a bin count outside the
//   capacity, an array too short for its bins, an empty or infinite range, arrays of different
//   lengths, an ellipse with gamma <= 0 or a negative emittance) draws and writes nothing and
//   stops the run through STOP_RUN (console.h) with one line naming the routine: catch
//   orvex::run_stop in main and hand it to REPORT_RUN_STOP, as the example does. HISTO1X on a
//   graph whose active is 0 checks only the graph number before it returns.
//
// CHOICES
//   - LISTO1X and LPLOT1X with nmax <= 0: the log axis has one decade (LOG_TOP gives 1, as for
//     any nmax below 10).
//   - LPLOT1X draws a negative count on the bottom edge, like a count of 0 or 1.
//   - nmax = 0 on a linear count axis: the numbers that can be drawn are drawn (all 0) and every
//     count lies on the zero edge of the count axis.
//   - Points far off the graph are clipped in double precision before they reach the surface's
//     16-bit coordinates, so a count far above nmax still leaves the graph along its true line.
//   - A point that is not finite (a bin centre that is NaN or infinite, or one so far outside the
//     range that its pixel overflows) breaks the polyline, which goes on at the next bin.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "surface/axis_numbers.h"
#include "surface/surface.h"
#include "console/run_stop.h"

namespace orvex {

inline constexpr int graph_count = 10;
inline constexpr int hfill_capacity = 1600;       // bins of HFILL1X, HFILL1Y, HPLOT1Y, LPLOT1X
inline constexpr int hplot1x_capacity = 65536;    // bins of HPLOT1X
inline constexpr int hist2d_x_capacity = 1600;    // x bins of a 2-D histogram
inline constexpr int hist2d_y_capacity = 1200;    // y bins of a 2-D histogram
inline constexpr std::size_t count2d_stride = hist2d_x_capacity;
inline constexpr std::size_t count2d_capacity = std::size_t{hist2d_x_capacity} * hist2d_y_capacity;

// One graph: its rectangle in window pixels (y grows downward), its grid divisions and whether
// it is in use. Edges must lie on the page with ix1 < ix2, iy1 < iy2; divisions at least 1 and
// at most ix2 - ix1 across, iy2 - iy1 down.
struct graph_record {
    std::int32_t ix1 = 0, ix2 = 0;        // left and right edge
    std::int32_t iy1 = 0, iy2 = 0;        // top and bottom edge
    std::int32_t ndiv_x = 0, ndiv_y = 0;  // divisions across and down
    std::int32_t active = 0;              // non-zero when the graph is in use
};

// Graph g (1..10) is graph_table[g - 1]. Written only by callers; the library reads it.
extern std::array<graph_record, graph_count> graph_table;

// The lower and upper end of a data range.
using data_range = std::array<double, 2>;

// Index of 2-D cell (i, j), both 1-based, in a count array laid out as HFILL2D writes it.
constexpr std::size_t COUNT2D_INDEX(int i, int j) {
    return static_cast<std::size_t>(i - 1) + static_cast<std::size_t>(j - 1) * count2d_stride;
}

// Decades of the log-10 count axis for nmax: trunc(log10(nmax)) + 1 (500 gives 3); 1 for
// nmax <= 0.
std::int32_t LOG_TOP(std::int32_t nmax);

// The three forms of the 8-character axis numbers, FORMAT_AXIS_INTEGER ("      12"),
// FORMAT_AXIS_POINT ("     12.") and FORMAT_AXIS_FIXED3 ("  12.500"), are in axis_numbers.h.

// Confines the caller's own drawing to graph g and sets the drawing colour.
void SELECT_G(int g, packed_colour colour);

// Axis numbers and titles. Titles are padded with blanks or cut to their fixed length (8
// characters; 20 for HISTO2D) and drawn whole.
// HISTO1X: bins across (numbers without decimals), counts 0..nmax up (integers), "Counts".
void HISTO1X(int g, const data_range& xlim, std::string_view xtitle, std::int32_t nmax, packed_colour colour);
// HISTO1Y: bins up (ylim, 3 decimals, ylim[1] at the top), counts 0..nmax across, "Counts" as
// the horizontal title.
void HISTO1Y(int g, const data_range& ylim, std::string_view ytitle, std::int32_t nmax, packed_colour colour);
// LISTO1X: bins across (3 decimals), decades 0..LOG_TOP(nmax) up (3 decimals), "Log-10 (counts)".
void LISTO1X(int g, const data_range& xlim, std::string_view xtitle, std::int32_t nmax, packed_colour colour);
// HISTO2D: both axes as data (3 decimals), titles of 20 characters.
void HISTO2D(int g, const data_range& xlim, const data_range& ylim, std::string_view xtitle,
             std::string_view ytitle, packed_colour colour);

// Filling. n is the length of x (and of y and wgt, which must match). xbin and count must hold
// at least nbins (nbx) entries; the 2-D count at least COUNT2D_INDEX(nbx, nby) + 1 cells.
void HFILL1X(std::span<const double> x, const data_range& xlim, int nbins, std::span<double> xbin,
             std::span<std::int32_t> count);
void HFILL1Y(std::span<const double> x, const data_range& xlim, int nbins, std::span<double> xbin,
             std::span<std::int32_t> count);
void HFILL2D(std::span<const double> x, std::span<const double> y, std::span<const double> wgt,
             const data_range& xlim, const data_range& ylim, int nbx, int nby, std::span<double> xbin,
             std::span<double> ybin, std::span<std::int32_t> count);

// Drawing. The polylines run through the bin centres from bin 1 to bin nbins; counts above
// nmax run off the graph and are cut at its border. Each leaves the current position at the
// last point drawn.
void HPLOT1X(int g, const data_range& xlim, int nbins, std::span<const double> xbin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour);
// Bins up the graph; a count c lies at px = ix1 + trunc(c / nmax x W).
void HPLOT1Y(int g, const data_range& ylim, int nbins, std::span<const double> ybin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour);
void LPLOT1X(int g, const data_range& xlim, int nbins, std::span<const double> xbin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour);
// Writes the console records " di, dx = " (W, x range), " dj, dy = " (H, y range) and
// " xyk, kmn = " (data area of one pixel, its integer part, held within 32 bits), then one
// pixel per cell with a count above 0, whatever the count.
void HPLOT2D(int g, const data_range& xlim, const data_range& ylim, int nbx, int nby,
             std::span<const double> xbin, std::span<const double> ybin, std::span<const std::int32_t> count,
             packed_colour colour);

// Grid lines at data positions: vertical lines across the whole graph height (GRID1X),
// horizontal lines across its width (GRID1Y), or first the vertical then the horizontal ones
// (GRID2D). A position outside the range gives a line outside the graph, which the clip removes;
// positions at the range ends draw the frame.
void GRID1X(int g, const data_range& xlim, std::span<const double> positions, packed_colour colour);
void GRID1Y(int g, const data_range& ylim, std::span<const double> positions, packed_colour colour);
void GRID2D(int g, const data_range& xlim, const data_range& ylim, std::span<const double> xpositions,
            std::span<const double> ypositions, packed_colour colour);

// The ellipse gamma u^2 + 2 alpha u v + ((1 + alpha^2) / gamma) v^2 = n_emit x emit around
// (x0, y0), as a closed polygon of 100 segments starting and ending at (x0 + sqrt(e / gamma), y0);
// beta is not used (the Twiss ellipse when beta x gamma - alpha^2 = 1). Leaves the current
// position at the start point.
void ELLIPS(int g, const data_range& xlim, const data_range& ylim, double x0, double y0, double emit,
            double alpha, double beta, double gamma, std::int32_t n_emit, packed_colour colour);

}  // namespace orvex
