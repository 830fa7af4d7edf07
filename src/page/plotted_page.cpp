// plotted_page.cpp: the record of what each panel shows, one for each page slot of the surface.
#include "page/plotted_page.h"

#include <array>

#include "surface/surface.h"

namespace orvex {

namespace {
std::array<plotted_page, page_slot_count> the_pages;

plotted_page& SLOT_PAGE() { return the_pages[static_cast<std::size_t>(PAGE_SLOT())]; }
}  // namespace

const plotted_page& PLOTTED_PAGE() { return SLOT_PAGE(); }

void RECORD_PLOTTED_PANEL(const plotted_panel& p) {
    if (p.panel < 1 || p.panel > panel_count) return;
    SLOT_PAGE().panels[static_cast<std::size_t>(p.panel - 1)] = p;
}

void RECORD_PLOTTED_SOURCE(std::string_view map_file, const field_entry& field) {
    SLOT_PAGE().map_file = map_file;
    SLOT_PAGE().field = &field;
}

}  // namespace orvex
