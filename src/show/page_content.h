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
//   and no export of profiles. fields.map is the full map (field/full_map.h; null for other
//   pictures: then there are no slices, node lines, field switch, figures or map export); the
//   window reads it only through procedures that take it as an argument, so the module defines
//   none of the program's records.
//   fields.draw_field is the program's: it draws the page of the other field in a page slot of
//   its own (the page shown stays as it is) and points the content at the new page and its PNG
//   texts. fields.load_other is the program's too: it reads another map (File > Compare With)
//   into a record of its own, which the window hands back to fields.drop_other when it is done
//   with it.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "surface/display_list.h"
#include "surface/png_encode.h"
#include "surface/surface.h"

namespace orvex {

// What each panel of the viewer's page shows (page/plotted_page.h) and the full map
// (field/full_map.h); the show floor only passes them on.
struct plotted_page;
struct full_map;
struct other_map;
struct page_content;

// The map behind the page, and the way to the page of its other field.
struct page_fields {
    const full_map* map = nullptr;  // the full map, or null
    int field_flag = 0;             // the field the page shows: 0 electric, 1 magnetic
    bool both_fields = false;       // the map carries both fields
    // Draws the page of field_flag (0 or 1) exactly as a run whose control file asks for that
    // field draws it (its date stamp apart), in that field's own page slot, and points content's
    // pixels, list, plotted, png_texts and fields.field_flag at the new page; false, with the
    // reason in why and content unchanged (the page shown whole), when it cannot.
    bool (*draw_field)(int field_flag, page_content* content, std::string_view* why) = nullptr;
    // Reads the map of a directory through its control file, as a run there would, into a
    // record of its own (field/compare.h), checked and unfolded; null, with the reason in why,
    // when it cannot. The map shown and the run's records stay as they are.
    const other_map* (*load_other)(std::string_view directory, std::string* why) = nullptr;
    // Frees a map load_other gave.
    void (*drop_other)(const other_map* map) = nullptr;
};

// What the window's figures (View > Figures) need beyond the map: the figures themselves are
// computed in the window from fields.map by procedures that take it as an argument.
struct page_figures {
    std::string_view program;   // "plot_orvex_3dfields 1.0.0", the document's first key
    std::string_view map_file;  // the map as line 3 names it
    // The notes of the map checks alone (the figures add the divergence notes of their own).
    std::span<const std::string_view> check_notes;
};

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
    page_fields fields;
    page_figures figures;
};

}  // namespace orvex
