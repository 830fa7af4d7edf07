// histo_axes.cpp: numbers and titles around a graph (HISTO1X, HISTO1Y, LISTO1X, HISTO2D) and
// SELECT_G. The axis routines draw text only, with the whole page as clip.
#include <algorithm>
#include <cmath>
#include <string_view>

#include "histo/histo.h"
#include "histo/histo_check.h"

namespace orvex {

using histo_detail::CHECK_RANGE;
using histo_detail::CHECKED_GRAPH;

namespace {

constexpr std::string_view axis_font = "t'Arial'h12w4";

// The fixed values that place an axis routine's numbers and titles.
struct axis_frame {
    int ix1, ix2, iy1, iy2;
    int tick_dx, tick_dy;
};

axis_frame FRAME_OF(const graph_record& r) {
    return {r.ix1, r.ix2, r.iy1, r.iy2, (r.ix2 - r.ix1) / r.ndiv_x, (r.iy2 - r.iy1) / r.ndiv_y};
}

// Whole-page clip, the colour and the 12-pixel font.
void START_TEXT(packed_colour colour) {
    SET_CLIP_RECT(1, 1, page_width, page_height);
    SET_DRAW_COLOUR(colour);
    LOAD_FONTS();
    SELECT_FONT(axis_font);
}

void TEXT_AT(int x, int y, std::string_view text, int length) {
    MOVE_TO(static_cast<coord>(x), static_cast<coord>(y));
    DRAW_TEXT(text, length);
}

void NUMBER_AT(int x, int y, const std::array<char, 8>& number) {
    TEXT_AT(x, y, std::string_view(number.data(), number.size()), 8);
}

// A title padded with blanks or cut to exactly length characters (length at most 20).
void TITLE_AT(int x, int y, std::string_view title, int length) {
    std::array<char, 20> text;
    text.fill(' ');
    const std::size_t n = std::min(title.size(), static_cast<std::size_t>(length));
    for (std::size_t i = 0; i < n; ++i) text[i] = title[i];
    TEXT_AT(x, y, std::string_view(text.data(), static_cast<std::size_t>(length)), length);
}

// The k values of an axis with ndiv divisions: 0, 2, 4, ... up to ndiv; with both_edges and one
// division, 0 and 1.
int LAST_K(int ndiv, bool both_edges) { return both_edges && ndiv == 1 ? 1 : ndiv; }
int K_STEP(int ndiv, bool both_edges) { return both_edges && ndiv == 1 ? 1 : 2; }

template <typename format>
void HORIZONTAL_NUMBERS(const axis_frame& f, int ndiv, bool both_edges, format value_of_k) {
    for (int k = 0; k <= LAST_K(ndiv, both_edges); k += K_STEP(ndiv, both_edges)) {
        NUMBER_AT(f.ix1 + k * f.tick_dx - 18, f.iy2 + 4, value_of_k(k));
    }
}

template <typename format>
void VERTICAL_NUMBERS(const axis_frame& f, int ndiv, bool both_edges, format value_of_k) {
    for (int k = 0; k <= LAST_K(ndiv, both_edges); k += K_STEP(ndiv, both_edges)) {
        NUMBER_AT(f.ix1 - 38, f.iy1 + k * f.tick_dy - 4, value_of_k(k));
    }
}

// The data value k divisions on from the start of a range: k x (range) / ndiv, multiplied first.
double K_OF_RANGE(const data_range& range, int k, int ndiv) { return k * (range[1] - range[0]) / ndiv; }

}  // namespace

void SELECT_G(int g, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("SELECT_G", g);
    SET_CLIP_RECT(static_cast<coord>(r.ix1), static_cast<coord>(r.iy1), static_cast<coord>(r.ix2),
                  static_cast<coord>(r.iy2));
    SET_DRAW_COLOUR(colour);
}

void HISTO1X(int g, const data_range& xlim, std::string_view xtitle, std::int32_t nmax, packed_colour colour) {
    histo_detail::CHECK_GRAPH_NUMBER("HISTO1X", g);
    if (graph_table[static_cast<std::size_t>(g - 1)].active == 0) return;
    const graph_record& r = CHECKED_GRAPH("HISTO1X", g);
    CHECK_RANGE("HISTO1X", "xlim", xlim);
    const axis_frame f = FRAME_OF(r);
    START_TEXT(colour);
    const double xstep = (xlim[1] - xlim[0]) / r.ndiv_x;
    HORIZONTAL_NUMBERS(f, r.ndiv_x, true, [&](int k) { return FORMAT_AXIS_POINT(xlim[0] + k * xstep); });
    // Integer counts from nmax at the top to 0 at the bottom; nmax 0 shows zeros.
    const double ystep = static_cast<double>(nmax) / r.ndiv_y;
    VERTICAL_NUMBERS(f, r.ndiv_y, true, [&](int k) {
        return FORMAT_AXIS_INTEGER(std::int64_t{nmax} - static_cast<std::int64_t>(std::round(k * ystep)));
    });
    START_TEXT(colour);
    TITLE_AT(f.ix2 + 4, f.iy2 - 8, xtitle, 8);
    TEXT_AT(f.ix1 - 36, f.iy1 - 16, "Counts", 6);
}

void HISTO1Y(int g, const data_range& ylim, std::string_view ytitle, std::int32_t nmax, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("HISTO1Y", g);
    CHECK_RANGE("HISTO1Y", "ylim", ylim);
    if (r.ndiv_x == 1 && r.ndiv_y == 1) return;
    const axis_frame f = FRAME_OF(r);
    START_TEXT(colour);
    // Counts across, 0 at the left edge up to nmax at the right edge, as HPLOT1Y draws them.
    HORIZONTAL_NUMBERS(f, r.ndiv_x, false,
                       [&](int k) { return FORMAT_AXIS_FIXED3(static_cast<double>(k) * nmax / r.ndiv_x); });
    VERTICAL_NUMBERS(f, r.ndiv_y, false,
                     [&](int k) { return FORMAT_AXIS_FIXED3(ylim[1] - K_OF_RANGE(ylim, k, r.ndiv_y)); });
    START_TEXT(colour);
    TEXT_AT(f.ix2 + 4, f.iy2 - 8, "Counts", 6);
    TITLE_AT(f.ix1 - 36, f.iy1 - 16, ytitle, 8);
}

void LISTO1X(int g, const data_range& xlim, std::string_view xtitle, std::int32_t nmax, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("LISTO1X", g);
    CHECK_RANGE("LISTO1X", "xlim", xlim);
    if (r.ndiv_x == 1 && r.ndiv_y == 1) return;
    const axis_frame f = FRAME_OF(r);
    START_TEXT(colour);
    HORIZONTAL_NUMBERS(f, r.ndiv_x, false,
                       [&](int k) { return FORMAT_AXIS_FIXED3(xlim[0] + K_OF_RANGE(xlim, k, r.ndiv_x)); });
    // Decades from log_top at the top to 0 at the bottom.
    const double log_top = LOG_TOP(nmax);
    VERTICAL_NUMBERS(f, r.ndiv_y, false,
                     [&](int k) { return FORMAT_AXIS_FIXED3(log_top - k * log_top / r.ndiv_y); });
    START_TEXT(colour);
    TITLE_AT(f.ix2 + 4, f.iy2 - 8, xtitle, 8);
    TEXT_AT(f.ix1 - 36, f.iy1 - 16, "Log-10 (counts)", 15);
}

void HISTO2D(int g, const data_range& xlim, const data_range& ylim, std::string_view xtitle,
             std::string_view ytitle, packed_colour colour) {
    const graph_record& r = CHECKED_GRAPH("HISTO2D", g);
    CHECK_RANGE("HISTO2D", "xlim", xlim);
    CHECK_RANGE("HISTO2D", "ylim", ylim);
    if (r.ndiv_x == 1 && r.ndiv_y == 1) return;
    const axis_frame f = FRAME_OF(r);
    START_TEXT(colour);
    HORIZONTAL_NUMBERS(f, r.ndiv_x, false,
                       [&](int k) { return FORMAT_AXIS_FIXED3(xlim[0] + K_OF_RANGE(xlim, k, r.ndiv_x)); });
    VERTICAL_NUMBERS(f, r.ndiv_y, false,
                     [&](int k) { return FORMAT_AXIS_FIXED3(ylim[1] - K_OF_RANGE(ylim, k, r.ndiv_y)); });
    START_TEXT(colour);
    TITLE_AT(f.ix2 + 4, f.iy2 - 8, xtitle, 20);
    TITLE_AT(f.ix1 - 36, f.iy1 - 16, ytitle, 20);
}

}  // namespace orvex
