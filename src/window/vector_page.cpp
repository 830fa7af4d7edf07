// vector_page.cpp: the display list replayed through QPainter.
#include "window/vector_page.h"

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>
#include <QPolygonF>
#include <QRectF>
#include <QSvgGenerator>

#include <cmath>
#include <vector>

#include "window/qt_forms.h"

namespace orvex {

namespace {

// The clip of a clip operation: its border pixels are inside, so the rectangle reaches half a
// unit beyond the pixel centres of its edges.
QRectF CLIP_RECT(const display_op& op) {
    return QRectF(op.x1 - 0.5, op.y1 - 0.5, op.x2 - op.x1 + 1.0, op.y2 - op.y1 + 1.0);
}

// The font of a display font at a reference size; the painter's transform brings it to the
// font's own size (fractional sizes and a width of its own are then exact on every device).
constexpr double reference_size = 100.0;

QFont REFERENCE_FONT(const display_font& f) {
    QFont font(QString::fromUtf8(f.family.data()));
    font.setPixelSize(static_cast<int>(reference_size));
    font.setItalic(f.italic);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

// One page on a vector device of the page's own size in units; the page is complete when the
// painter ends here. Page pixel (x, y) is the device's unit square from (x - 1, y - 1): its
// centre, where the page's one-pixel lines run, lies half a unit inside, so a viewer showing
// the page at its own size puts each line on one whole pixel, as the raster has it.
void PAINT_TO(QPaintDevice& device, const display_list& list, const QImage& raster) {
    QPainter painter(&device);
    painter.translate(-0.5, -0.5);
    PAINT_PAGE_VECTORS(painter, list, raster);
}

}  // namespace

void PAINT_DISPLAY_TEXT(QPainter& painter, const display_list& list, const display_op& op,
                        const std::vector<QFont>& fonts, double shown_scale) {
    const display_text& t = list.texts[static_cast<std::size_t>(op.first)];
    if (t.font < 0 || t.font >= display_font_capacity) return;
    const display_font& f = list.fonts[static_cast<std::size_t>(t.font)];
    if (f.em_y <= 0.0) return;
    painter.save();
    painter.setPen(FROM_PACKED(op.colour));
    painter.setFont(fonts[static_cast<std::size_t>(t.font)]);
    if (shown_scale > 0.0) {
        // The cell's left edge and the baseline (the top edge of page row y + ascent) in device
        // pixels, the baseline on a whole pixel; the font is already at its shown size.
        painter.translate((t.x - 1.0) * shown_scale, std::round((t.y + f.ascent - 1.0) * shown_scale));
    } else {
        // The cell's left edge and baseline, as the raster placed its glyph origins.
        painter.translate(t.x - 0.5, t.y - 0.5 + f.ascent);
        painter.scale(f.em_x / reference_size, f.em_y / reference_size);
    }
    if (f.slanted) painter.shear(-0.2126, 0.0);  // about 12 degrees, as the raster slants it
    painter.drawText(QPointF(0.0, 0.0), QString::fromLatin1(t.text.data(), t.length));
    painter.restore();
}

void PAINT_PAGE_VECTORS(QPainter& painter, const display_list& list, const QImage& raster) {
    painter.save();
    if (!list.complete) {
        // The list could not hold the page: the raster stands in, one image pixel per unit.
        painter.drawImage(QRectF(0.5, 0.5, page_width, page_height), raster);
        painter.restore();
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF whole(0.5, 0.5, page_width, page_height);
    painter.fillRect(whole, FROM_PACKED(list.background));
    painter.setClipRect(whole);
    std::vector<QFont> fonts;
    fonts.reserve(display_font_capacity);
    for (const display_font& f : list.fonts) fonts.push_back(REFERENCE_FONT(f));
    QPen pen;
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    QPolygonF points;
    for (const display_op& op : list.OPS()) {
        switch (op.kind) {
            case display_kind::clip:
                painter.setClipRect(CLIP_RECT(op));
                break;
            case display_kind::fill:
                painter.fillRect(QRectF(op.x1, op.y1, op.x2 - op.x1, op.y2 - op.y1), FROM_PACKED(op.colour));
                break;
            case display_kind::polyline: {
                points.clear();
                for (const display_point& p : list.POINTS(op)) points.append(QPointF(p.x, p.y));
                pen.setColor(FROM_PACKED(op.colour));
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawPolyline(points);
                break;
            }
            case display_kind::text:
                PAINT_DISPLAY_TEXT(painter, list, op, fonts, 0.0);
                break;
            case display_kind::pixel:
                painter.fillRect(QRectF(op.x1 - 0.5, op.y1 - 0.5, 1.0, 1.0), FROM_PACKED(op.colour));
                break;
        }
    }
    painter.restore();
}

QByteArray PAGE_AS_SVG(const display_list& list, const QImage& raster, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(page_width, page_height));
    svg.setViewBox(QRect(0, 0, page_width, page_height));
    svg.setResolution(72);
    svg.setTitle(title);
    svg.setDescription(QStringLiteral("plot_orvex_3dfields page, 1280 x 800 units, one unit per page pixel"));
    PAINT_TO(svg, list, raster);
    return bytes;
}

QByteArray PAGE_AS_PDF(const display_list& list, const QImage& raster, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("plot_orvex_3dfields"));
    pdf.setResolution(72);
    pdf.setPageLayout(QPageLayout(QPageSize(QSizeF(page_width, page_height), QPageSize::Point), QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0)));
    PAINT_TO(pdf, list, raster);
    return bytes;
}

}  // namespace orvex
