// surface.cpp: pixels, lines, rectangles and clipping of the page. Text is in surface_text.cpp.
#include "surface.h"

#include <algorithm>
#include <cstdlib>

namespace orvex {

surface_record surface;

namespace {

inline bool INSIDE_CLIP(int x, int y) {
    return x >= surface.clip_x1 && x <= surface.clip_x2 && y >= surface.clip_y1 && y <= surface.clip_y2;
}

// The clip rectangle always lies on the page, so a pixel inside it is a page pixel.
inline void PUT(int x, int y, packed_colour colour) {
    if (INSIDE_CLIP(x, y)) {
        surface.page[static_cast<std::size_t>(y - 1) * page_width + static_cast<std::size_t>(x - 1)] = colour;
    }
}

}  // namespace

void OPEN_PLOT_WINDOW(std::string_view title) {
    const std::size_t n = std::min(title.size(), surface.plot_caption.size() - 1);
    std::fill(surface.plot_caption.begin(), surface.plot_caption.end(), '\0');
    std::copy_n(title.begin(), n, surface.plot_caption.begin());
    surface.plot_window_open = true;
}

void MAXIMISE_WINDOW(window_id which) { surface.maximised[static_cast<std::size_t>(which)] = true; }

void SET_CLIP_RECT(coord x1, coord y1, coord x2, coord y2) {
    int left = std::min<int>(x1, x2), right = std::max<int>(x1, x2);
    int top = std::min<int>(y1, y2), bottom = std::max<int>(y1, y2);
    if (right < 1 || left > page_width || bottom < 1 || top > page_height) return;  // refused
    surface.clip_x1 = static_cast<coord>(std::max(left, 1));
    surface.clip_x2 = static_cast<coord>(std::min(right, page_width));
    surface.clip_y1 = static_cast<coord>(std::max(top, 1));
    surface.clip_y2 = static_cast<coord>(std::min(bottom, page_height));
}

void SET_DRAW_COLOUR(packed_colour colour) { surface.draw_colour = colour & 0xFFFFFFu; }
void SET_BACK_COLOUR(packed_colour colour) { surface.back_colour = colour & 0xFFFFFFu; }
void SET_CONSOLE_TEXT_COLOUR(packed_colour colour) { surface.console_text_colour = colour & 0xFFFFFFu; }

void CLEAR_WINDOW() { surface.page.fill(surface.back_colour); }

void MOVE_TO(coord x, coord y) {
    surface.current_x = x;
    surface.current_y = y;
}

// Bresenham over the whole segment, both ends included; each pixel is clipped on its own, so
// the pixels drawn are exactly those of the unclipped line that fall inside the clip.
void LINE_TO(coord x, coord y) {
    int x0 = surface.current_x, y0 = surface.current_y;
    const int x1 = x, y1 = y;
    const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    const packed_colour colour = surface.draw_colour;
    for (;;) {
        PUT(x0, y0, colour);
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
    surface.current_x = x;
    surface.current_y = y;
}

void FILL_RECT(coord x1, coord y1, coord x2, coord y2) {
    const int left = std::max<int>(std::min<int>(x1, x2), surface.clip_x1);
    const int right = std::min<int>(std::max<int>(x1, x2), surface.clip_x2);
    const int top = std::max<int>(std::min<int>(y1, y2), surface.clip_y1);
    const int bottom = std::min<int>(std::max<int>(y1, y2), surface.clip_y2);
    for (int yy = top; yy <= bottom; ++yy) {
        for (int xx = left; xx <= right; ++xx) {
            surface.page[static_cast<std::size_t>(yy - 1) * page_width + static_cast<std::size_t>(xx - 1)] =
                surface.draw_colour;
        }
    }
}

void SET_PIXEL(coord x, coord y, packed_colour colour) { PUT(x, y, colour & 0xFFFFFFu); }

void RESET_SURFACE() {
    surface.page.fill(0);
    surface.current_x = surface.current_y = 1;
    surface.draw_colour = 0x000000;
    surface.back_colour = 0xFFFFFF;
    surface.console_text_colour = 0xFFFFFF;
    surface.clip_x1 = surface.clip_y1 = 1;
    surface.clip_x2 = page_width;
    surface.clip_y2 = page_height;
    surface.current_font = -1;
    surface.plot_window_open = false;
    surface.plot_caption.fill('\0');
    surface.maximised.fill(false);
    surface.text_log_length = 0;
}

}  // namespace orvex
