// slice_picture.cpp: a slice as it is shown, and its picture; see slice_picture.h.
#include "picture/slice_picture.h"

#include <algorithm>
#include <cmath>

#include "surface/axis_ticks.h"
#include "surface/colour_maps.h"

namespace orvex {

namespace {

constexpr packed_colour not_a_number = PACKED_RGB(150, 150, 150);

// Every length of the picture in units of the text's cell height t.
struct measures {
    double t, line, ascent, pad, tick;
};

measures MEASURES(const slice_look& look) {
    const text_face_metrics face = TEXT_FACE_METRICS();
    return {look.text, look.line, look.text * face.ascent / face.cell, 0.5 * look.text, 0.35 * look.text};
}

// Where the part shown lies, and the room for the cells, the bar and the texts around them.
struct layout {
    slice_frame frame;
    double room_top = 0.0, room_bottom = 0.0;  // the cells' room, which the bar spans
    double bar_left = 0.0, bar_right = 0.0;
};

double WIDEST(const axis_ticks& ticks, double size) {
    double widest = 0.0;
    for (const double v : ticks.at) widest = std::max(widest, TEXT_WIDTH(TICK_TEXT(ticks, v), size));
    return widest;
}

layout LAYOUT(const shown_slice& s, const slice_look& look) {
    const measures m = MEASURES(look);
    const double t = m.t;
    layout l;
    slice_frame& f = l.frame;
    if (look.whole) f.x0 = s.x0, f.x1 = s.x1, f.y0 = s.y0, f.y1 = s.y1;
    else f.x0 = look.x0, f.x1 = look.x1, f.y0 = look.y0, f.y1 = look.y1;
    const double left = m.pad + t + 0.4 * t + WIDEST(AXIS_TICKS(f.y0, f.y1), t) + 0.3 * t + m.tick + m.line;
    const double bar_room = std::max(m.line + m.tick + 0.3 * t + WIDEST(AXIS_TICKS(s.lo, s.hi), t),
                                     TEXT_WIDTH(s.value_title, t) - 1.2 * t);
    const double right = m.line + 1.2 * t + 1.2 * t + bar_room + m.pad;
    const double top = m.pad + t + 0.3 * t + t + 0.6 * t;
    const double bottom = m.line + m.tick + 0.2 * t + t + 0.2 * t + t + m.pad;
    const double room_w = std::max(10.0, look.width - left - right), room_h = std::max(10.0, look.height - top - bottom);
    double w = room_w, h = room_h;
    if (!look.stretch) {
        const double per = std::min(room_w / (f.x1 - f.x0), room_h / (f.y1 - f.y0));
        w = per * (f.x1 - f.x0);
        h = per * (f.y1 - f.y0);
    }
    f.left = std::round(left + (room_w - w) / 2.0);
    f.top = std::round(top + (room_h - h) / 2.0);
    f.right = std::max(f.left + 1.0, std::round(left + (room_w + w) / 2.0));
    f.bottom = std::max(f.top + 1.0, std::round(top + (room_h + h) / 2.0));
    l.room_top = std::round(top);
    l.room_bottom = std::round(top + room_h);
    // The bar beside the cells: the cells, their numbers and the bar lie centred as one.
    l.bar_left = std::round(f.right + m.line + 1.2 * t);
    l.bar_right = l.bar_left + std::max(1.0, std::round(1.2 * t));
    return l;
}

// The ticks of an axis over length units, every second, fifth... one dropped until
// neighbours lie at least room units apart.
std::vector<double> TICKS_WITH_ROOM(const axis_ticks& ticks, double length, double span, double room) {
    const double apart = ticks.step / span * length;
    int every = 1;
    for (const int stride : {1, 2, 5, 10, 20, 50}) {
        every = stride;
        if (apart * stride >= room) break;
    }
    std::vector<double> kept;
    for (const double t : ticks.at)
        if (std::fmod(std::fabs(std::round(t / ticks.step)), every) == 0.0) kept.push_back(t);
    if (kept.empty() && !ticks.at.empty()) kept.push_back(ticks.at.front());
    return kept;
}

// A line's centre put where a line of its width covers whole units.
double SNAP(double at, double line) { return std::round(at - line / 2.0) + line / 2.0; }

void COLOUR_BAR(scene& picture, const shown_slice& s, const layout& l, const measures& m) {
    const auto& map = s.signed_scale ? diverging_map : sequential_map;
    const double band = (l.room_bottom - l.room_top) / static_cast<double>(map.size());
    // From the bottom up, each band reaching half a band into the next, which covers it: no
    // seam between bands in a vector file.
    for (std::size_t n = 0; n < map.size(); ++n) {
        const double lower = l.room_bottom - band * static_cast<double>(n);
        const double upper = n + 1 == map.size() ? l.room_top : lower - band * 1.5;
        SCENE_FILL(picture, l.bar_left, upper, l.bar_right, lower, map[n]);
    }
    const double w = m.line, half = w / 2.0;
    SCENE_LINE(picture, l.bar_left - w, l.room_top - half, l.bar_right + w, l.room_top - half, w);
    SCENE_LINE(picture, l.bar_left - w, l.room_bottom + half, l.bar_right + w, l.room_bottom + half, w);
    SCENE_LINE(picture, l.bar_left - half, l.room_top, l.bar_left - half, l.room_bottom, w);
    SCENE_LINE(picture, l.bar_right + half, l.room_top, l.bar_right + half, l.room_bottom, w);
    const axis_ticks numbers = AXIS_TICKS(s.lo, s.hi);
    for (const double v : numbers.at) {
        const double y = SNAP(l.room_bottom - (v - s.lo) / (s.hi - s.lo) * (l.room_bottom - l.room_top), w);
        SCENE_LINE(picture, l.bar_right + w, y, l.bar_right + w + m.tick, y, w);
        SCENE_TEXT(picture, l.bar_right + w + m.tick + 0.3 * m.t, y + 0.31 * m.t, TICK_TEXT(numbers, v), m.t);
    }
    SCENE_TEXT(picture, l.bar_left, l.room_top - 0.6 * m.t - (m.t - m.ascent), s.value_title, m.t);
}

void AXES(scene& picture, const shown_slice& s, const slice_frame& f, const measures& m) {
    const double t = m.t, w = m.line;
    const double across = f.right - f.left, up = f.bottom - f.top;
    double labels_left = f.left - w - m.tick - 0.3 * t;
    const axis_ticks x_ticks = AXIS_TICKS(f.x0, f.x1), y_ticks = AXIS_TICKS(f.y0, f.y1);
    const double label_top = f.bottom + w + m.tick + 0.2 * t;
    for (const double v : TICKS_WITH_ROOM(x_ticks, across, f.x1 - f.x0, 5.0 * t)) {
        const double x = SNAP(f.left + (v - f.x0) / (f.x1 - f.x0) * across, w);
        SCENE_LINE(picture, x, f.bottom + w, x, f.bottom + w + m.tick, w);
        const std::string label = TICK_TEXT(x_ticks, v);
        SCENE_TEXT(picture, x - TEXT_WIDTH(label, t) / 2.0, label_top + m.ascent, label, t);
    }
    for (const double v : TICKS_WITH_ROOM(y_ticks, up, f.y1 - f.y0, 1.2 * t)) {
        const double y = SNAP(f.bottom - (v - f.y0) / (f.y1 - f.y0) * up, w);
        SCENE_LINE(picture, f.left - w - m.tick, y, f.left - w, y, w);
        const std::string label = TICK_TEXT(y_ticks, v);
        const double label_width = TEXT_WIDTH(label, t);
        labels_left = std::min(labels_left, f.left - w - m.tick - 0.3 * t - label_width);
        SCENE_TEXT(picture, f.left - w - m.tick - 0.3 * t - label_width, y + 0.31 * t, label, t);
    }
    const std::string unit = s.index_axes ? " (node)" : " (cm)";
    const std::string across_title = std::string(1, s.shape.across) + unit, up_title = std::string(1, s.shape.up) + unit;
    SCENE_TEXT(picture, (f.left + f.right - TEXT_WIDTH(across_title, t)) / 2.0, label_top + t + 0.2 * t + m.ascent,
               across_title, t);
    // Reading upward, the title's letters face left: its descent lies right of its baseline.
    SCENE_TEXT(picture, labels_left - 0.4 * t - (t - m.ascent), (f.top + f.bottom + TEXT_WIDTH(up_title, t)) / 2.0, up_title,
               t, text_direction::upward);
}

}  // namespace

namespace {

// Whether the finite values keep one sign (zero everywhere keeps none).
bool KEEPS_ONE_SIGN(const std::vector<double>& values) {
    double least = 0.0, most = 0.0;
    bool any = false;
    for (const double v : values) {
        if (!std::isfinite(v)) continue;
        least = any ? std::min(least, v) : v;
        most = any ? std::max(most, v) : v;
        any = true;
    }
    return (least >= 0.0 || most <= 0.0) && !(least == 0.0 && most == 0.0);
}

}  // namespace

bool SLICE_IS_STRIP(const shown_slice& s) {
    const double ratio = (s.y1 - s.y0) / (s.x1 - s.x0);
    return ratio > 4.0 || ratio < 0.25;
}

void COLOUR_SLICE(shown_slice& s) {
    double least = 0.0, most = 0.0;
    bool any = false;
    for (const double v : s.values) {
        if (!std::isfinite(v)) continue;
        least = any ? std::min(least, v) : v;
        most = any ? std::max(most, v) : v;
        any = true;
    }
    if (s.signed_scale) {
        const double m = std::max(std::fabs(least), std::fabs(most));
        s.lo = m > 0.0 ? -m : -1.0;
        s.hi = m > 0.0 ? m : 1.0;
    } else {
        s.lo = least;
        s.hi = most > least ? most : least + 1.0;
    }
    const auto& map = s.signed_scale ? diverging_map : sequential_map;
    const int columns = s.shape.columns, rows = s.shape.rows;
    s.cells.assign(s.values.size(), not_a_number);
    for (int row = 0; row < rows; ++row) {
        const double* from = s.values.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(columns);
        packed_colour* to = s.cells.data() + static_cast<std::size_t>(rows - 1 - row) * static_cast<std::size_t>(columns);
        for (int column = 0; column < columns; ++column)
            if (std::isfinite(from[column])) to[column] = MAP_COLOUR(map, (from[column] - s.lo) / (s.hi - s.lo));
    }
}

shown_slice SHOW_SLICE(const full_map& m, const slice_cut& cut, std::string_view source, bool symmetric) {
    shown_slice s;
    s.cut = cut;
    s.shape = SLICE_SIZE(m, cut.plane);
    SLICE_VALUES(m, cut, s.values);
    s.signed_scale = cut.quantity != slice_quantity::magnitude &&
                     (symmetric || IS_DIFFERENCE(cut.quantity) || !KEEPS_ONE_SIGN(s.values));
    COLOUR_SLICE(s);
    const double da = AXIS_STEP(m, s.shape.across), du = AXIS_STEP(m, s.shape.up);
    s.x0 = NODE_COORDINATE(m, s.shape.across, 1) - da / 2.0;
    s.x1 = s.x0 + da * s.shape.columns;
    s.y0 = NODE_COORDINATE(m, s.shape.up, 1) - du / 2.0;
    s.y1 = s.y0 + du * s.shape.rows;
    s.index_axes = !(s.x1 > s.x0 && s.y1 > s.y0 && std::isfinite(s.x1 - s.x0) && std::isfinite(s.y1 - s.y0));
    if (s.index_axes) {
        s.x0 = s.y0 = 0.5;
        s.x1 = s.shape.columns + 0.5;
        s.y1 = s.shape.rows + 0.5;
    }
    s.title = SLICE_TITLE(m, cut);
    s.value_title = std::string(QUANTITY_TITLE(cut.field, cut.quantity));
    s.source = std::string(source);
    return s;
}

slice_frame SLICE_FRAME(const shown_slice& s, const slice_look& look) { return LAYOUT(s, look).frame; }

scene SLICE_SCENE(const shown_slice& s, const slice_look& look) {
    const measures m = MEASURES(look);
    const layout l = LAYOUT(s, look);
    const slice_frame& f = l.frame;
    scene picture;
    picture.width = look.width;
    picture.height = look.height;
    picture.title = s.title;
    picture.source = s.source;
    // The cells: the whole plane placed where the part shown falls on the frame, clipped to it.
    const double sx = (f.right - f.left) / (f.x1 - f.x0), sy = (f.bottom - f.top) / (f.y1 - f.y0);
    picture.image = {s.shape.columns, s.shape.rows, s.cells, f.left, f.top, f.right, f.bottom};
    SCENE_IMAGE(picture, f.left + (s.x0 - f.x0) * sx, f.bottom - (s.y1 - f.y0) * sy, f.left + (s.x1 - f.x0) * sx,
                f.bottom - (s.y0 - f.y0) * sy);
    const double w = m.line, half = w / 2.0;
    SCENE_LINE(picture, f.left - w, f.top - half, f.right + w, f.top - half, w);
    SCENE_LINE(picture, f.left - w, f.bottom + half, f.right + w, f.bottom + half, w);
    SCENE_LINE(picture, f.left - half, f.top, f.left - half, f.bottom, w);
    SCENE_LINE(picture, f.right + half, f.top, f.right + half, f.bottom, w);
    AXES(picture, s, f, m);
    COLOUR_BAR(picture, s, l, m);
    const double title_width = TEXT_WIDTH(s.title, m.t);
    SCENE_TEXT(picture, std::max(m.pad, (look.width - title_width) / 2.0), m.pad + m.ascent, s.title, m.t);
    return picture;
}

}  // namespace orvex
