// display_list.h: the page's drawing operations as they were made, beside its pixels.
//
// WHAT IT IS
//   Every operation of the surface that changes the page is recorded here as it is made, like
//   a plotting terminal's command stream: clipping rectangles, filled rectangles, polylines
//   (consecutive LINE_TOs from where the last one ended, in one colour and clip, are one
//   polyline), texts with their font, and single pixels. Replayed through a vector painter the
//   list gives the page as SVG or PDF, and a crisp page in a zoomed window. The pixels stay the
//   reference: the PNG and the window at 1:1 show them.
//
//   Coordinates are the page's own, as the operations were given them: a line from (60, 48) to
//   (60, 148) is that line, centred on those pixel centres; a filled rectangle runs from corner
//   to corner; a pixel is the unit square centred on it; a text's cell has its top-left corner
//   at (x, y) and its baseline at y + ascent. A clip rectangle includes its border pixels, so a
//   replay clips at half a unit outside it.
//
// HOW TO CALL IT
//   const display_list& list = DISPLAY_LIST();
//   for (const display_op& op : list.OPS()) switch (op.kind) { ... }
//
// ASSUMES AND LIMITS
//   CLEAR_WINDOW starts the list afresh (it paints over everything before it). The list holds up
//   to display_op_capacity operations, display_point_capacity polyline points and
//   display_text_capacity texts; a page with more (a two-dimensional histogram of a million
//   cells) sets `complete` false, and vector output then carries the raster instead.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "surface/surface.h"

namespace orvex {

enum class display_kind : std::uint8_t { clip, fill, polyline, text, pixel };

struct display_op {
    display_kind kind;
    packed_colour colour;            // fill, polyline, text and pixel
    std::int32_t x1, y1, x2, y2;     // clip and fill corners; the pixel in x1, y1
    std::int32_t first, count;       // polyline: its points; text: its index in texts, and 1
};

struct display_point {
    coord x, y;
};

// A font as the page's texts used it: the family fontconfig matched, whether that face is an
// italic one (or the upright one slanted), its size in pixels across and up (the em), and the
// distance from the cell's top to the baseline.
struct display_font {
    std::array<char, 64> family{};  // NUL-terminated
    bool italic = false;            // an italic face
    bool slanted = false;           // the upright face slanted about 12 degrees
    double em_x = 0.0, em_y = 0.0;
    int ascent = 0;
};

struct display_text {
    std::array<char, 132> text{};  // the characters drawn, blank-padded
    int length = 0;                // characters drawn (at most 132)
    coord x = 0, y = 0;            // top-left corner of the cell
    int font = -1;                 // into fonts
};

inline constexpr int display_op_capacity = 16384;
inline constexpr int display_point_capacity = 65536;
inline constexpr int display_text_capacity = 1024;
inline constexpr int display_font_capacity = 32;

struct display_list {
    std::array<display_op, display_op_capacity> ops{};
    std::array<display_point, display_point_capacity> points{};
    std::array<display_text, display_text_capacity> texts{};
    std::array<display_font, display_font_capacity> fonts{};
    int op_count = 0, point_count = 0, text_count = 0;
    packed_colour background = 0x000000;  // the colour the page was last cleared with (black at start)
    bool complete = true;

    std::span<const display_op> OPS() const { return {ops.data(), static_cast<std::size_t>(op_count)}; }
    std::span<const display_point> POINTS(const display_op& op) const {
        return {points.data() + op.first, static_cast<std::size_t>(op.count)};
    }
};

const display_list& DISPLAY_LIST();

}  // namespace orvex
