// slice_paint.cpp: the slice drawn on the screen: its picture (picture/slice_picture.h) on the
// screen's own pixels, kept until the slice or its look changes, and the outline of the cell
// under the pointer over it.
#include <QPainter>

#include <cmath>
#include <vector>

#include "window/slice_view.h"

namespace orvex {

namespace {

bool SAME_LOOK(const slice_look& a, const slice_look& b) {
    return a.width == b.width && a.height == b.height && a.text == b.text && a.line == b.line && a.stretch == b.stretch &&
           a.whole == b.whole && a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 && a.y1 == b.y1;
}

}  // namespace

void slice_view::PAINT(QPainter& p, QSize area) const {
    p.fillRect(QRect(QPoint(0, 0), area), Qt::white);
    if (grid == nullptr || shown.cells.empty()) return;
    const double scale = p.device() != nullptr ? p.device()->devicePixelRatioF() : 1.0;
    const QSize pixels(static_cast<int>(std::lround(area.width() * scale)), static_cast<int>(std::lround(area.height() * scale)));
    const slice_look look = LOOK(pixels, scale);
    if (!picture_ready || !SAME_LOOK(look, picture_look)) {
        int width = 0, height = 0;
        const std::vector<packed_colour> raster = SCENE_PIXELS(SLICE_SCENE(shown, look), width, height);
        picture = QImage(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < width; ++x) line[x] = SLICE_RGB(raster[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x]);
        }
        picture_look = look;
        picture_ready = true;
    }
    p.drawImage(QRectF(0.0, 0.0, area.width(), area.height()), picture);

    if (hover_column > 0 && hover_row > 0) {
        const frame f = FRAME(area);
        const QRectF cell = CELL_RECT(f, hover_column, hover_row);
        p.setClipRect(f.plot.adjusted(-3, -3, 3, 3));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::black, 3.0));
        p.drawRect(cell.adjusted(-1.5, -1.5, 1.5, 1.5));
        p.setPen(QPen(Qt::white, 1.0));
        p.drawRect(cell.adjusted(-1.5, -1.5, 1.5, 1.5));
        p.setClipping(false);
    }
}

}  // namespace orvex
