// axis_ticks.h: where the ticks of an axis over lo..hi fall, and how their numbers read.
//
// WHAT IT IS
//   AXIS_TICKS(lo, hi) puts ticks at whole multiples of a step of 1, 2 or 5 times a power of
//   ten, the finest such step that cuts the range into eight intervals at most (three to nine
//   ticks inside lo..hi), and finds the fewest significant digits (1 to 17) with which every
//   tick reads as its own value (no exponent between 1e-4 and 1e6) and lo, hi and every tick
//   read differently. A range too narrow for its magnitude (below about 1e-12 of it), or one
//   whose ends are not numbers, gets its two ends as ticks with 17 digits.
//   TICK_TEXT gives a tick's text in those digits as "%.<digits>g" would write it in the C
//   locale ("0.5", "-1.5", "2e-05"); a tick within 1e-9 steps of zero reads "0", never "-0".
//
// HOW TO CALL IT
//   const axis_ticks t = AXIS_TICKS(-2.0, 2.0);            // -2, -1.5, ... 2: step 0.5, 2 digits
//   for (const double v : t.at) draw(v, TICK_TEXT(t, v));
//
// ASSUMES AND LIMITS
//   Nothing is kept between calls; at most 16 ticks. The texts never depend on the locale.
#pragma once

#include <string>
#include <vector>

namespace orvex {

struct axis_ticks {
    double step = 0.0;
    std::vector<double> at;
    int digits = 17;  // significant digits of the tick texts
};

axis_ticks AXIS_TICKS(double lo, double hi);
std::string TICK_TEXT(const axis_ticks& ticks, double v);

}  // namespace orvex
