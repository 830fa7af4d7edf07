// slice_view.h: the widget that draws one slice of the map as a colour map and reads its nodes.
//
// WHAT IT IS
//   One cell per node, each filled with the colour of its value (nothing interpolated), on axes
//   in cm with ticks, the same scale across and up (STRETCH fills the widget instead), and a
//   colour bar with its numbers at the right. A signed component takes the diverging map
//   centred on zero (its ends at -m and m, m the largest magnitude on the slice), a magnitude
//   the sequential map from the slice's least to its largest value; a value that is not a number
//   is grey. Ctrl+wheel zooms about the pointer, ZOOM_BY about the centre, RESET_ZOOM shows the
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
//   view->PAINT(painter, size);   // the same drawing on any device (images, SVG, PDF)
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
#include "surface/surface.h"

class QPainter;

namespace orvex {

// The room around the cells: axis numbers and titles at the left and below, the colour bar at
// the right.
inline constexpr double margin_left = 84.0, margin_right = 150.0, margin_top = 34.0, margin_bottom = 56.0;
inline constexpr double bar_gap = 22.0, bar_width = 18.0;

// A packed colour (red in the low byte) as the toolkit's.
inline QRgb SLICE_RGB(packed_colour c) {
    return qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

class slice_view : public QWidget {
public:
    slice_view();

    void SET_SLICE(const full_map* grid, const slice_cut& cut);
    const slice_cut& CUT() const { return cut; }
    const slice_size& SIZE_OF_SLICE() const { return shape; }
    void SET_STRETCH(bool on);
    bool STRETCHED() const { return stretch; }
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

    // Draws the whole view (axes, cells, colour bar) into a painter of the given size.
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
    slice_cut cut;
    slice_size shape;
    std::vector<double> values;
    QImage cells;  // one pixel per node, the first row of the slice at the image's bottom
    double lo = 0.0, hi = 1.0;  // the colour range
    bool signed_quantity = true;
    // The whole plane (cell edges) in cm, and the part shown.
    double full_x0 = 0.0, full_x1 = 1.0, full_y0 = 0.0, full_y1 = 1.0;
    double zoom = 1.0, centre_x = 0.5, centre_y = 0.5;
    bool stretch = false;
    bool index_axes = false;  // the coordinates give no scale: the axes count nodes
    int hover_column = 0, hover_row = 0;
};

}  // namespace orvex
