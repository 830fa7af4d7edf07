// display_list.cpp: recording the page's drawing operations as they are made.
#include "surface/display_list.h"

#include <algorithm>

#include "surface/surface_state.h"

namespace orvex {

const display_list& DISPLAY_LIST() { return surface_detail::SURFACE().list; }

namespace surface_detail {

namespace {

// The next operation of the list, or nullptr (and the list marked incomplete) when it is full.
display_op* NEXT_OP(display_list& list) {
    if (list.op_count == display_op_capacity) {
        list.complete = false;
        return nullptr;
    }
    display_op& op = list.ops[static_cast<std::size_t>(list.op_count++)];
    op = display_op{};
    return &op;
}

bool ADD_POINT(display_list& list, int x, int y) {
    if (list.point_count == display_point_capacity) {
        list.complete = false;
        return false;
    }
    list.points[static_cast<std::size_t>(list.point_count++)] = {static_cast<coord>(x), static_cast<coord>(y)};
    return true;
}

}  // namespace

void RECORD_CLEAR(surface_state& s) {
    display_list& list = s.list;
    list.op_count = list.point_count = list.text_count = 0;
    list.complete = true;
    list.background = s.drawing.back_colour;
    RECORD_CLIP(s);
}

void RECORD_CLIP(surface_state& s) {
    const drawing_state& d = s.drawing;
    display_list& list = s.list;
    // The clip in force is the last one recorded: one that changes nothing is not recorded.
    for (int k = list.op_count - 1; k >= 0; --k) {
        const display_op& before = list.ops[static_cast<std::size_t>(k)];
        if (before.kind != display_kind::clip) continue;
        if (before.x1 == d.clip_x1 && before.y1 == d.clip_y1 && before.x2 == d.clip_x2 && before.y2 == d.clip_y2) return;
        break;
    }
    if (display_op* op = NEXT_OP(list)) *op = {display_kind::clip, 0, d.clip_x1, d.clip_y1, d.clip_x2, d.clip_y2, 0, 0};
}

void RECORD_FILL(surface_state& s, int x1, int y1, int x2, int y2) {
    if (display_op* op = NEXT_OP(s.list)) {
        *op = {display_kind::fill, s.drawing.draw_colour, std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
               std::max(y1, y2), 0, 0};
    }
}

void RECORD_SEGMENT(surface_state& s, int x0, int y0, int x1, int y1) {
    display_list& list = s.list;
    const packed_colour colour = s.drawing.draw_colour;
    // A segment from where the last polyline ended, in its colour and clip, continues it.
    if (list.op_count > 0) {
        display_op& last = list.ops[static_cast<std::size_t>(list.op_count - 1)];
        if (last.kind == display_kind::polyline && last.colour == colour && last.first + last.count == list.point_count) {
            const display_point& end = list.points[static_cast<std::size_t>(list.point_count - 1)];
            if (end.x == x0 && end.y == y0) {
                if (ADD_POINT(list, x1, y1)) ++last.count;
                return;
            }
        }
    }
    if (list.point_count + 2 > display_point_capacity) {
        list.complete = false;
        return;
    }
    display_op* op = NEXT_OP(list);
    if (op == nullptr) return;
    *op = {display_kind::polyline, colour, 0, 0, 0, 0, list.point_count, 2};
    ADD_POINT(list, x0, y0);
    ADD_POINT(list, x1, y1);
}

void RECORD_TEXT(surface_state& s, std::string_view shown, int length, int x, int y) {
    display_list& list = s.list;
    if (list.text_count == display_text_capacity) {
        list.complete = false;
        return;
    }
    display_op* op = NEXT_OP(list);
    if (op == nullptr) return;
    display_text& t = list.texts[static_cast<std::size_t>(list.text_count)];
    t.text.fill(' ');
    t.length = std::min<int>(length, static_cast<int>(t.text.size()));
    std::copy_n(shown.begin(), std::min<std::size_t>(shown.size(), static_cast<std::size_t>(t.length)), t.text.begin());
    t.x = static_cast<coord>(x);
    t.y = static_cast<coord>(y);
    t.font = s.drawing.current_font;
    *op = {display_kind::text, s.drawing.draw_colour, x, y, 0, 0, list.text_count++, 1};
}

void RECORD_PIXEL(surface_state& s, int x, int y, packed_colour colour) {
    if (display_op* op = NEXT_OP(s.list)) *op = {display_kind::pixel, colour, x, y, x, y, 0, 0};
}

void RECORD_FONT(surface_state& s, int font, const display_font& f) {
    if (font >= 0 && font < display_font_capacity) s.list.fonts[static_cast<std::size_t>(font)] = f;
}

}  // namespace surface_detail

}  // namespace orvex
