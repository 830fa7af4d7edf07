// histo_draw.cpp: drawing of filled histograms, grid lines and the Twiss ellipse into one graph
// (HPLOT1X, HPLOT1Y, LPLOT1X, HPLOT2D, GRID1X, GRID1Y, GRID2D, ELLIPS). Each starts by clipping
// to the graph and taking its colour, and leaves both set.
#include <cmath>
#include <cstdint>
#include <limits>

#include "console/console.h"
#include "histo/histo.h"
#include "histo/histo_check.h"
#include "surface/data_pixel.h"

namespace orvex {

using histo_detail::CHECK_BINS;
using histo_detail::CHECK_LENGTH;
using histo_detail::CHECK_RANGE;
using histo_detail::CHECKED_GRAPH;
using histo_detail::GRAPH_PEN;

namespace {

// The graph's rectangle and sizes in double precision, with the scale rules of the library.
struct scale {
    double ix1, ix2, iy1, iy2, w, h;
};

scale SCALE_OF(const graph_record& r) {
    return {double(r.ix1), double(r.ix2), double(r.iy1), double(r.iy2), double(r.ix2 - r.ix1), double(r.iy2 - r.iy1)};
}

// Clip to the graph and take the colour.
void ENTER_GRAPH(const graph_record& r, packed_colour colour) {
    SET_CLIP_RECT(static_cast<coord>(r.ix1), static_cast<coord>(r.iy1), static_cast<coord>(r.ix2),
                  static_cast<coord>(r.iy2));
    SET_DRAW_COLOUR(colour);
}

// px of a horizontal data value: ix1 + trunc((v - lo) / (hi - lo) x W).
double PX(const scale& s, const data_range& xlim, double v) { return DATA_PIXEL_ACROSS(v, xlim[0], xlim[1], s.ix1, s.w); }

// py of a vertical data value: iy2 - trunc((v - lo) / (hi - lo) x H).
double PY(const scale& s, const data_range& ylim, double v) { return DATA_PIXEL_UP(v, ylim[0], ylim[1], s.iy2, s.h); }

// Length of a linear count: trunc(c / nmax x size); 0 when nmax is 0, so that such a histogram
// lies on the zero edge of its count axis instead of dividing by zero.
double LINEAR_LENGTH(std::int32_t c, std::int32_t nmax, double size) {
    if (nmax == 0) return 0.0;
    return PIXEL_OFFSET(static_cast<double>(c) / nmax, size);
}

// The log-10 value of a count: log10(c) for c > 0, 0 for a count of 0 and (a choice: there is
// no logarithm) for a negative count, which thus lies on the bottom edge.
double LOG_COUNT(std::int32_t c) {
    if (c <= 0) return 0.0;
    return std::log(static_cast<double>(c)) / 2.302585092994046;
}

// Checks the arguments of a bin polyline (HPLOT1X, HPLOT1Y, LPLOT1X), then clips to graph g
// and takes the colour. Returns the graph's scale.
scale START_POLYLINE(std::string_view routine, int g, std::string_view range_name, const data_range& range,
                     int nbins, int capacity, std::span<const double> bins, std::span<const std::int32_t> count,
                     packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH(routine, g);
    CHECK_RANGE(routine, range_name, range);
    CHECK_BINS(routine, "nbins", nbins, capacity);
    CHECK_LENGTH(routine, "bin centres", bins.size(), static_cast<std::size_t>(nbins));
    CHECK_LENGTH(routine, "count", count.size(), static_cast<std::size_t>(nbins));
    ENTER_GRAPH(r, colour);
    return SCALE_OF(r);
}

struct pixel {
    double x, y;
};

// The polyline from bin 1 to bin nbins, bin b (0-based) at point_of(b).
template <typename point>
void BIN_POLYLINE(int nbins, point point_of) {
    pen p = GRAPH_PEN();
    for (int i = 0; i < nbins; ++i) {
        const pixel at = point_of(static_cast<std::size_t>(i));
        if (i == 0) PEN_MOVE(p, at.x, at.y); else PEN_LINE(p, at.x, at.y);
    }
}

// One vertical grid line at data position v (GRID1X, GRID2D).
void VERTICAL_LINE(const scale& s, const data_range& xlim, double v) {
    pen p = GRAPH_PEN();
    const double px = PX(s, xlim, v);
    PEN_MOVE(p, px, s.iy1);
    PEN_LINE(p, px, s.iy2);
}

// One horizontal grid line at data position v (GRID1Y, GRID2D).
void HORIZONTAL_LINE(const scale& s, const data_range& ylim, double v) {
    pen p = GRAPH_PEN();
    const double py = PY(s, ylim, v);
    PEN_MOVE(p, s.ix1, py);
    PEN_LINE(p, s.ix2, py);
}

}  // namespace

void HPLOT1X(int g, const data_range& xlim, int nbins, std::span<const double> xbin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour) {
    const scale s = START_POLYLINE("HPLOT1X", g, "xlim", xlim, nbins, hplot1x_capacity, xbin, count, colour);
    BIN_POLYLINE(nbins, [&](std::size_t b) {
        return pixel{PX(s, xlim, xbin[b]), s.iy2 - LINEAR_LENGTH(count[b], nmax, s.h)};
    });
}

void HPLOT1Y(int g, const data_range& ylim, int nbins, std::span<const double> ybin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour) {
    const scale s = START_POLYLINE("HPLOT1Y", g, "ylim", ylim, nbins, hfill_capacity, ybin, count, colour);
    // Counts grow rightward from the left edge, matching the numbers of HISTO1Y.
    BIN_POLYLINE(nbins, [&](std::size_t b) {
        return pixel{s.ix1 + LINEAR_LENGTH(count[b], nmax, s.w), PY(s, ylim, ybin[b])};
    });
}

void LPLOT1X(int g, const data_range& xlim, int nbins, std::span<const double> xbin,
             std::span<const std::int32_t> count, std::int32_t nmax, packed_colour colour) {
    const scale s = START_POLYLINE("LPLOT1X", g, "xlim", xlim, nbins, hfill_capacity, xbin, count, colour);
    const double log_top = LOG_TOP(nmax);
    BIN_POLYLINE(nbins, [&](std::size_t b) {
        return pixel{PX(s, xlim, xbin[b]), s.iy2 - PIXEL_OFFSET(LOG_COUNT(count[b]) / log_top, s.h)};
    });
}

void HPLOT2D(int g, const data_range& xlim, const data_range& ylim, int nbx, int nby,
             std::span<const double> xbin, std::span<const double> ybin, std::span<const std::int32_t> count,
             packed_colour colour) {
    constexpr std::string_view routine = "HPLOT2D";
    const graph_record& r = CHECKED_GRAPH(routine, g);
    CHECK_RANGE(routine, "xlim", xlim);
    CHECK_RANGE(routine, "ylim", ylim);
    CHECK_BINS(routine, "nbx", nbx, hist2d_x_capacity);
    CHECK_BINS(routine, "nby", nby, hist2d_y_capacity);
    CHECK_LENGTH(routine, "xbin", xbin.size(), static_cast<std::size_t>(nbx));
    CHECK_LENGTH(routine, "ybin", ybin.size(), static_cast<std::size_t>(nby));
    CHECK_LENGTH(routine, "count", count.size(), COUNT2D_INDEX(nbx, nby) + 1);
    const scale s = SCALE_OF(r);
    ENTER_GRAPH(r, colour);
    const double x_range = xlim[1] - xlim[0], y_range = ylim[1] - ylim[0];
    const double xyk = (x_range / s.w) * y_range / s.h;  // data area covered by one pixel
    // Its integer part, held within 32 bits when the area is larger.
    const double kmn_whole = std::trunc(xyk);
    const std::int32_t kmn = !(kmn_whole < 2147483647.0) ? std::numeric_limits<std::int32_t>::max()
                             : !(kmn_whole > -2147483648.0) ? std::numeric_limits<std::int32_t>::min()
                                                            : static_cast<std::int32_t>(kmn_whole);
    CONSOLE_WRITE(" di, dx = ", {L_INT(r.ix2 - r.ix1), L_REAL(x_range)});
    CONSOLE_WRITE(" dj, dy = ", {L_INT(r.iy2 - r.iy1), L_REAL(y_range)});
    CONSOLE_WRITE(" xyk, kmn = ", {L_REAL(xyk), L_INT(kmn)});
    for (int i = 1; i <= nbx; ++i) {
        const double px = PX(s, xlim, xbin[static_cast<std::size_t>(i - 1)]);
        if (!(px >= 1.0 && px <= page_width)) continue;  // off the page: clipped anyway
        for (int j = 1; j <= nby; ++j) {
            if (count[COUNT2D_INDEX(i, j)] <= 0) continue;
            const double py = PY(s, ylim, ybin[static_cast<std::size_t>(j - 1)]);
            if (!(py >= 1.0 && py <= page_height)) continue;
            SET_PIXEL(static_cast<coord>(px), static_cast<coord>(py), colour);
        }
    }
}

void GRID1X(int g, const data_range& xlim, std::span<const double> positions, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("GRID1X", g);
    CHECK_RANGE("GRID1X", "xlim", xlim);
    const scale s = SCALE_OF(r);
    ENTER_GRAPH(r, colour);
    for (const double v : positions) VERTICAL_LINE(s, xlim, v);
}

void GRID1Y(int g, const data_range& ylim, std::span<const double> positions, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("GRID1Y", g);
    CHECK_RANGE("GRID1Y", "ylim", ylim);
    const scale s = SCALE_OF(r);
    ENTER_GRAPH(r, colour);
    for (const double v : positions) HORIZONTAL_LINE(s, ylim, v);
}

void GRID2D(int g, const data_range& xlim, const data_range& ylim, std::span<const double> xpositions,
            std::span<const double> ypositions, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("GRID2D", g);
    CHECK_RANGE("GRID2D", "xlim", xlim);
    CHECK_RANGE("GRID2D", "ylim", ylim);
    const scale s = SCALE_OF(r);
    ENTER_GRAPH(r, colour);
    for (const double v : xpositions) VERTICAL_LINE(s, xlim, v);
    for (const double v : ypositions) HORIZONTAL_LINE(s, ylim, v);
}

void ELLIPS(int g, const data_range& xlim, const data_range& ylim, double x0, double y0, double emit,
            double alpha, double beta, double gamma, std::int32_t n_emit, packed_colour colour) {
    constexpr std::string_view routine = "ELLIPS";
    static_cast<void>(beta);  // the shape is fixed by alpha and gamma alone
    const graph_record& r = CHECKED_GRAPH(routine, g);
    CHECK_RANGE(routine, "xlim", xlim);
    CHECK_RANGE(routine, "ylim", ylim);
    const double e = n_emit * emit;
    if (!(gamma > 0.0) || !std::isfinite(gamma)) histo_detail::MISUSE(routine, "gamma must be a positive number");
    if (!(e >= 0.0) || !std::isfinite(e)) histo_detail::MISUSE(routine, "n_emit x emit must be a number >= 0");
    const scale s = SCALE_OF(r);
    ENTER_GRAPH(r, colour);
    const double a = std::sqrt(e / gamma), b = std::sqrt(e * gamma);
    // The ellipse multiplies by the size before it divides, W x (X - lo) / (hi - lo), as its
    // definition writes it; the data-pixel rule (fraction first) can differ from it by a pixel.
    auto point_px = [&](double t) {
        const double x = x0 + a * (std::cos(t) - alpha * std::sin(t));
        return s.ix1 + std::trunc(s.w * (x - xlim[0]) / (xlim[1] - xlim[0]));
    };
    auto point_py = [&](double t) {
        const double y = y0 + b * std::sin(t);
        return s.iy2 - std::trunc(s.h * (y - ylim[0]) / (ylim[1] - ylim[0]));
    };
    constexpr double step = 6.283185307179586 / 100;
    pen p = GRAPH_PEN();
    const double start_x = point_px(0.0), start_y = point_py(0.0);
    PEN_MOVE(p, start_x, start_y);
    for (int k = 1; k < 100; ++k) PEN_LINE(p, point_px(k * step), point_py(k * step));
    // The last segment returns to the start pixel itself: sin(2 pi) in double is not 0, and a
    // start on a pixel boundary would otherwise leave the polygon a pixel short of closing.
    PEN_LINE(p, start_x, start_y);
}

}  // namespace orvex
