// histo.cpp: the graph table, the checks of callers' arguments and LOG_TOP.
#include "histo/histo.h"

#include <cmath>
#include <string>

#include "console/run_stop.h"
#include "histo/histo_check.h"

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

}  // namespace histo_detail

std::int32_t LOG_TOP(std::int32_t nmax) {
    // No logarithm below 1: one decade, as for every nmax below 10.
    if (nmax <= 0) return 1;
    return static_cast<std::int32_t>(std::trunc(std::log(static_cast<double>(nmax)) / 2.302585092994046)) + 1;
}

}  // namespace orvex
