// page_view.h: the widget that shows the page and reads values off it.
//
// WHAT IT IS
//   Fit (the default): the whole page scaled into the widget, its aspect kept, centred. At a
//   fixed scale: the page from the widget's top-left corner (a scroll area around it scrolls).
//   Where one page pixel is one device pixel (1:1 on a normal screen) the exact raster is
//   shown; smaller (Fit on a small screen), the page is drawn from its display list on the
//   device's own pixels with its texts at their shown size (shown_page.h); larger, and on a
//   HiDPI screen, it is replayed from its display list as vectors, so lines and numbers stay
//   crisp.
//
//   As the pointer moves over a panel, the view finds the node of that panel's profile nearest
//   the pointer (page_readout.h), marks it with a small ring (drawn on the widget, never on the
//   page image) and hands the readout to on_readout; off the panels it hands an empty text. A
//   double-click on a panel, or Enter while the pointer is on one, hands the panel to
//   on_open_panel. Ctrl+wheel hands a zoom step and the page point under the pointer to
//   on_zoom_at. When the page moves or changes its scale under a pointer that stays (a zoom,
//   Fit, a scroll), the node now under the pointer is read at once.
//
// HOW TO CALL IT
//   auto* view = new page_view(image, &DISPLAY_LIST(), &PLOTTED_PAGE());
//   view->on_readout = [](const QString& text) { ... };
//   view->SET_SCALE(false, 2.0);
//
// ASSUMES AND LIMITS
//   The image, the display list and the plotted page live as long as the view.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QWidget>

#include <functional>

#include "surface/display_list.h"
#include "page/plotted_page.h"

namespace orvex {

class page_view : public QWidget {
public:
    page_view(QImage image, const display_list* list, const plotted_page* plotted);

    const QImage& PAGE_IMAGE() const { return page; }
    // Shows another page (the map's other field): its image, drawing operations and panels.
    void SET_PAGE(QImage image, const display_list* list, const plotted_page* plotted);
    bool FITS() const { return fit; }
    // The scale in use: the fit scale for the current size, or the fixed one.
    double SCALE() const;
    // The scale at which the whole page fits into size.
    double FIT_SCALE(const QSize& size) const;
    // Fit, or a fixed scale (the widget then takes the page's size at that scale).
    void SET_SCALE(bool fit_to_size, double fixed_scale);

    // Page coordinates (page pixel (x, y) covers [x, x + 1) x [y, y + 1)) of a widget point, and
    // back.
    QPointF PAGE_POINT(const QPointF& widget_point) const;
    QPointF WIDGET_POINT(const QPointF& page_point) const;

    // The panel under the pointer now (1..30), or 0.
    int PANEL_UNDER_POINTER() const { return panel_under; }

    std::function<void(const QString&)> on_readout;
    std::function<void(int panel)> on_open_panel;
    std::function<void(double factor, QPointF page_point)> on_zoom_at;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void READ_AT(const QPointF& widget_point);
    // Reads again where the pointer stands, once the page has moved or changed its scale under it.
    void READ_UNDER_POINTER();
    QPointF ORIGIN() const;  // where page point (1, 1) lies in the widget
    QRectF MARKER_RECT() const;  // the marker of the node under the pointer, empty when none

    QImage page;
    const display_list* list;
    const plotted_page* plotted;
    bool fit = true;
    double scale = 1.0;
    int panel_under = 0;
    int node_under = 0;
    bool pointer_in = false;  // the pointer is over the view, at pointer_global (screen)
    QPointF pointer_global;
    QPixmap cached;            // the vector replay at cached_scale device pixels per page pixel
    double cached_scale = 0.0;
};

}  // namespace orvex
