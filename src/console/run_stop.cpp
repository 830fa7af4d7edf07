// run_stop.cpp: the early stops of a run, thrown where they happen and written once by main.
#include "console/run_stop.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "console/console.h"

namespace orvex {

void STOP_RUN(std::string_view message) {
    throw run_stop{run_stop::channel::console, std::string(message)};
}

void STOP_RUN_WITH_NOTE(std::string_view message, std::string_view note) {
    throw run_stop{run_stop::channel::console, std::string(message), VISIBLE_TEXT(note)};
}

void INPUT_FAILURE(std::string_view file, std::string_view place, std::string_view what) {
    std::string message = "plot_orvex_3dfields: ";
    message += VISIBLE_TEXT(file);
    if (!place.empty()) {
        message += ':';
        message += place;
    }
    message += ": ";
    message += what;
    throw run_stop{run_stop::channel::input, std::move(message)};
}

void RUN_FAILURE(std::string_view what) {
    std::string message = "plot_orvex_3dfields: ";
    message += what;
    throw run_stop{run_stop::channel::input, std::move(message)};
}

void REPORT_RUN_STOP(const run_stop& stop) {
    if (stop.where == run_stop::channel::console) {
        CONSOLE_WRITE(stop.message);
    } else {
        std::fprintf(stderr, "%s\n", stop.message.c_str());
        std::fflush(stderr);
    }
    if (!stop.note.empty()) {
        std::fprintf(stderr, "plot_orvex_3dfields: note: %s\n", stop.note.c_str());
        std::fflush(stderr);
    }
}

bool REPORT_LOST_LISTING() {
    const int error = CONSOLE_OUTPUT_ERROR();
    if (error == 0) return false;
    std::fprintf(stderr, "plot_orvex_3dfields: cannot write the listing to standard output: %s\n", std::strerror(error));
    std::fflush(stderr);
    return true;
}

}  // namespace orvex
