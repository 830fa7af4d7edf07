// page_view.cpp: painting the page (raster at 1:1, vectors otherwise), the node under the
// pointer, and the pointer's gestures.
#include "window/page_view.h"

#include <QCursor>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <utility>

#include "page/page_readout.h"
#include "window/shown_page.h"
#include "window/vector_page.h"

namespace orvex {

namespace {

constexpr double marker_radius = 4.0;  // device-independent pixels

}  // namespace

page_view::page_view(QImage image, const display_list* list_in, const plotted_page* plotted_in)
    : page(std::move(image)), list(list_in), plotted(plotted_in) {
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
}

void page_view::SET_PAGE(QImage image, const display_list* list_in, const plotted_page* plotted_in) {
    page = std::move(image);
    list = list_in;
    plotted = plotted_in;
    cached = QPixmap();
    cached_scale = 0.0;
    panel_under = node_under = 0;
    // The readout follows the pointer onto the new page's values at once.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    if (underMouse()) READ_AT(pointer);
    update();
}

QSize page_view::sizeHint() const { return page.size(); }

double page_view::FIT_SCALE(const QSize& size) const {
    return std::min(static_cast<double>(size.width()) / page.width(), static_cast<double>(size.height()) / page.height());
}

double page_view::SCALE() const { return fit ? FIT_SCALE(size()) : scale; }

void page_view::SET_SCALE(bool fit_to_size, double fixed_scale) {
    fit = fit_to_size;
    scale = std::clamp(fixed_scale, 0.125, 8.0);
    if (!fit) resize(static_cast<int>(std::lround(page.width() * scale)), static_cast<int>(std::lround(page.height() * scale)));
    update();
    READ_UNDER_POINTER();
}

QPointF page_view::ORIGIN() const {
    if (!fit) return {0.0, 0.0};
    const double s = SCALE();
    // Whole pixels, so that the raster at 1:1 lands on device pixels.
    return {std::floor((width() - page.width() * s) / 2.0), std::floor((height() - page.height() * s) / 2.0)};
}

QPointF page_view::PAGE_POINT(const QPointF& w) const {
    const double s = SCALE();
    const QPointF o = ORIGIN();
    return {(w.x() - o.x()) / s + 1.0, (w.y() - o.y()) / s + 1.0};
}

QPointF page_view::WIDGET_POINT(const QPointF& p) const {
    const double s = SCALE();
    const QPointF o = ORIGIN();
    return {(p.x() - 1.0) * s + o.x(), (p.y() - 1.0) * s + o.y()};
}

// The page replayed as vectors at scale s, kept as a picture of the widget's device pixels so
// that a pointer move repaints only the marker; a page too large to keep (far zoomed in) is
// replayed for the exposed part at each paint instead.
constexpr double cache_pixel_limit = 4096.0 * 4096.0;

void page_view::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const double s = SCALE();
    const QPointF o = ORIGIN();
    const double ratio = devicePixelRatioF();
    const double device_scale = s * ratio;
    const auto replay = [&](QPainter& p) {
        p.scale(s, s);
        p.translate(-0.5, -0.5);
        PAINT_PAGE_VECTORS(p, *list, page);
    };
    if (std::fabs(device_scale - 1.0) < 1e-9) {
        // One page pixel per device pixel: the exact raster.
        painter.drawImage(QPointF(std::round(o.x()), std::round(o.y())), page);
    } else if (device_scale < 1.0) {
        // Smaller than its pixels: drawn on the device's own pixels, texts at their shown size.
        const QSize device(static_cast<int>(std::ceil(page.width() * device_scale)),
                           static_cast<int>(std::ceil(page.height() * device_scale)));
        if (cached.size() != device || cached_scale != device_scale) {
            cached = QPixmap(device);
            cached.fill(Qt::white);
            QPainter into(&cached);
            PAINT_PAGE_SHOWN(into, *list, page, device_scale);
            into.end();
            cached.setDevicePixelRatio(ratio);
            cached_scale = device_scale;
        }
        painter.drawPixmap(o, cached);
    } else if (page.width() * device_scale * page.height() * device_scale <= cache_pixel_limit) {
        const QSize device(static_cast<int>(std::ceil(page.width() * device_scale)),
                           static_cast<int>(std::ceil(page.height() * device_scale)));
        if (cached.size() != device || cached_scale != device_scale) {
            cached = QPixmap(device);
            cached.setDevicePixelRatio(ratio);
            cached.fill(Qt::white);
            QPainter into(&cached);
            replay(into);
            cached_scale = device_scale;
        }
        painter.drawPixmap(o, cached);
    } else {
        painter.setClipRect(event->rect());
        painter.translate(o);
        replay(painter);
        painter.resetTransform();
        painter.setClipping(false);
    }
    const QRectF marker = MARKER_RECT();
    if (!marker.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(QColor(0, 90, 200), 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(marker.center(), marker_radius, marker_radius);
    }
}

QRectF page_view::MARKER_RECT() const {
    if (panel_under == 0 || node_under == 0) return {};
    const node_pixel at = NODE_PIXEL(plotted->panels[static_cast<std::size_t>(panel_under - 1)], node_under);
    if (!at.shown) return {};
    const QPointF c = WIDGET_POINT(QPointF(at.x + 0.5, at.y + 0.5));
    const double r = marker_radius + 2.0;
    return {c.x() - r, c.y() - r, 2.0 * r, 2.0 * r};
}

// Finds the panel and node under a widget point, repaints the marker and says what it reads.
void page_view::READ_AT(const QPointF& w) {
    const QPointF p = PAGE_POINT(w);
    int panel = PANEL_AT(*plotted, p.x(), p.y());
    int node = 0;
    if (panel > 0) {
        const plotted_panel& pp = plotted->panels[static_cast<std::size_t>(panel - 1)];
        node = NEAREST_NODE(pp, p.x());
    }
    if (panel == panel_under && node == node_under) return;
    update(MARKER_RECT().toAlignedRect());
    panel_under = panel;
    node_under = node;
    update(MARKER_RECT().toAlignedRect());
    if (!on_readout) return;
    if (panel > 0 && node > 0) {
        on_readout(QString::fromStdString(READOUT_TEXT(plotted->panels[static_cast<std::size_t>(panel - 1)], node)));
    } else {
        on_readout(QString());
    }
}

void page_view::mouseMoveEvent(QMouseEvent* event) {
    pointer_in = true;
    pointer_global = event->globalPosition();
    READ_AT(event->position());
}

void page_view::READ_UNDER_POINTER() {
    if (pointer_in) READ_AT(mapFromGlobal(pointer_global));
}

void page_view::resizeEvent(QResizeEvent*) { READ_UNDER_POINTER(); }

void page_view::moveEvent(QMoveEvent*) { READ_UNDER_POINTER(); }

void page_view::leaveEvent(QEvent*) {
    pointer_in = false;
    if (panel_under == 0 && node_under == 0) return;
    update(MARKER_RECT().toAlignedRect());
    panel_under = node_under = 0;
    if (on_readout) on_readout(QString());
}

void page_view::mouseDoubleClickEvent(QMouseEvent* event) {
    READ_AT(event->position());
    if (panel_under > 0 && on_open_panel) on_open_panel(panel_under);
}

void page_view::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && panel_under > 0 && on_open_panel) {
        on_open_panel(panel_under);
        return;
    }
    QWidget::keyPressEvent(event);
}

void page_view::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0 || !on_zoom_at) {
        event->ignore();  // the scroll area scrolls
        return;
    }
    // One notch of a wheel (120) is one zoom step; a touchpad's smaller deltas are parts of one.
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0) return;
    pointer_in = true;
    pointer_global = event->globalPosition();
    on_zoom_at(std::pow(1.25, notches), PAGE_POINT(event->position()));
    event->accept();
}

}  // namespace orvex
