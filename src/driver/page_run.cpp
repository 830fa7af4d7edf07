// page_run.cpp: the page's run, and the page of the other field drawn for the window.
#include "driver/page_run.h"

#include <optional>
#include <system_error>
#include <thread>

#include "console/console.h"
#include "driver/control_file.h"
#include "driver/other_map.h"
#include "driver/run_modes.h"
#include "field/field_grid.h"
#include "field/figures.h"
#include "field/map_checks.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "show/show_page.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"

namespace orvex {

namespace {

// The program's name and version, as the PNG's labels and the figures' documents give it.
const std::string& SOFTWARE() {
    static const std::string software = PROGRAM_AND_VERSION();
    return software;
}

}  // namespace

// The divergence check of the field plotted starts on the second core while the page is drawn,
// and the main thread takes its share of the planes once the page is done: both only read the
// full map (its field unfolded as the pass is made), and the note joins the others once the
// pass is complete. Where no thread can start (a limit on threads or on memory) the main thread
// does it all.
void PAGE_STAGES(const run_request&, run_outcome& out) {
    const full_map& m = field_grid.full;
    const int field = field_grid.field_flag;
    divergence_pass pass(m, field);
    std::thread checker;
    try {
        checker = std::thread([&pass] { pass.WORK(); });
    } catch (const std::system_error&) {
    }
    struct joined {  // the thread is joined also when drawing stops the run
        std::thread& t;
        ~joined() {
            if (t.joinable()) t.join();
        }
    } join_checker{checker};
    PLOT_PROFILES(m, field, FIELD_FILE_NAME(), page_listing::printed, SOFTWARE());
    pass.WORK();
    if (checker.joinable()) checker.join();
    if (const std::optional<divergence_figures> d = pass.RESULT())
        if (const std::string note = DIVERGENCE_NOTE(field, *d); !note.empty()) ADD_MAP_NOTE(note);
    out.show_page = true;
    out.page_field = field;
}

bool DRAW_FIELD_PAGE(int field, page_content* content, std::string_view* why) {
    const auto refuse = [why](std::string_view reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    const full_map& m = field_grid.full;
    if (field != 0 && field != 1) return refuse("the field is 0 (electric) or 1 (magnetic)");
    if (!MAP_CARRIES(m, field))
        return refuse(m.field_kind == 0 ? "the map carries only the electric field" : "the map carries only the magnetic field");
    const int shown = PAGE_SLOT();
    try {
        PLOT_PROFILES(m, field, FIELD_FILE_NAME(), page_listing::none, SOFTWARE());
    } catch (...) {  // a stop or an exception: the page shown is the other slot's, untouched
        SELECT_PAGE_SLOT(shown);
        return refuse("the page could not be drawn for that field");
    }
    if (content != nullptr) {
        content->pixels = PAGE_PIXELS();
        content->list = &DISPLAY_LIST();
        content->plotted = &PLOTTED_PAGE();
        content->png_texts = PAGE_PNG_TEXTS();
        content->fields.field_flag = field;
    }
    return true;
}

page_fields RUN_PAGE_FIELDS(int field) {
    page_fields fields;
    fields.map = &field_grid.full;
    fields.field_flag = field;
    fields.both_fields = field_grid.full.field_kind == 2;
    fields.draw_field = DRAW_FIELD_PAGE;
    fields.load_other = LOAD_OTHER_MAP;
    fields.drop_other = DROP_OTHER_MAP;
    return fields;
}

page_figures RUN_PAGE_FIGURES() {
    page_figures figures;
    figures.program = SOFTWARE();
    figures.map_file = FIELD_FILE_NAME();
    figures.check_notes = MAP_CHECK_NOTES();
    return figures;
}

int SHOW_RUN_PAGE(int field) {
    return SHOW_PAGE(page_png_name, MAP_NOTES(), &PLOTTED_PAGE(), RUN_PAGE_FIELDS(field), RUN_PAGE_FIGURES());
}

}  // namespace orvex
