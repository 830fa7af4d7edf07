// scene_raster.cpp: the scene as pixels (SCENE_PIXELS), the reference its files follow.
//
// A pixel belongs to a rectangle when its centre lies inside it, left and top edges in, right
// and bottom edges out: rectangles that meet share no pixel and leave none out, and a line one
// unit wide centred on a pixel centre covers exactly that row or column of pixels.
#include <algorithm>
#include <cmath>

#include "picture/scene.h"
#include "picture/scene_forms.h"

namespace orvex {

namespace {

// The pixels whose centres lie in [lo, hi): first and one past the last, within 0..count.
struct pixel_span {
    int first = 0, end = 0;
};

pixel_span SPAN(double lo, double hi, int count) {
    if (!(hi > lo)) return {};
    const double first = std::ceil(lo - 0.5), end = std::ceil(hi - 0.5);
    return {static_cast<int>(std::clamp(first, 0.0, static_cast<double>(count))),
            static_cast<int>(std::clamp(end, 0.0, static_cast<double>(count)))};
}

void FILL_BOX(canvas& c, double x0, double y0, double x1, double y1, packed_colour colour) {
    const pixel_span across = SPAN(std::min(x0, x1), std::max(x0, x1), c.width);
    const pixel_span down = SPAN(std::min(y0, y1), std::max(y0, y1), c.height);
    for (int j = down.first; j < down.end; ++j) {
        packed_colour* row = c.pixels + static_cast<std::size_t>(j) * static_cast<std::size_t>(c.width);
        std::fill(row + across.first, row + across.end, colour);
    }
}

// Every pixel of the image's rectangle inside its clip takes the cell under its centre.
void DRAW_IMAGE(canvas& c, const scene_image& image, const scene_item& at) {
    if (image.columns <= 0 || image.rows <= 0 || !(at.x1 > at.x0) || !(at.y1 > at.y0)) return;
    const pixel_span across = SPAN(std::max(at.x0, image.clip_x0), std::min(at.x1, image.clip_x1), c.width);
    const pixel_span down = SPAN(std::max(at.y0, image.clip_y0), std::min(at.y1, image.clip_y1), c.height);
    std::vector<int> column_of(static_cast<std::size_t>(std::max(0, across.end - across.first)));
    for (int i = across.first; i < across.end; ++i) {
        const double f = (i + 0.5 - at.x0) / (at.x1 - at.x0);
        column_of[static_cast<std::size_t>(i - across.first)] =
            std::clamp(static_cast<int>(std::floor(f * image.columns)), 0, image.columns - 1);
    }
    for (int j = down.first; j < down.end; ++j) {
        const double f = (j + 0.5 - at.y0) / (at.y1 - at.y0);
        const int row = std::clamp(static_cast<int>(std::floor(f * image.rows)), 0, image.rows - 1);
        const packed_colour* from = image.cells.data() + static_cast<std::size_t>(row) * static_cast<std::size_t>(image.columns);
        packed_colour* to = c.pixels + static_cast<std::size_t>(j) * static_cast<std::size_t>(c.width);
        for (int i = across.first; i < across.end; ++i) to[i] = from[column_of[static_cast<std::size_t>(i - across.first)]];
    }
}

}  // namespace

std::vector<packed_colour> SCENE_PIXELS(const scene& s, int& width, int& height) {
    width = static_cast<int>(std::clamp(std::lround(s.width), 1L, 10000L));
    height = static_cast<int>(std::clamp(std::lround(s.height), 1L, 10000L));
    std::vector<packed_colour> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), s.background);
    canvas c{pixels.data(), width, height};
    for (const scene_item& item : s.items) {
        switch (item.kind) {
            case scene_kind::fill: FILL_BOX(c, item.x0, item.y0, item.x1, item.y1, item.colour); break;
            case scene_kind::line: {
                const double half = item.width / 2.0;
                if (item.y0 == item.y1)
                    FILL_BOX(c, item.x0, item.y0 - half, item.x1, item.y0 + half, item.colour);
                else if (item.x0 == item.x1)
                    FILL_BOX(c, item.x0 - half, item.y0, item.x0 + half, item.y1, item.colour);
                break;
            }
            case scene_kind::text:
                DRAW_CANVAS_TEXT(c, item.size, item.x0, item.y0, scene_detail::LATIN1_TEXT(item.text), item.colour, item.direction);
                break;
            case scene_kind::image: DRAW_IMAGE(c, s.image, item); break;
        }
    }
    return pixels;
}

}  // namespace orvex
