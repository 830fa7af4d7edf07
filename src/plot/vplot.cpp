// vplot.cpp: one profile drawn into one panel of the page.
//
// VPLOT1X draws, over the empty panel that INI_GRAPH left, three position numbers under the
// panel, three value numbers left of it, the axis title below, the value title above and then
// the curve, clipped to the panel. The scales are automatic and unrounded: pos(1) sits on the
// left edge and pos(n) on the right edge whatever their order; values run from the smallest
// (never above 9.0, because the running minimum starts there) to the largest. Pixels are
// edge + trunc(fraction x size), computed in double precision.
//
// Guards for data the plain scale rule cannot draw:
//   - a point whose position or value is NaN or infinite takes no part in the ranges and
//     breaks the curve, which goes on at the next finite point; with no such point at all the
//     value axis is the all-zero one and no curve is drawn;
//   - a range of zero width (one point, pos(1) = pos(n), or every value the same v) is
//     widened to v - d .. v + d, d = max(|v| x 1e-12, 1e-12), so the curve runs through the
//     middle of the panel and the numbers read v;
//   - a point whose pixel does not fit a 16-bit coordinate (far outside the panel) is clipped
//     in double precision before conversion, so it never wraps around into the panel;
//   - n below 1 draws nothing.
#include "vplot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "page.h"

namespace orvex {

namespace {

constexpr double max_start = -9.0e9;
constexpr double min_start = 9.0;
constexpr double all_zero_half_range = 1.0e-12;
constexpr std::string_view panel_font = "t'Arial'h12w4";
constexpr int title_length = 20;

constexpr double coord_lo = std::numeric_limits<coord>::min();
constexpr double coord_hi = std::numeric_limits<coord>::max();

// A title as it is drawn: its first 20 characters, blank-padded to 20.
std::array<char, title_length> PAD_TITLE(std::string_view title) {
    std::array<char, title_length> padded;
    padded.fill(' ');
    std::copy_n(title.begin(), std::min<std::size_t>(title.size(), title_length), padded.begin());
    return padded;
}

// Widens a zero-width range lo = hi = v to v - d .. v + d with d = max(|v| x 1e-12, 1e-12).
void WIDEN_IF_EMPTY(double& lo, double& hi) {
    if (lo != hi) return;
    const double v = lo;
    const double d = std::max(std::fabs(v) * 1.0e-12, 1.0e-12);
    lo = v - d;
    hi = v + d;
}

bool POINT_FINITE(double p, double v) { return std::isfinite(p) && std::isfinite(v); }

bool FITS_COORD(double x, double y) {
    return x >= coord_lo && x <= coord_hi && y >= coord_lo && y <= coord_hi;
}

// Cuts the segment (ax, ay) - (bx, by) to the box [x1, x2] x [y1, y2] (Liang-Barsky), in
// double precision. False when no part of it lies in the box.
bool CLIP_SEGMENT(double& ax, double& ay, double& bx, double& by, double x1, double y1, double x2,
                  double y2) {
    const double dx = bx - ax, dy = by - ay;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - x1, x2 - ax, ay - y1, y2 - ay};
    for (int e = 0; e < 4; ++e) {
        if (p[e] == 0.0) {
            if (q[e] < 0.0) return false;
            continue;
        }
        const double t = q[e] / p[e];
        if (p[e] < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
    }
    const double sx = ax, sy = ay;
    ax = sx + t0 * dx;
    ay = sy + t0 * dy;
    bx = sx + t1 * dx;
    by = sy + t1 * dy;
    return true;
}

}  // namespace

// Fixed point with three decimals, right-aligned in 8 characters. A value that needs more
// (from -1000 down, from 10000 up) or is not finite is eight asterisks. A value that rounds to
// zero is written 0.000 without a sign: the middle number of a symmetric axis reads 0.000
// even when rounding left it a hair below zero.
std::array<char, 8> FORMAT_POSITION(double v) {
    std::array<char, 8> text;
    text.fill('*');
    if (!std::isfinite(v)) return text;
    char digits[400];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, v, std::chars_format::fixed, 3);
    if (ec != std::errc{}) return text;
    std::size_t length = static_cast<std::size_t>(end - digits);
    const char* start = digits;
    if (length == 6 && std::memcmp(digits, "-0.000", 6) == 0) {
        ++start;
        --length;
    }
    if (length > text.size()) return text;
    text.fill(' ');
    std::memcpy(text.data() + (text.size() - length), start, length);
    return text;
}

// Scientific form in 9 characters: 0.ddd, E, the exponent's sign and two digits, the mantissa
// rounded to three digits with its first digit non-zero (999.6 gives 0.100E+04); negative
// values drop the leading 0 (-.123E+04); zero is 0.000E+00. An exponent that needs three
// digits, or a value that is not finite, is nine asterisks.
std::array<char, 9> FORMAT_VALUE(double v) {
    std::array<char, 9> text;
    text.fill('*');
    if (!std::isfinite(v)) return text;
    if (v == 0.0) {
        std::memcpy(text.data(), "0.000E+00", 9);
        return text;
    }
    // d.dde+x is the value rounded to three significant digits, carries included; as 0.ddd the
    // exponent is one more.
    char digits[32];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::scientific, 2);
    if (ec != std::errc{}) return text;
    *end = '\0';
    const char* e_mark = std::strchr(digits, 'e');
    if (e_mark == nullptr || e_mark - digits != 4) return text;
    int exponent = 0;
    std::from_chars(e_mark + (e_mark[1] == '+' ? 2 : 1), end, exponent);
    exponent += 1;
    if (exponent > 99 || exponent < -99) return text;
    const char mantissa[3] = {digits[0], digits[2], digits[3]};
    char* out = text.data();
    if (v < 0.0) {
        *out++ = '-';
    } else {
        *out++ = '0';
    }
    *out++ = '.';
    *out++ = mantissa[0];
    *out++ = mantissa[1];
    *out++ = mantissa[2];
    *out++ = 'E';
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    *out++ = static_cast<char>('0' + magnitude / 10);
    *out++ = static_cast<char>('0' + magnitude % 10);
    return text;
}

// Assumes panel in 1..30 and panel_table filled (INI_GRAPH or LAYOUT_PAGE), pos and val
// holding n points. Leaves the clip on the panel, the drawing colour curve_colour, the panel
// font selected and the current position at the last point drawn.
void VPLOT1X(std::int32_t panel, std::int32_t n, const double* pos, const double* val,
             std::string_view axis_title, std::string_view value_title, packed_colour curve_colour) {
    if (n < 1 || panel < 1 || panel > panel_count) return;
    const panel_record& p = panel_table[static_cast<std::size_t>(panel - 1)];

    // 1. Ranges, from the points whose position and value are both finite.
    int first = -1, last = -1;
    double v_max = max_start, v_min = min_start;
    for (int i = 0; i < n; ++i) {
        if (!POINT_FINITE(pos[i], val[i])) continue;
        if (first < 0) first = i;
        last = i;
        if (val[i] > v_max) v_max = val[i];
        if (val[i] < v_min) v_min = val[i];
    }
    double x_lo = 0.0, x_hi = 0.0;
    if (first >= 0) {
        x_lo = pos[first];
        x_hi = pos[last];
    } else {
        // No point to draw: the position axis still shows the finite positions there are.
        bool seen = false;
        for (int i = 0; i < n; ++i) {
            if (!std::isfinite(pos[i])) continue;
            if (!seen) x_lo = pos[i];
            seen = true;
            x_hi = pos[i];
        }
        v_min = 0.0;
        v_max = 0.0;
    }
    if (v_min == 0.0 && v_max == 0.0) {
        v_min = -all_zero_half_range;
        v_max = all_zero_half_range;
    }
    WIDEN_IF_EMPTY(x_lo, x_hi);
    WIDEN_IF_EMPTY(v_min, v_max);
    const double y_lo = v_min, y_hi = v_max;

    // 2. Text state.
    SET_CLIP_RECT(1, 1, page_width, page_height);
    SET_DRAW_COLOUR(colour_table[1]);
    LOAD_FONTS();
    SELECT_FONT(panel_font);

    // 3. Spacing of the grid divisions.
    const int tick_dx = (p.ix2 - p.ix1) / p.ndiv_x;
    const int tick_dy = (p.iy2 - p.iy1) / p.ndiv_y;

    // 4. Position numbers at every other division, from the left edge.
    const double step_x = (x_hi - x_lo) / p.ndiv_x;
    for (int k = 0; k <= p.ndiv_x; k += 2) {
        MOVE_TO(static_cast<coord>(p.ix1 + k * tick_dx - 10), static_cast<coord>(p.iy2 + 2));
        const std::array<char, 8> text = FORMAT_POSITION(x_lo + k * step_x);
        DRAW_TEXT(std::string_view(text.data(), text.size()), static_cast<int>(text.size()));
    }

    // 5. Value numbers at every other division, from the top down.
    const double step_y = (y_hi - y_lo) / p.ndiv_y;
    for (int k = 0; k <= p.ndiv_y; k += 2) {
        MOVE_TO(static_cast<coord>(p.ix1 - 44), static_cast<coord>(p.iy1 + k * tick_dy - 4));
        const std::array<char, 9> text = FORMAT_VALUE(y_hi - k * step_y);
        DRAW_TEXT(std::string_view(text.data(), text.size()), static_cast<int>(text.size()));
    }

    // 6, 7. Titles.
    SET_DRAW_COLOUR(colour_table[1]);
    LOAD_FONTS();
    SELECT_FONT(panel_font);
    const std::array<char, title_length> axis = PAD_TITLE(axis_title);
    const std::array<char, title_length> value = PAD_TITLE(value_title);
    MOVE_TO(static_cast<coord>((p.ix1 + p.ix2) / 2 - 28), static_cast<coord>(p.iy2 + 12));
    DRAW_TEXT(std::string_view(axis.data(), axis.size()), title_length);
    MOVE_TO(static_cast<coord>(p.ix1 - 38), static_cast<coord>(p.iy1 - 16));
    DRAW_TEXT(std::string_view(value.data(), value.size()), title_length);

    // 8. Curve state.
    SET_CLIP_RECT(static_cast<coord>(p.ix1), static_cast<coord>(p.iy1), static_cast<coord>(p.ix2),
                  static_cast<coord>(p.iy2));
    SET_DRAW_COLOUR(curve_colour);
    if (first < 0) return;

    // 9. Curve: one polyline through the finite points, broken where a point is missing.
    const double w = p.ix2 - p.ix1;
    const double h = p.iy2 - p.iy1;
    // Box a far segment is cut to: the panel and a margin, well inside 16-bit coordinates.
    const double box_x1 = p.ix1 - 2.0, box_x2 = p.ix2 + 2.0;
    const double box_y1 = p.iy1 - 2.0, box_y2 = p.iy2 + 2.0;
    bool have_prev = false;  // the previous point was finite
    double prev_x = 0.0, prev_y = 0.0;
    bool pen_at_prev = false;  // the current position is the previous point, exactly
    for (int i = 0; i < n; ++i) {
        double px = 0.0, py = 0.0;
        bool ok = POINT_FINITE(pos[i], val[i]);
        if (ok) {
            px = p.ix1 + std::trunc((pos[i] - x_lo) / (x_hi - x_lo) * w);
            py = p.iy2 - std::trunc((val[i] - y_lo) / (y_hi - y_lo) * h);
            ok = std::isfinite(px) && std::isfinite(py);
        }
        if (!ok) {
            have_prev = false;
            pen_at_prev = false;
            continue;
        }
        const bool fits = FITS_COORD(px, py);
        if (!have_prev) {
            if (fits) MOVE_TO(static_cast<coord>(px), static_cast<coord>(py));
            pen_at_prev = fits;
        } else if (pen_at_prev && fits) {
            LINE_TO(static_cast<coord>(px), static_cast<coord>(py));
        } else {
            double ax = prev_x, ay = prev_y, bx = px, by = py;
            if (CLIP_SEGMENT(ax, ay, bx, by, box_x1, box_y1, box_x2, box_y2)) {
                MOVE_TO(static_cast<coord>(std::lround(ax)), static_cast<coord>(std::lround(ay)));
                LINE_TO(static_cast<coord>(std::lround(bx)), static_cast<coord>(std::lround(by)));
            }
            // The next segment starts from the point itself when it fits, so two points that
            // fit are always joined exactly as the scale rule places them.
            pen_at_prev = fits;
            if (fits) MOVE_TO(static_cast<coord>(px), static_cast<coord>(py));
        }
        have_prev = true;
        prev_x = px;
        prev_y = py;
    }
}

}  // namespace orvex
