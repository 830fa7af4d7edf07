// field_switch.cpp: the page of a run redrawn for the other field of the map.
#include "driver/field_switch.h"

#include <array>
#include <string>

#include "console/console.h"
#include "driver/command_line.h"
#include "driver/control_file.h"
#include "field/field_grid.h"
#include "field/field_table.h"
#include "field/unfold.h"
#include "page/plot_driver.h"
#include "page/plotted_page.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"

namespace orvex {

namespace {

// Which triples of the full grid hold the unfolded map: the run's own when PAGE_FIELDS hands
// the page over, the other once it has been asked for.
std::array<bool, 2> triple_unfolded{};

}  // namespace

void LABEL_PAGE_PNG() {
    const std::string software = "plot_orvex_3dfields " + std::string(PROGRAM_VERSION());
    SET_PAGE_PNG_LABELS({software, FIELD_FILE_NAME(), FIELD_ENTRY(field_grid.field_flag).title});
}

page_fields PAGE_FIELDS() {
    page_fields fields;
    fields.grid = &field_grid;
    fields.field_flag = field_grid.field_flag;
    fields.both_fields = field_grid.field_kind == 2;
    fields.draw_field = DRAW_FIELD_PAGE;
    fields.unfold_field = UNFOLD_FIELD;
    triple_unfolded = {field_grid.field_flag == 0, field_grid.field_flag == 1};
    return fields;
}

bool UNFOLD_FIELD(int field_flag) {
    field_grid_record& g = field_grid;
    if ((field_flag != 0 && field_flag != 1) || (g.field_kind != 2 && g.field_kind != field_flag)) return false;
    if (triple_unfolded[static_cast<std::size_t>(field_flag)]) return true;
    const int was = g.field_flag;
    g.field_flag = field_flag;
    UNFOLD_GRID(unfold_scope::plotted_triple);
    g.field_flag = was;
    triple_unfolded[static_cast<std::size_t>(field_flag)] = true;
    return true;
}

bool DRAW_FIELD_PAGE(int field_flag, page_content* content, std::string_view* why) {
    const auto refuse = [why](std::string_view reason) {
        if (why != nullptr) *why = reason;
        return false;
    };
    if (field_flag != 0 && field_flag != 1) return refuse("the field is 0 (electric) or 1 (magnetic)");
    field_grid_record& g = field_grid;
    if (g.field_kind != 2 && g.field_kind != field_flag)
        return refuse(g.field_kind == 0 ? "the map carries only the electric field" : "the map carries only the magnetic field");
    // The map's name as the run's page keeps it (the control file's, in a run).
    const std::string_view map_file =
        content != nullptr && content->plotted != nullptr ? PLOTTED_PAGE().map_file : FIELD_FILE_NAME();
    const int was = g.field_flag;
    const bool quiet = SET_CONSOLE_QUIET(true);
    const std::size_t listed = CONSOLE_LOG().size();
    bool drawn = true;
    try {
        g.field_flag = field_flag;
        UNFOLD_FIELD(field_flag);
        PLOT_PROFILES(map_file);
        LABEL_PAGE_PNG();
    } catch (...) {  // a run stop or an exception: the page of the run's field is drawn again
        drawn = false;
        g.field_flag = was;
        try {
            PLOT_PROFILES(map_file);
            LABEL_PAGE_PNG();
        } catch (...) {
        }
    }
    TRUNCATE_CONSOLE_LOG(listed);
    SET_CONSOLE_QUIET(quiet);
    if (!drawn) {
        return refuse("the page could not be drawn for that field");
    }
    if (content != nullptr) {
        content->pixels = PAGE_PIXELS();
        content->list = &DISPLAY_LIST();
        content->plotted = &PLOTTED_PAGE();
        content->png_texts = PAGE_PNG_TEXTS();
        content->fields.field_flag = field_flag;
    }
    return true;
}

}  // namespace orvex
