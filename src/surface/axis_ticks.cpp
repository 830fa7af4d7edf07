// axis_ticks.cpp: the ticks of an axis and the digits of their texts; see axis_ticks.h.
#include "surface/axis_ticks.h"

#include <charconv>
#include <cmath>

#include "console/number_text.h"

namespace orvex {

namespace {

// Every tick read back as itself (plain decimals between 1e-4 and 1e6), and the ends apart.
bool READS_APART(const axis_ticks& t, double lo, double hi, int digits) {
    if (NUMBER_G(lo, digits) == NUMBER_G(hi, digits)) return false;
    for (const double tick : t.at) {
        const std::string label = NUMBER_G(tick, digits);
        double back = 0.0;
        const auto r = std::from_chars(label.data(), label.data() + label.size(), back);
        if (r.ec != std::errc{} || std::fabs(back - tick) > t.step * 1e-9) return false;
        const double size = std::fabs(tick);
        if (size >= 1e-4 && size < 1e6 && label.find('e') != std::string::npos) return false;
    }
    return true;
}

}  // namespace

axis_ticks AXIS_TICKS(double lo, double hi) {
    axis_ticks t;
    const double size = std::max(std::fabs(lo), std::fabs(hi));
    const double half_span = hi / 2 - lo / 2;
    if (std::isfinite(half_span) && half_span > size * 5e-13) {
        const double power = std::pow(10.0, std::floor(std::log10(half_span / 4)));
        for (const double m : {1.0, 2.0, 5.0, 10.0}) {
            t.step = m * power;
            if (half_span / t.step <= 4) break;
        }
        // + 0.0: a tick at zero is +0.
        for (double k = std::ceil(lo / t.step) + 0.0; k * t.step <= hi && t.at.size() < 16; ++k) t.at.push_back(k * t.step);
    }
    if (!std::isfinite(t.step) || t.at.size() < 2) {
        t.step = hi - lo;
        t.at = {lo, hi};
        if (!(hi > lo)) t.at.pop_back();
        t.digits = 17;
        return t;
    }
    for (int digits = 1; digits <= 17; ++digits) {
        if (READS_APART(t, lo, hi, digits)) {
            t.digits = digits;
            return t;
        }
    }
    t.digits = 17;
    return t;
}

std::string TICK_TEXT(const axis_ticks& ticks, double v) {
    return NUMBER_G(std::fabs(v) < 1e-9 * ticks.step ? 0.0 : v, ticks.digits);
}

}  // namespace orvex
