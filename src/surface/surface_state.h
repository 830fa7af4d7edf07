// surface_state.h: the surface's own state, shared by the files that implement the surface
// (surface.cpp and the text files). Nothing outside the surface includes it: everyone else
// reads the state through the read-only accessors of surface.h.
//
// Invariants: the clip rectangle always lies on the page (so a pixel inside it is a page
// pixel); current_font is -1 or an index SELECT_FONT returned; text_log_length is at most
// text_log_capacity.
#pragma once

#include <array>
#include <cstddef>

#include "surface/display_list.h"
#include "surface/surface.h"

namespace orvex::surface_detail {

struct surface_state {
    std::array<packed_colour, std::size_t{page_width} * page_height> page{};
    drawing_state drawing;
    window_requests window;
    std::array<text_call, text_log_capacity> text_log{};
    int text_log_length = 0;
    display_list list;
};

surface_state& SURFACE();

// The page pixel at (x, y), which must lie on the page.
inline packed_colour& PIXEL_AT(surface_state& s, int x, int y) {
    return s.page[static_cast<std::size_t>(y - 1) * page_width + static_cast<std::size_t>(x - 1)];
}

inline bool INSIDE_CLIP(const drawing_state& d, int x, int y) {
    return x >= d.clip_x1 && x <= d.clip_x2 && y >= d.clip_y1 && y <= d.clip_y2;
}

// Recording of the operations into the display list (display_list.cpp). Each is called by the
// operation that changed the page, after it drew.
void RECORD_CLEAR(surface_state& s);
void RECORD_CLIP(surface_state& s);
void RECORD_FILL(surface_state& s, int x1, int y1, int x2, int y2);
void RECORD_SEGMENT(surface_state& s, int x0, int y0, int x1, int y1);
void RECORD_TEXT(surface_state& s, std::string_view shown, int length, int x, int y);
void RECORD_PIXEL(surface_state& s, int x, int y, packed_colour colour);
void RECORD_FONT(surface_state& s, int font, const display_font& f);

}  // namespace orvex::surface_detail
