// plot_orvex_3dfields.cpp: the run's fixed sequence.
//
//   control file -> field file classified and echoed -> stored lattice (reader) -> header
//   listing -> map checks (notes) -> full grid (unfolding) -> divergence (a note) -> profiles
//   and page (plot driver) -> window or PNG (whose window may ask for the page of the map's
//   other field: field_switch.h)
//
// Each stage reads what the stage before it wrote; nothing flows back. A stop anywhere throws
// run_stop; it is written here, once, and nothing after it is read, listed, drawn or written.
// A listing that could not be written to standard output ends the run the same way, with one
// line on standard error.
#include "driver/plot_orvex_3dfields.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <new>
#include <span>
#include <string>
#include <string_view>

#include "console/console.h"
#include "console/run_stop.h"
#include "driver/command_line.h"
#include "driver/control_file.h"
#include "driver/field_switch.h"
#include "field/field_grid.h"
#include "field/field_table.h"
#include "fieldio/map_layouts.h"
#include "driver/header_listing.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/png_output.h"
#include "show/show_page.h"
#include "field/unfold.h"
#include "field/map_checks.h"
#include "field/figures_of_run.h"
#include "driver/figures_run.h"

namespace orvex {

namespace {

void LOAD_FIELD_FILE() {
    const map_layout* layout = FIND_MAP_LAYOUT(run_settings.format_flag);
    if (layout == nullptr) STOP_RUN(msg_bad_format);
    layout->read(FIELD_FILE_NAME());
}


// The mirror flags are 0 or 1. Others (2, 0, 0, or 1, 1, -1 summing to 1) could still match
// an unfolding case by their sum, giving a page whose limits and steps contradict the data.
bool FLAGS_ARE_ZERO_OR_ONE() {
    const auto zero_or_one = [](std::int32_t flag) { return flag == 0 || flag == 1; };
    return zero_or_one(field_grid.ksym_yz) && zero_or_one(field_grid.ksym_xz) && zero_or_one(field_grid.ksym_xy);
}

}  // namespace

// Each note of the map checks from note first on, as one line on standard error; they change
// nothing else. A run whose listing was lost says only that, at its end.
void REPORT_MAP_NOTES(std::size_t first) {
    if (CONSOLE_OUTPUT_ERROR() != 0) return;
    const std::span<const std::string_view> notes = MAP_NOTES();
    for (std::size_t n = first; n < notes.size(); ++n)
        std::fprintf(stderr, "plot_orvex_3dfields: note: %.*s\n", static_cast<int>(notes[n].size()), notes[n].data());
}

void READ_RUN_MAP() {
    READ_CONTROL_FILE();
    CLASSIFY_FIELD_FILE();
    CONSOLE_WRITE(" Input field file name = ", {L_TEXT(FIELD_FILE_NAME())});
    LOAD_FIELD_FILE();
    LIST_FIELD_HEADER();
    if (!FLAGS_ARE_ZERO_OR_ONE()) STOP_RUN(msg_no_unfolding_case);
    CHECK_MAP();
    REPORT_MAP_NOTES(0);
}

void READ_AND_UNFOLD_MAP(unfold_scope scope) {
    READ_RUN_MAP();
    UNFOLD_GRID(scope);
    // A grid that matches no unfolding case would give thirty empty profiles and a
    // meaningless page: the run stops here instead.
    if (field_grid.nx == 0) STOP_RUN(msg_no_unfolding_case);
}

bool RUN_STAGES(void (*stages)()) {
    try {
        stages();
        return true;
    } catch (const run_stop& stop) {
        SET_CONSOLE_QUIET(false);  // a stop is written even by a run that lists nothing
        REPORT_RUN_STOP(stop);
        if (stop.where == run_stop::channel::console) REPORT_LOST_LISTING();
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "plot_orvex_3dfields: out of memory\n");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plot_orvex_3dfields: %s\n", e.what());
    }
    return false;
}

int PLOT_ORVEX_3DFIELDS() {
    HOLD_STANDARD_STREAMS();
    ADVISE_FIELD_GRID();
    const bool done = RUN_STAGES([] {
        READ_AND_UNFOLD_MAP(unfold_scope::plotted_triple);
        const std::size_t noted = MAP_NOTES().size();
        CHECK_DIVERGENCE(field_grid.field_flag);
        REPORT_MAP_NOTES(noted);
        PLOT_PROFILES(FIELD_FILE_NAME());
        LABEL_PAGE_PNG();
    });
    if (!done) return 1;
    // A listing that did not reach standard output is a failed run: no page is shown or written.
    if (REPORT_LOST_LISTING()) return 1;
    return SHOW_PAGE(page_png_name, MAP_NOTES(), &PLOTTED_PAGE(), PAGE_FIELDS(), PAGE_FIGURES());
}

}  // namespace orvex
