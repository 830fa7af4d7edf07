// page_content.h: what the window is handed to show, and how it writes the page.
//
// WHAT IT IS
//   The window shows a finished page, the run's console listing and the notes on the map; it
//   reads values off the page through the plotted page and replays the page as vectors from
//   its display list. It reads nothing else of the program. SHOW_PAGE (show_page.h) fills a
//   page_content from the surface, the plot driver's records and the console log, and hands it
//   over, as a viewer widget is handed its image.
//
// ASSUMES AND LIMITS
//   Every view and pointer refers to records that live for the whole run; the window copies
//   nothing it does not change. Texts are UTF-8. plotted may be null (a picture that is not the
//   viewer's page, such as the histogram library's): then there is no readout, no detail window
//   and no export of profiles.
#pragma once

#include <span>
#include <string_view>

#include "surface/display_list.h"
#include "surface/png_encode.h"
#include "surface/surface.h"

namespace orvex {

// What each panel of the viewer's page shows (page/plotted_page.h) and the map behind it
// (field/field_grid.h); the show floor only passes them on.
struct plotted_page;
struct field_grid_record;

struct page_content {
    std::span<const packed_colour> pixels;  // page_width x page_height, row by row (PAGE_PIXELS)
    const display_list* list = nullptr;     // the page's drawing operations (DISPLAY_LIST)
    const plotted_page* plotted = nullptr;  // what each panel shows (PLOTTED_PAGE), or null
    std::string_view caption;               // the plot window's caption
    std::string_view console_text;          // every record of the listing, each ending in '\n'
    packed_colour console_text_colour = 0xFFFFFF;
    std::span<const std::string_view> notes;  // what the map checks found, one line each
    std::string_view png_name;              // written instead if the toolkit gives up early
    // The text chunks of the page's PNG (PAGE_PNG_TEXTS): the window encodes the pixels above
    // with them (png_encode.h) when it saves the page as PNG or falls back to the PNG.
    std::span<const png_text_chunk> png_texts;
    // The map behind the page, or null (another picture): the window exports it (File > Export
    // Map) through procedures that take it as an argument, so the module defines no record.
    const field_grid_record* grid = nullptr;
};

}  // namespace orvex
