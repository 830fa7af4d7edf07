// slice_view.h: the widget that draws one slice of the map as a colour map and reads its nodes.
//
// WHAT IT IS
//   The slice's picture (picture/slice_picture.h: one cell per node, each filled with the
//   colour of its value, nothing interpolated, on axes in cm with ticks, the same scale across
//   and up (STRETCH fills the widget instead), a colour bar with its numbers, the title), drawn
//   at the widget's size on the screen's pixels, the same raster Save Image writes. A component
//   whose values on the slice change sign takes the diverging map centred on zero (its ends at
//   -m and m, m the largest magnitude on the slice); a component that keeps one sign, and a
//   magnitude, the sequential map from the slice's least to its largest value, so 1100 to
//   1130 V/cm is not one dark red; SET_SYMMETRIC(true) gives every component the diverging
//   range about zero. A value that is not a number is grey. LOOK gives the look of the part shown
//   at a size (the window's Save Image draws it so). Ctrl+wheel zooms about the pointer,
//   ZOOM_BY about the centre, RESET_ZOOM shows the
//   whole plane. As the pointer moves over a cell the view outlines it and hands its readout to
//   on_readout ("x = -1.5 cm, y = 0.25 cm, z = 0 cm (i, j, k = 1, 29, 201) | Ez =
//   6.12345678901234E+03 V/cm"), an empty text off the cells; a double-click on a cell, or Enter
//   while pointing at one, hands its node to on_open_node. After the node the readout gives the
//   quantity at the pointer's exact place on the plane, interpolated by the cubic rule
//   (field/interpolate.h; a magnitude is that of the interpolated components), value first so
//   that a narrow window cuts the place rather than the value: "... | Ez = 6.12345678901234E+03
//   V/cm | cubic: Ez = 6.12299940237415E+03 V/cm at (0.246516, 0, 2.92298) cm"; in the half cell
//   beyond the last node "cubic: no value outside the nodes at (...) cm".
//
// HOW TO CALL IT
//   auto* view = new slice_view;  view->SET_SLICE(&grid, cut);
//   view->on_readout = [](const QString& text) { ... };
//   const scene picture = SLICE_SCENE(view->SHOWN(), view->LOOK(size));   // what it shows, as a file
//
// ASSUMES AND LIMITS
//   The grid outlives the view and is unfolded for the cut's field (slices.h). Coordinates
//   that are not numbers or do not ascend give no scale in cm: the axes then count nodes.
#pragma once

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

#include "field/probe.h"
#include "field/slices.h"
#include "picture/slice_picture.h"
#include "surface/surface.h"

class QPainter;

namespace orvex {

// A packed colour (red in the low byte) as the toolkit's.
inline QRgb SLICE_RGB(packed_colour c) {
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

// The colours of a slice as shown: values lo..hi over the diverging map (about zero) or the
// sequential one.
struct slice_colours {
    double lo = -1.0, hi = 1.0;
    bool diverging = true;
};

class slice_view : public QWidget {
public:
    slice_view();

    void SET_SLICE(const full_map* grid, const slice_cut& cut);
    const slice_cut& CUT() const { return shown.cut; }
    const slice_size& SIZE_OF_SLICE() const { return shown.shape; }
    const shown_slice& SHOWN() const { return shown; }
    // The part shown, zoomed and stretched as on the screen, in a picture of size units whose
    // texts and lines are scale times the screen's.
    slice_look LOOK(QSize size, double scale = 1.0) const;
    void SET_STRETCH(bool on);
    bool STRETCHED() const { return stretch; }
    // The plane drawn to scale would be a strip: one side more than four times the other.
    bool STRIP_TO_SCALE() const;
    void SET_SYMMETRIC(bool on);
    slice_colours COLOURS() const;
    // No value on the slice differs from zero (an odd component on its plane of symmetry).
    bool ZERO_EVERYWHERE() const;
    double ZOOM() const { return zoom; }
    void ZOOM_BY(double factor);
    void ZOOM_ABOUT(double factor, QPointF widget_point);
    void RESET_ZOOM();

    // The cell (column, row, 1-based) under a widget point; false off the cells.
    bool CELL_AT(QPointF widget_point, int& column, int& row) const;
    // The centre of a cell in widget coordinates.
    QPointF CELL_CENTRE(int column, int row) const;
    QString READOUT(int column, int row) const;
    // The point of the plane under a widget point, in cm; false off the cells or when the axes
    // count nodes. POINTER_READOUT is the readout's interpolated part there ("" without a point).
    bool POINT_AT(QPointF widget_point, point3& at) const;
    QString POINTER_READOUT(QPointF widget_point) const;

    // Draws the view (the picture, the outline of the cell under the pointer) on a painter of
    // the given size: the picture on the painter's device pixels.
    void PAINT(QPainter& painter, QSize area) const;

    std::function<void(const QString&)> on_readout;
    std::function<void(grid_node)> on_open_node;

    QSize sizeHint() const override { return {900, 560}; }
    QSize minimumSizeHint() const override { return {320, 220}; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct frame {
        QRectF plot;        // the cells' area on the widget
        double x0, x1, y0, y1;  // the data range it shows, cm
    };
    frame FRAME(QSize area) const;
    void READ_AT(QPointF widget_point);
    void KEEP_VIEW_INSIDE();
    QRectF CELL_RECT(const frame& f, int column, int row) const;

    const full_map* grid = nullptr;
    shown_slice shown;  // values, colours, the whole plane's extent (cm, or nodes)
    // The part shown: its centre in cm and the zoom.
    double zoom = 1.0, centre_x = 0.5, centre_y = 0.5;
    bool stretch = false;
    bool symmetric = false;  // every component coloured about zero (SET_SYMMETRIC)
    int hover_column = 0, hover_row = 0;
    // The picture last drawn, kept while its look and the slice stay.
    mutable QImage picture;
    mutable slice_look picture_look;
    mutable bool picture_ready = false;
};

}  // namespace orvex
