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
#include "page/vplot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "console/assume.h"
#include "page/page.h"
#include "surface/data_pixel.h"
#include "surface/pen.h"

namespace orvex {

namespace {

constexpr double max_start = -9.0e9;
constexpr double min_start = 9.0;
constexpr double all_zero_half_range = 1.0e-12;
constexpr std::string_view panel_font = "t'Arial'h12w4";
constexpr int title_length = 20;

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

}  // namespace

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

// The ranges from the points whose position and value are both finite: the first and last such
// position, the smallest (never above 9.0) and largest value, zero-width ranges widened.
profile_scale PROFILE_SCALE(std::int32_t n, const double* pos, const double* val) {
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
    return {x_lo, x_hi, v_min, v_max, first >= 0};
}

// Assumes panel in 1..30 and panel_table filled (INI_GRAPH or LAYOUT_PAGE), pos and val
// holding n points. Leaves the clip on the panel, the drawing colour curve_colour, the panel
// font selected and the current position at the last point drawn.
void VPLOT1X(std::int32_t panel, std::int32_t n, const double* pos, const double* val,
             std::string_view axis_title, std::string_view value_title, packed_colour curve_colour) {
    if (n < 1 || panel < 1 || panel > panel_count) return;
    const panel_record& p = panel_table[static_cast<std::size_t>(panel - 1)];
    ORVEX_ASSUME(p.ix2 > p.ix1 && p.iy2 > p.iy1, "INI_GRAPH has opened the page before a profile is drawn");

    // 1. Ranges.
    const profile_scale scale = PROFILE_SCALE(n, pos, val);
    const double x_lo = scale.x_lo, x_hi = scale.x_hi, y_lo = scale.y_lo, y_hi = scale.y_hi;

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
    if (!scale.drawable) return;

    // 9. Curve: one polyline through the finite points, broken where a point is missing. A
    // segment to a point whose pixel does not fit 16 bits is cut to the panel and a margin.
    const double w = p.ix2 - p.ix1;
    const double h = p.iy2 - p.iy1;
    pen curve{.near = coord_box, .cut = {p.ix1 - 2.0, p.iy1 - 2.0, p.ix2 + 2.0, p.iy2 + 2.0}};
    constexpr double missing = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < n; ++i) {
        const bool finite = POINT_FINITE(pos[i], val[i]);
        const double px = finite ? DATA_PIXEL_ACROSS(pos[i], x_lo, x_hi, p.ix1, w) : missing;
        const double py = finite ? DATA_PIXEL_UP(val[i], y_lo, y_hi, p.iy2, h) : missing;
        PEN_LINE(curve, px, py);
    }
}

}  // namespace orvex
