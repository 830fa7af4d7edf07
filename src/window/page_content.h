// page_content.h: what the window is handed to show, and how it writes the page.
//
// WHAT IT IS
//   The window shows a finished page and the run's console listing; it reads nothing else of
//   the program. SHOW_PAGE (show_page.h) fills a page_content from the surface and the console
//   log and hands it over, as a viewer widget is handed its image.
//
// ASSUMES AND LIMITS
//   Every view points into records that live for the whole run; the window copies nothing it
//   does not change. Texts are UTF-8.
#pragma once

#include <span>
#include <string_view>

#include "plot/surface.h"

namespace orvex {

struct page_content {
    std::span<const packed_colour> pixels;  // page_width x page_height, row by row (PAGE_PIXELS)
    std::string_view caption;               // the plot window's caption
    std::string_view console_text;          // every record of the listing, each ending in '\n'
    packed_colour console_text_colour = 0xFFFFFF;
    std::string_view png_name;              // written instead if the toolkit gives up early
    // Writes the page as a PNG file; false with the reason in why. The window saves the page
    // and falls back to the PNG through it.
    bool (*write_png)(std::string_view path, std::string_view* why) = nullptr;
};

}  // namespace orvex
