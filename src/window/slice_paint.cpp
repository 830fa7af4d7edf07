// slice_paint.cpp: a slice drawn: its cells, its axes in cm with ticks that have room, the
// colour bar with its numbers and the outline of the cell under the pointer.
#include <QPainter>

#include <cmath>
#include <vector>

#include "surface/colour_maps.h"
#include "window/detail_window.h"
#include "window/slice_view.h"

namespace orvex {

namespace {

QString TICK_LABEL(const detail_ticks& ticks, double v) { return QString::fromStdString(DETAIL_TICK_LABEL(ticks, v)); }

// The ticks of an axis of length pixels over the range span, every second, fifth... one dropped
// until neighbours lie at least room pixels apart (a thin plane drawn to scale has little height).
std::vector<double> TICKS_WITH_ROOM(const detail_ticks& ticks, double pixels, double span, double room) {
    const double apart = ticks.step / span * pixels;
    int every = 1;
    for (const int stride : {1, 2, 5, 10, 20, 50}) {
        every = stride;
        if (apart * stride >= room) break;
    }
    std::vector<double> kept;
    for (const double t : ticks.at) {
        const double index = std::round(t / ticks.step);
        if (std::fmod(std::fabs(index), every) == 0.0) kept.push_back(t);
    }
    if (kept.empty() && !ticks.at.empty()) kept.push_back(ticks.at.front());
    return kept;
}

}  // namespace

void slice_view::PAINT(QPainter& p, QSize area) const {
    p.fillRect(QRect(QPoint(0, 0), area), Qt::white);
    if (grid == nullptr || cells.isNull()) return;
    const frame f = FRAME(area);
    const QFontMetricsF metrics(p.font());
    // The cells: the shown part of the one-pixel-per-node image, scaled without smoothing.
    const double da = (full_x1 - full_x0) / shape.columns, du = (full_y1 - full_y0) / shape.rows;
    const QRectF source((f.x0 - full_x0) / da, (full_y1 - f.y1) / du, (f.x1 - f.x0) / da, (f.y1 - f.y0) / du);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(f.plot, cells, source);
    p.setPen(QPen(Qt::black, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);

    // Axes with their ticks, in cm.
    const detail_ticks across = DETAIL_AXIS_TICKS(f.x0, f.x1), up = DETAIL_AXIS_TICKS(f.y0, f.y1);
    for (const double t : TICKS_WITH_ROOM(across, f.plot.width(), f.x1 - f.x0, 70.0)) {
        const double x = f.plot.left() + (t - f.x0) / (f.x1 - f.x0) * f.plot.width();
        p.drawLine(QPointF(x, f.plot.bottom()), QPointF(x, f.plot.bottom() + 5));
        const QString label = TICK_LABEL(across, t);
        p.drawText(QPointF(x - metrics.horizontalAdvance(label) / 2.0, f.plot.bottom() + 7 + metrics.ascent()), label);
    }
    for (const double t : TICKS_WITH_ROOM(up, f.plot.height(), f.y1 - f.y0, metrics.height() * 1.2)) {
        const double y = f.plot.bottom() - (t - f.y0) / (f.y1 - f.y0) * f.plot.height();
        p.drawLine(QPointF(f.plot.left() - 5, y), QPointF(f.plot.left(), y));
        const QString label = TICK_LABEL(up, t);
        p.drawText(QPointF(f.plot.left() - 8 - metrics.horizontalAdvance(label), y + metrics.ascent() / 2.0 - 1), label);
    }
    const QString unit = index_axes ? QStringLiteral("node") : QStringLiteral("cm");
    const QString across_title = QStringLiteral("%1 (%2)").arg(QLatin1Char(shape.across)).arg(unit);
    p.drawText(QPointF(f.plot.center().x() - metrics.horizontalAdvance(across_title) / 2.0,
                       f.plot.bottom() + 12 + metrics.height() + metrics.ascent()), across_title);
    const QString up_title = QStringLiteral("%1 (%2)").arg(QLatin1Char(shape.up)).arg(unit);
    p.save();
    p.translate(14.0 + metrics.ascent(), f.plot.center().y() + metrics.horizontalAdvance(up_title) / 2.0);
    p.rotate(-90.0);
    p.drawText(QPointF(0, 0), up_title);
    p.restore();

    // The colour bar over the whole height of the plot's room, with its numbers and title.
    const QRectF bar(area.width() - margin_right + bar_gap, margin_top, bar_width,
                     std::max(10.0, area.height() - margin_top - margin_bottom));
    const auto& map = colours.diverging ? diverging_map : sequential_map;
    const double lo = colours.lo, hi = colours.hi;
    QImage strip(1, static_cast<int>(map.size()), QImage::Format_RGB32);
    for (std::size_t n = 0; n < map.size(); ++n) strip.setPixel(0, static_cast<int>(map.size() - 1 - n), SLICE_RGB(map[n]));
    p.drawImage(bar, strip);
    p.drawRect(bar);
    const detail_ticks numbers = DETAIL_AXIS_TICKS(lo, hi);
    for (const double t : numbers.at) {
        const double y = bar.bottom() - (t - lo) / (hi - lo) * bar.height();
        p.drawLine(QPointF(bar.right(), y), QPointF(bar.right() + 4, y));
        p.drawText(QPointF(bar.right() + 7, y + metrics.ascent() / 2.0 - 1), TICK_LABEL(numbers, t));
    }
    const QString bar_title = QString::fromUtf8(QUANTITY_TITLE(cut.field, cut.quantity).data());
    p.drawText(QPointF(bar.left(), margin_top - 10), bar_title);

    if (hover_column > 0 && hover_row > 0) {
        const QRectF cell = CELL_RECT(f, hover_column, hover_row);
        p.setClipRect(f.plot.adjusted(-3, -3, 3, 3));
        p.setPen(QPen(Qt::black, 3.0));
        p.drawRect(cell.adjusted(-1.5, -1.5, 1.5, 1.5));
        p.setPen(QPen(Qt::white, 1.0));
        p.drawRect(cell.adjusted(-1.5, -1.5, 1.5, 1.5));
        p.setClipping(false);
    }
}

}  // namespace orvex
