// reset_records.h: the run's records back to their start-of-run state: the console log, and
// where the test links them, the field grid and the drawing surface (the floors a test does
// not link it cannot touch). The GoogleTest fixture that calls it before each test is
// fresh_records.h; Qt tests call it themselves.
#pragma once

#include "console/console.h"
#if __has_include("field/field_grid.h")
#include "field/field_grid.h"
#define ORVEX_FRESH_FIELD_GRID 1
#endif
#if __has_include("surface/surface.h")
#include "surface/surface.h"
#define ORVEX_FRESH_SURFACE 1
#endif

namespace orvex::testing_support {

inline void RESET_RECORDS() {
    CLEAR_CONSOLE_LOG();
#ifdef ORVEX_FRESH_FIELD_GRID
    RESET_FIELD_GRID();
#endif
#ifdef ORVEX_FRESH_SURFACE
    RESET_SURFACE();
#endif
}

}  // namespace orvex::testing_support
