// histo.cpp: the graph table, the checks of callers' arguments, the pen that draws polylines
// through far-off points safely, LOG_TOP and the three forms of axis numbers.
#include "histo.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "console.h"
#include "histo_check.h"

namespace orvex {

std::array<graph_record, graph_count> graph_table{};

namespace histo_detail {

void MISUSE(std::string_view routine, std::string_view what) {
    std::string message(routine);
    message += ": ";
    message += what;
    STOP_RUN(message);
}

void CHECK_GRAPH_NUMBER(std::string_view routine, int g) {
    if (g < 1 || g > graph_count) MISUSE(routine, "graph " + std::to_string(g) + " is not one of 1..10");
}

const graph_record& CHECKED_GRAPH(std::string_view routine, int g) {
    CHECK_GRAPH_NUMBER(routine, g);
    const graph_record& r = graph_table[static_cast<std::size_t>(g - 1)];
    const std::string name = "graph " + std::to_string(g);
    if (r.ix1 < 1 || r.ix2 > page_width || r.iy1 < 1 || r.iy2 > page_height || r.ix1 >= r.ix2 || r.iy1 >= r.iy2) {
        MISUSE(routine, name + " has no rectangle on the page (ix1 < ix2 in 1..1280, iy1 < iy2 in 1..800)");
    }
    if (r.ndiv_x < 1 || r.ndiv_y < 1) MISUSE(routine, name + " needs at least one division each way");
    // A division narrower than a pixel has no tick of its own (and a huge count would keep
    // the number loops going for ever).
    if (r.ndiv_x > r.ix2 - r.ix1 || r.ndiv_y > r.iy2 - r.iy1) {
        MISUSE(routine, name + " has more divisions than pixels across or down");
    }
    return r;
}

void CHECK_RANGE(std::string_view routine, std::string_view name, const data_range& range) {
    if (!std::isfinite(range[0]) || !std::isfinite(range[1]) || !std::isfinite(range[1] - range[0]) ||
        range[0] == range[1]) {
        MISUSE(routine, std::string(name) + " is empty or not finite");
    }
}

void CHECK_BINS(std::string_view routine, std::string_view name, int nbins, int capacity) {
    if (nbins < 1 || nbins > capacity) {
        MISUSE(routine, std::string(name) + " = " + std::to_string(nbins) + " is not one of 1.." + std::to_string(capacity));
    }
}

void CHECK_LENGTH(std::string_view routine, std::string_view name, std::size_t length, std::size_t needed) {
    if (length < needed) {
        MISUSE(routine, std::string(name) + " holds " + std::to_string(length) + " entries, " + std::to_string(needed) +
                            " needed");
    }
}

namespace {

inline bool IN_BOX(double x, double y) {
    return x >= -pen_limit && x <= pen_limit && y >= -pen_limit && y <= pen_limit;
}

inline coord TO_COORD(double v) { return static_cast<coord>(std::lround(v)); }

// Cuts the segment (x0, y0)-(x1, y1) to the pen's box (Liang-Barsky); false when it misses.
bool CUT_TO_BOX(double& x0, double& y0, double& x1, double& y1) {
    const double dx = x1 - x0, dy = y1 - y0;
    double t0 = 0.0, t1 = 1.0;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x0 + pen_limit, pen_limit - x0, y0 + pen_limit, pen_limit - y0};
    for (int e = 0; e < 4; ++e) {
        if (p[e] == 0.0) {
            if (q[e] < 0.0) return false;
            continue;
        }
        const double t = q[e] / p[e];
        if (p[e] < 0.0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const double sx = x0, sy = y0;
    x0 = sx + t0 * dx;
    y0 = sy + t0 * dy;
    x1 = sx + t1 * dx;
    y1 = sy + t1 * dy;
    return true;
}

}  // namespace

void PEN_MOVE(pen& p, double x, double y) {
    p.x = x;
    p.y = y;
    p.valid = !std::isnan(x) && !std::isnan(y);
    p.at_pen = p.valid && IN_BOX(x, y);
    if (p.at_pen) MOVE_TO(TO_COORD(x), TO_COORD(y));
}

void PEN_LINE(pen& p, double x, double y) {
    const bool valid = !std::isnan(x) && !std::isnan(y);
    if (p.valid && valid) {
        if (IN_BOX(p.x, p.y) && IN_BOX(x, y)) {
            if (!p.at_pen) MOVE_TO(TO_COORD(p.x), TO_COORD(p.y));
            LINE_TO(TO_COORD(x), TO_COORD(y));
            p.at_pen = true;
        } else {
            double x0 = p.x, y0 = p.y, x1 = x, y1 = y;
            p.at_pen = false;
            if (CUT_TO_BOX(x0, y0, x1, y1)) {
                MOVE_TO(TO_COORD(x0), TO_COORD(y0));
                LINE_TO(TO_COORD(x1), TO_COORD(y1));
                p.at_pen = IN_BOX(x, y);
            }
        }
    } else {
        p.at_pen = false;
    }
    p.x = x;
    p.y = y;
    p.valid = valid;
}

}  // namespace histo_detail

std::int32_t LOG_TOP(std::int32_t nmax) {
    // No logarithm below 1: one decade, as for every nmax below 10.
    if (nmax <= 0) return 1;
    return static_cast<std::int32_t>(std::trunc(std::log(static_cast<double>(nmax)) / 2.302585092994046)) + 1;
}

namespace {

// Copies a printf result of exactly up to 8 characters, right-aligned; asterisks otherwise.
std::array<char, 8> FIT_8(const char* text, int length) {
    std::array<char, 8> out;
    out.fill('*');
    if (length < 0 || length > 8) return out;
    out.fill(' ');
    for (int i = 0; i < length; ++i) out[static_cast<std::size_t>(8 - length + i)] = text[i];
    return out;
}

// A value that rounds to zero is written without a sign: an axis end computed as
// 0.3 - 3 x 0.1 reads "0.000", not "-0.000".
int DROP_NEGATIVE_ZERO(char* text, int length) {
    if (length < 2 || text[0] != '-') return length;
    for (int i = 1; i < length; ++i) {
        if (text[i] != '0' && text[i] != '.') return length;
    }
    for (int i = 0; i < length; ++i) text[i] = text[i + 1];
    return length - 1;
}

}  // namespace

std::array<char, 8> FORMAT_AXIS_INTEGER(std::int64_t v) {
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%lld", static_cast<long long>(v));
    return FIT_8(text, n);
}

std::array<char, 8> FORMAT_AXIS_POINT(double v) {
    if (!std::isfinite(v)) return FIT_8("", -1);
    char text[400];
    // "%#.0f" keeps the point: 12 gives "12.".
    const int n = std::snprintf(text, sizeof text, "%#.0f", v);
    return FIT_8(text, DROP_NEGATIVE_ZERO(text, n));
}

std::array<char, 8> FORMAT_AXIS_FIXED3(double v) {
    if (!std::isfinite(v)) return FIT_8("", -1);
    char text[400];
    const int n = std::snprintf(text, sizeof text, "%.3f", v);
    return FIT_8(text, DROP_NEGATIVE_ZERO(text, n));
}

}  // namespace orvex
