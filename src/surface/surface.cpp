// surface.cpp: pixels, lines, rectangles and clipping of the page, and the read-only views of
// the surface's state. Text is drawn by the text files (text_draw.cpp and its neighbours).
#include "surface/surface.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "surface/surface_state.h"

namespace orvex {

namespace surface_detail {

namespace {
std::array<surface_state, page_slot_count> the_surfaces;
int current_slot = 0;
}  // namespace

surface_state& SURFACE() { return the_surfaces[static_cast<std::size_t>(current_slot)]; }

}  // namespace surface_detail

using surface_detail::INSIDE_CLIP;
using surface_detail::PIXEL_AT;
using surface_detail::SURFACE;

namespace {

inline void PUT(surface_detail::surface_state& s, int x, int y, packed_colour colour) {
    if (INSIDE_CLIP(s.drawing, x, y)) PIXEL_AT(s, x, y) = colour;
}

}  // namespace

std::span<const packed_colour> PAGE_PIXELS() { return SURFACE().page; }

packed_colour PAGE_PIXEL(int x, int y) { return PIXEL_AT(SURFACE(), x, y); }

const drawing_state& DRAWING_STATE() { return SURFACE().drawing; }

const window_requests& WINDOW_REQUESTS() { return SURFACE().window; }

std::span<const text_call> TEXT_LOG() {
    const surface_detail::surface_state& s = SURFACE();
    return {s.text_log.data(), static_cast<std::size_t>(s.text_log_length)};
}

void OPEN_PLOT_WINDOW(std::string_view title) {
    window_requests& w = SURFACE().window;
    const std::size_t n = std::min(title.size(), w.plot_caption.size() - 1);
    w.plot_caption.fill('\0');
    std::copy_n(title.begin(), n, w.plot_caption.begin());
    w.plot_window_open = true;
}

void MAXIMISE_WINDOW(window_id which) { SURFACE().window.maximised[static_cast<std::size_t>(which)] = true; }

void SET_CLIP_RECT(coord x1, coord y1, coord x2, coord y2) {
    drawing_state& d = SURFACE().drawing;
    const int left = std::min<int>(x1, x2), right = std::max<int>(x1, x2);
    const int top = std::min<int>(y1, y2), bottom = std::max<int>(y1, y2);
    if (right < 1 || left > page_width || bottom < 1 || top > page_height) return;  // refused
    d.clip_x1 = static_cast<coord>(std::max(left, 1));
    d.clip_x2 = static_cast<coord>(std::min(right, page_width));
    d.clip_y1 = static_cast<coord>(std::max(top, 1));
    d.clip_y2 = static_cast<coord>(std::min(bottom, page_height));
    surface_detail::RECORD_CLIP(SURFACE());
}

void SET_DRAW_COLOUR(packed_colour colour) { SURFACE().drawing.draw_colour = colour & 0xFFFFFFu; }
void SET_BACK_COLOUR(packed_colour colour) { SURFACE().drawing.back_colour = colour & 0xFFFFFFu; }
void SET_CONSOLE_TEXT_COLOUR(packed_colour colour) { SURFACE().window.console_text_colour = colour & 0xFFFFFFu; }

void CLEAR_WINDOW() {
    surface_detail::surface_state& s = SURFACE();
    s.page.fill(s.drawing.back_colour);
    surface_detail::RECORD_CLEAR(s);
}

void MOVE_TO(coord x, coord y) {
    drawing_state& d = SURFACE().drawing;
    d.current_x = x;
    d.current_y = y;
}

// Bresenham over the whole segment, both ends included; each pixel is clipped on its own, so
// the pixels drawn are exactly those of the unclipped line that fall inside the clip.
void LINE_TO(coord x, coord y) {
    surface_detail::surface_state& s = SURFACE();
    int x0 = s.drawing.current_x, y0 = s.drawing.current_y;
    const int x1 = x, y1 = y;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    const packed_colour colour = s.drawing.draw_colour;
    for (;;) {
        PUT(s, x0, y0, colour);
        if (x0 == x1 && y0 == y1) break;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
    surface_detail::RECORD_SEGMENT(s, s.drawing.current_x, s.drawing.current_y, x, y);
    s.drawing.current_x = x;
    s.drawing.current_y = y;
}

void FILL_RECT(coord x1, coord y1, coord x2, coord y2) {
    surface_detail::surface_state& s = SURFACE();
    const drawing_state& d = s.drawing;
    const int left = std::max<int>(std::min<int>(x1, x2), d.clip_x1);
    const int right = std::min<int>(std::max<int>(x1, x2), d.clip_x2);
    const int top = std::max<int>(std::min<int>(y1, y2), d.clip_y1);
    const int bottom = std::min<int>(std::max<int>(y1, y2), d.clip_y2);
    for (int yy = top; yy <= bottom; ++yy) {
        for (int xx = left; xx <= right; ++xx) PIXEL_AT(s, xx, yy) = d.draw_colour;
    }
    surface_detail::RECORD_FILL(s, x1, y1, x2, y2);
}

void SET_PIXEL(coord x, coord y, packed_colour colour) {
    PUT(SURFACE(), x, y, colour & 0xFFFFFFu);
    surface_detail::RECORD_PIXEL(SURFACE(), x, y, colour & 0xFFFFFFu);
}

void SELECT_PAGE_SLOT(int slot) { surface_detail::current_slot = slot == 1 ? 1 : 0; }

int PAGE_SLOT() { return surface_detail::current_slot; }

void RESET_SURFACE() {
    for (int slot = page_slot_count - 1; slot >= 0; --slot) {
        SELECT_PAGE_SLOT(slot);
        surface_detail::surface_state& s = SURFACE();
        s.page.fill(0);
        s.drawing = drawing_state{};
        s.window = window_requests{};
        s.text_log_length = 0;
        s.list.op_count = s.list.point_count = s.list.text_count = 0;
        s.list.background = 0x000000;
        s.list.complete = true;
    }
}

}  // namespace orvex
