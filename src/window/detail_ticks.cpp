// detail_ticks.cpp: the ticks of a detail window's axis and their labels (DETAIL_AXIS_TICKS,
// DETAIL_TICK_LABEL, detail_window.h): the ticks every axis of the program gets
// (surface/axis_ticks.h), labelled with the number forms of the console floor, the same in every
// locale.
#include <string>

#include "surface/axis_ticks.h"
#include "window/detail_window.h"

namespace orvex {

detail_ticks DETAIL_AXIS_TICKS(double lo, double hi) {
    const axis_ticks t = AXIS_TICKS(lo, hi);
    return {t.step, t.at, t.digits};
}

std::string DETAIL_TICK_LABEL(const detail_ticks& ticks, double v) {
    return TICK_TEXT(axis_ticks{ticks.step, ticks.at, ticks.digits}, v);
}

}  // namespace orvex
