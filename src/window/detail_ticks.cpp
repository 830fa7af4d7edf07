// detail_ticks.cpp: the ticks of a detail window's axis and the format of their labels
// (DETAIL_AXIS_TICKS, detail_window.h): steps of 1, 2 or 5 times a power of ten, labelled with
// the fewest significant digits that show every tick exactly and keep the ends apart.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

#include "console/number_text.h"
#include "window/detail_window.h"

namespace orvex {

namespace {

std::string LABEL(int digits, double v) { return NUMBER_G(v, digits); }

double READ_BACK(const std::string& label) {
    double v = 0.0;
    std::from_chars(label.data(), label.data() + label.size(), v);
    return v;
}

// Every tick shown exactly (plain decimals between 1e-4 and 1e6), and the ends apart.
bool READS_APART(const detail_ticks& t, double lo, double hi, int digits) {
    if (LABEL(digits, lo) == LABEL(digits, hi)) return false;
    for (const double tick : t.at) {
        const std::string label = LABEL(digits, tick);
        if (std::fabs(READ_BACK(label) - tick) > t.step * 1e-9) return false;
        const double size = std::fabs(tick);
        if (size >= 1e-4 && size < 1e6 && label.find('e') != std::string::npos) return false;
    }
    return true;
}

}  // namespace

detail_ticks DETAIL_AXIS_TICKS(double lo, double hi) {
    detail_ticks t;
    const double size = std::max(std::fabs(lo), std::fabs(hi));
    const double half_span = hi / 2 - lo / 2;
    if (std::isfinite(half_span) && half_span > size * 5e-13) {
        // The finest step of 1, 2 or 5 times a power of ten that cuts the range into eight
        // intervals at most.
        const double power = std::pow(10.0, std::floor(std::log10(half_span / 4)));
        for (const double m : {1.0, 2.0, 5.0, 10.0}) {
            t.step = m * power;
            if (half_span / t.step <= 4) break;
        }
        // + 0.0: a tick at zero is +0, never printed "-0".
        for (double k = std::ceil(lo / t.step) + 0.0; k * t.step <= hi && t.at.size() < 16; ++k) {
            t.at.push_back(k * t.step);
        }
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

std::string DETAIL_TICK_LABEL(const detail_ticks& ticks, double v) {
    return NUMBER_G(std::fabs(v) < 1e-9 * ticks.step ? 0.0 : v, ticks.digits);
}

}  // namespace orvex
