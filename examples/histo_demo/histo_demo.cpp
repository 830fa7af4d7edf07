// histo_demo: draws a beam distribution with the histogram library.
//
// The program makes its own beam (a fixed seed, so every run draws the same page): a Gaussian
// core with Twiss parameters alpha, beta and an rms emittance, plus a small halo three times as
// wide. It shows four graphs on one page:
//   1. the x distribution with linear counts,
//   2. the same with log-10 counts, where the halo shows,
//   3. the x-x' phase space, one pixel per occupied cell, with the rms ellipse computed from the
//      particles and the ellipse of four times that emittance,
//   4. the x' distribution with its bins running up the graph.
// The page goes to a window when there is a display, else to histo_demo.png in the working
// directory (show_page.h). Run without arguments.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <span>
#include <vector>

#include "console/run_stop.h"
#include "histo/histo.h"
#include "show/show_page.h"
#include "surface/surface.h"

namespace {

using orvex::data_range;
using orvex::packed_colour;

constexpr int particle_count = 50000;
// Colours by their red, green and blue (a packed colour keeps red in its low byte).
constexpr packed_colour black = orvex::PACKED_RGB(0, 0, 0), white = orvex::PACKED_RGB(255, 255, 255),
                        grey = orvex::PACKED_RGB(200, 200, 200), blue = orvex::PACKED_RGB(16, 64, 176),
                        red = orvex::PACKED_RGB(224, 0, 0), orange = orvex::PACKED_RGB(255, 128, 0),
                        dark_blue = orvex::PACKED_RGB(0, 0, 128);

// The beam: x (mm) and x' (mrad).
struct beam_record {
    std::array<double, particle_count> x, xp, weight;
};
beam_record beam;

// Histogram arrays of the four graphs; the 2-D counts are 7.7 MB and live here, not on the stack.
std::array<double, 1600> xbin, ybin;
std::array<std::int32_t, 1600> count_1d;
std::array<std::int32_t, orvex::count2d_capacity> count_2d;

// Makes a Gaussian beam of the given Twiss parameters and rms emittance, with 2 % of its
// particles in a halo of three times the size.
void MAKE_BEAM(double alpha, double beta, double emit) {
    std::mt19937 engine(20261208u);
    std::normal_distribution<double> normal(0.0, 1.0);
    const double sx = std::sqrt(emit * beta), sp = std::sqrt(emit / beta);
    for (int p = 0; p < particle_count; ++p) {
        const double scale = p % 50 == 0 ? 3.0 : 1.0;
        const double u = normal(engine), v = normal(engine);
        beam.x[p] = scale * sx * u;
        beam.xp[p] = scale * sp * (v - alpha * u);
        beam.weight[p] = 1.0;
    }
}

// The rms Twiss parameters of the beam from its second moments.
struct twiss {
    double x0, xp0, emit, alpha, beta, gamma;
};

twiss RMS_TWISS() {
    double mx = 0.0, mp = 0.0;
    for (int p = 0; p < particle_count; ++p) {
        mx += beam.x[p];
        mp += beam.xp[p];
    }
    mx /= particle_count;
    mp /= particle_count;
    double xx = 0.0, xp = 0.0, pp = 0.0;
    for (int p = 0; p < particle_count; ++p) {
        const double dx = beam.x[p] - mx, dp = beam.xp[p] - mp;
        xx += dx * dx;
        xp += dx * dp;
        pp += dp * dp;
    }
    xx /= particle_count;
    xp /= particle_count;
    pp /= particle_count;
    const double emit = std::sqrt(xx * pp - xp * xp);
    return {mx, mp, emit, -xp / emit, xx / emit, pp / emit};
}

// Division positions k x (range) / ndiv from the start of a range, k = 0..ndiv: the grid
// and, at both ends, the frame.
std::vector<double> DIVISION_POSITIONS(const data_range& range, int ndiv) {
    std::vector<double> out;
    for (int k = 0; k <= ndiv; ++k) out.push_back(range[0] + k * (range[1] - range[0]) / ndiv);
    return out;
}

// Light grid at every division, black frame on top.
void GRID_AND_FRAME(int g, const data_range& xlim, const data_range& ylim) {
    const orvex::graph_record& r = orvex::graph_table[static_cast<std::size_t>(g - 1)];
    orvex::GRID2D(g, xlim, ylim, DIVISION_POSITIONS(xlim, r.ndiv_x), DIVISION_POSITIONS(ylim, r.ndiv_y), grey);
    orvex::GRID2D(g, xlim, ylim, std::array<double, 2>{xlim[0], xlim[1]}, std::array<double, 2>{ylim[0], ylim[1]},
                  black);
}

// The smallest multiple of step at or above c.
std::int32_t ROUND_UP(std::int32_t c, std::int32_t step) { return std::max(step, (c + step - 1) / step * step); }

std::int32_t LARGEST(std::span<const std::int32_t> c) { return *std::max_element(c.begin(), c.end()); }

void TEXT_AT(int x, int y, std::string_view text) {
    orvex::MOVE_TO(static_cast<orvex::coord>(x), static_cast<orvex::coord>(y));
    orvex::DRAW_TEXT(text, static_cast<int>(text.size()));
}

void DRAW_PAGE() {
    const double alpha = -1.2, beta = 1.5, emit = 2.0;  // mm/mrad, mm mrad
    MAKE_BEAM(alpha, beta, emit);
    const twiss t = RMS_TWISS();

    orvex::OPEN_PLOT_WINDOW("Histogram library demo");
    orvex::SET_BACK_COLOUR(white);
    orvex::CLEAR_WINDOW();
    orvex::LOAD_FONTS();
    orvex::SET_DRAW_COLOUR(blue);
    orvex::SELECT_FONT("t'Arial'h16w8i");
    TEXT_AT(70, 8, "Histogram library: a beam of 50000 particles");
    char line[160];
    std::snprintf(line, sizeof line, "rms emittance %.3f mm mrad, alpha %.3f, beta %.3f mm/mrad, gamma %.3f mrad/mm",
                  t.emit, t.alpha, t.beta, t.gamma);
    orvex::SET_DRAW_COLOUR(black);
    orvex::SELECT_FONT("t'Arial'h12w4");
    TEXT_AT(700, 12, line);

    const data_range xlim = {-8.0, 8.0}, plim = {-8.0, 8.0};
    orvex::graph_table[0] = {.ix1 = 70, .ix2 = 550, .iy1 = 70, .iy2 = 370, .ndiv_x = 8, .ndiv_y = 4, .active = 1};
    orvex::graph_table[1] = {.ix1 = 700, .ix2 = 1180, .iy1 = 70, .iy2 = 370, .ndiv_x = 8, .ndiv_y = 4, .active = 1};
    orvex::graph_table[2] = {.ix1 = 70, .ix2 = 550, .iy1 = 450, .iy2 = 750, .ndiv_x = 8, .ndiv_y = 8, .active = 1};
    orvex::graph_table[3] = {.ix1 = 700, .ix2 = 1180, .iy1 = 450, .iy2 = 750, .ndiv_x = 4, .ndiv_y = 8, .active = 1};

    // 1. x with linear counts: 80 bins of 0.2 mm; nmax rounded up to a multiple of 500.
    constexpr int nx = 80;
    orvex::HFILL1X(beam.x, xlim, nx, xbin, count_1d);
    const std::int32_t nmax_x = ROUND_UP(LARGEST(std::span(count_1d).first(nx)), 500);
    GRID_AND_FRAME(1, xlim, {0.0, double(nmax_x)});
    orvex::HPLOT1X(1, xlim, nx, xbin, count_1d, nmax_x, blue);
    orvex::HISTO1X(1, xlim, "x (mm)", nmax_x, black);

    // 2. The same with log-10 counts, one grid line per decade.
    const std::int32_t log_top = orvex::LOG_TOP(nmax_x);
    orvex::graph_table[1].ndiv_y = 2 * log_top;
    const data_range decades = {0.0, double(log_top)};
    orvex::GRID2D(2, xlim, decades, DIVISION_POSITIONS(xlim, 8), DIVISION_POSITIONS(decades, log_top), grey);
    orvex::GRID2D(2, xlim, decades, std::array<double, 2>{xlim[0], xlim[1]}, std::array<double, 2>{0.0, decades[1]},
                  black);
    orvex::LPLOT1X(2, xlim, nx, xbin, count_1d, nmax_x, blue);
    orvex::LISTO1X(2, xlim, "x (mm)", nmax_x, black);

    // 3. Phase space: one cell per pixel, the rms ellipse and four times its emittance.
    const int nbx = 480, nby = 300;
    orvex::HFILL2D(beam.x, beam.xp, beam.weight, xlim, plim, nbx, nby, xbin, ybin, count_2d);
    GRID_AND_FRAME(3, xlim, plim);
    orvex::HPLOT2D(3, xlim, plim, nbx, nby, xbin, ybin, count_2d, dark_blue);
    orvex::ELLIPS(3, xlim, plim, t.x0, t.xp0, t.emit, t.alpha, t.beta, t.gamma, 1, red);
    orvex::ELLIPS(3, xlim, plim, t.x0, t.xp0, t.emit, t.alpha, t.beta, t.gamma, 4, orange);
    orvex::HISTO2D(3, xlim, plim, "x (mm)", "x' (mrad)", black);

    // 4. x' with its bins running up the graph, counts across from the left.
    constexpr int np = 64;
    orvex::HFILL1Y(beam.xp, plim, np, ybin, count_1d);
    const std::int32_t nmax_p = ROUND_UP(LARGEST(std::span(count_1d).first(np)), 1000);
    GRID_AND_FRAME(4, {0.0, double(nmax_p)}, plim);
    orvex::HPLOT1Y(4, plim, np, ybin, count_1d, nmax_p, blue);
    orvex::HISTO1Y(4, plim, "x'(mrad)", nmax_p, black);
}

}  // namespace

int main() {
    try {
        DRAW_PAGE();
        return orvex::SHOW_PAGE("histo_demo.png");
    } catch (const orvex::run_stop& stop) {
        orvex::REPORT_RUN_STOP(stop);
        return 1;
    }
}
