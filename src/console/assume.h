// assume.h: the order of the stages, checked where a header says what it assumes.
//
// WHAT IT IS
//   ORVEX_ASSUME(condition, "what must hold") states a precondition that the run's fixed order
//   of stages guarantees (the grid is unfolded before it is sampled, the page is laid out
//   before a profile is drawn into it). In debug builds (NDEBUG not set) and in the sanitizer
//   build (ORVEX_SANITIZE) a condition that does not hold ends the process at once with one
//   line on standard error naming what was assumed, where, and abort(); in release builds the
//   check compiles to nothing and the condition is not evaluated.
//
// HOW TO CALL IT
//   ORVEX_ASSUME(field_grid.unfolded, "UNFOLD_GRID has run before the grid is sampled");
//
// ASSUMES AND LIMITS
//   For mistakes of the program's own code, never for bad input: a bad file or a bad value on
//   the command line is reported with one line and a status, in every build. The condition must
//   have no side effects. ORVEX_ASSUMPTIONS_CHECKED says whether the checks are compiled in.
#pragma once

#include <cstdio>
#include <cstdlib>

#if !defined(NDEBUG) || defined(ORVEX_SANITIZE)
#define ORVEX_ASSUMPTIONS_CHECKED 1
#define ORVEX_ASSUME(condition, what) \
    ((condition) ? static_cast<void>(0) : ::orvex::ASSUMPTION_FAILED(what, __FILE__, __LINE__))
#else
#define ORVEX_ASSUMPTIONS_CHECKED 0
#define ORVEX_ASSUME(condition, what) static_cast<void>(0)
#endif

namespace orvex {

[[noreturn]] inline void ASSUMPTION_FAILED(const char* what, const char* file, int line) {
    std::fprintf(stderr, "plot_orvex_3dfields: internal error: the stages ran out of order: %s is not so (%s:%d)\n",
                 what, file, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace orvex
