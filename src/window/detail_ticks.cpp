// detail_ticks.cpp: the ticks of a detail window's axis and the format of their labels
// (DETAIL_AXIS_TICKS, detail_window.h): the ticks every axis of the program gets
// (surface/axis_ticks.h), their digits as a printf format for the chart's labels.
#include <string>

#include "surface/axis_ticks.h"
#include "window/detail_window.h"

namespace orvex {

detail_ticks DETAIL_AXIS_TICKS(double lo, double hi) {
    const axis_ticks t = AXIS_TICKS(lo, hi);
    return {t.step, t.at, "%." + std::to_string(t.digits) + "g"};
}

}  // namespace orvex
