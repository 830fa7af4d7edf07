// plotted_page.cpp: the record of what each panel shows.
#include "page/plotted_page.h"

namespace orvex {

namespace {
plotted_page the_page;
}  // namespace

const plotted_page& PLOTTED_PAGE() { return the_page; }

void RECORD_PLOTTED_PANEL(const plotted_panel& p) {
    if (p.panel < 1 || p.panel > panel_count) return;
    the_page.panels[static_cast<std::size_t>(p.panel - 1)] = p;
}

void RECORD_PLOTTED_SOURCE(std::string_view map_file, const field_entry& field) {
    the_page.map_file = map_file;
    the_page.field = &field;
}

}  // namespace orvex
