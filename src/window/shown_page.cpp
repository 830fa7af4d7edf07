// shown_page.cpp: the display list placed on device pixels below 1:1.
#include "window/shown_page.h"

#include <QFont>
#include <QPaintDevice>
#include <QPen>
#include <QPolygonF>
#include <QRect>

#include <cmath>
#include <vector>

#include "window/qt_forms.h"
#include "window/vector_page.h"

namespace orvex {

namespace {

// The device pixel that holds the centre of page pixel u (or the page point u).
int DEVICE_PIXEL(double u, double s) { return static_cast<int>(std::floor((u - 0.5) * s)); }

// The device pixels of page pixels x1..x2 by y1..y2, border pixels included.
QRect DEVICE_RECT(const display_op& op, double s) {
    const int left = DEVICE_PIXEL(op.x1, s), top = DEVICE_PIXEL(op.y1, s);
    return QRect(left, top, DEVICE_PIXEL(op.x2, s) - left + 1, DEVICE_PIXEL(op.y2, s) - top + 1);
}

// The family at the shown size: a font in points for the device's resolution, so that its
// pixel size is em_y s exactly (fractional sizes included), stretched to the page's width.
QFont SHOWN_FONT(const display_font& f, double s, const QPaintDevice& device) {
    QFont font(QString::fromUtf8(f.family.data()));
    font.setPointSizeF(std::max(0.5, f.em_y * s) * 72.0 / device.logicalDpiY());
    font.setItalic(f.italic);
    font.setKerning(false);
    // Vertical hinting keeps the advances (and so the texts' widths) those of the outlines.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    if (f.em_y > 0.0) font.setStretch(static_cast<int>(std::lround(100.0 * f.em_x / f.em_y)));
    return font;
}

}  // namespace

void PAINT_PAGE_SHOWN(QPainter& painter, const display_list& list, const QImage& raster, double s) {
    painter.save();
    const QRect whole(0, 0, static_cast<int>(std::ceil(page_width * s)), static_cast<int>(std::ceil(page_height * s)));
    if (!list.complete) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(QRectF(0.0, 0.0, page_width * s, page_height * s), raster);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(whole, FROM_PACKED(list.background));
    painter.setClipRect(whole);
    std::vector<QFont> fonts;
    fonts.reserve(display_font_capacity);
    for (const display_font& f : list.fonts) fonts.push_back(SHOWN_FONT(f, s, *painter.device()));
    QPen pen;
    pen.setWidthF(1.0);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    QPolygonF points;
    for (const display_op& op : list.OPS()) {
        switch (op.kind) {
            case display_kind::clip:
                painter.setClipRect(DEVICE_RECT(op, s));
                break;
            case display_kind::fill:
                painter.fillRect(DEVICE_RECT(op, s), FROM_PACKED(op.colour));
                break;
            case display_kind::polyline: {
                points.clear();
                for (const display_point& p : list.POINTS(op)) {
                    points.append(QPointF(DEVICE_PIXEL(p.x, s) + 0.5, DEVICE_PIXEL(p.y, s) + 0.5));
                }
                pen.setColor(FROM_PACKED(op.colour));
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawPolyline(points);
                break;
            }
            case display_kind::text:
                PAINT_DISPLAY_TEXT(painter, list, op, fonts, s);
                break;
            case display_kind::pixel:
                painter.fillRect(QRect(DEVICE_PIXEL(op.x1, s), DEVICE_PIXEL(op.y1, s), 1, 1), FROM_PACKED(op.colour));
                break;
        }
    }
    painter.restore();
}

}  // namespace orvex
