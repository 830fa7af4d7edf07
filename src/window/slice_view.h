// slice_view.h: the widget that draws one slice of the map as a colour map and reads its nodes.
//
// WHAT IT IS
//   One cell per node, each filled with the colour of its value (nothing interpolated), on axes
//   in cm with ticks, the same scale across and up (STRETCH fills the widget instead), and a
//   colour bar with its numbers at the right. A component whose values on the slice change sign
//   takes the diverging map centred on zero (its ends at -m and m, m the largest magnitude on
//   the slice); a component that keeps one sign, and a magnitude, take the sequential map from
//   the slice's least to its largest value (SLICE_COLOUR_RANGE), so 1100 to 1130 V/cm is not
//   one dark red. SET_SYMMETRIC(true) gives every component the diverging range about zero.
//   A value that is not a number is grey. Ctrl+wheel zooms about the pointer, ZOOM_BY about the centre, RESET_ZOOM shows the
//   whole plane. As the pointer moves over a cell the view outlines it and hands its readout to
//   on_readout ("x = -1.5 cm, y = 0.25 cm, z = 0 cm (i, j, k = 1, 29, 201) | Ez =
//   6.12345678901234E+03 V/cm"), an empty text off the cells; a double-click on a cell, or Enter
//   while pointing at one, hands its node to on_open_node.
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

#include "field/slices.h"
#include "surface/surface.h"

class QPainter;

namespace orvex {

// The room around the cells: axis numbers and titles at the left and below, the colour bar at
// the right.
inline constexpr double margin_left = 84.0, margin_right = 150.0, margin_top = 34.0, margin_bottom = 56.0;
inline constexpr double bar_gap = 22.0, bar_width = 18.0;

// The colours of a slice: values lo..hi over the diverging map (about zero) or the sequential.
struct slice_colours {
    double lo = -1.0, hi = 1.0;
    bool diverging = true;
};
// The colour range of the values of a component (component true) or a magnitude, the finite
// values alone; symmetric asks for the range about zero whatever the signs.
slice_colours SLICE_COLOUR_RANGE(const std::vector<double>& values, bool component, bool symmetric);

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
    // The plane drawn to scale would be a strip: one side more than four times the other.
    bool STRIP_TO_SCALE() const;
    void SET_SYMMETRIC(bool on);
    const slice_colours& COLOURS() const { return colours; }
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
    void PAINT_CELLS();
    QRectF CELL_RECT(const frame& f, int column, int row) const;

    const full_map* grid = nullptr;
    slice_cut cut;
    slice_size shape;
    std::vector<double> values;
    QImage cells;  // one pixel per node, the first row of the slice at the image's bottom
    slice_colours colours;
    bool symmetric = false;
    // The whole plane (cell edges) in cm, and the part shown.
    double full_x0 = 0.0, full_x1 = 1.0, full_y0 = 0.0, full_y1 = 1.0;
    double zoom = 1.0, centre_x = 0.5, centre_y = 0.5;
    bool stretch = false;
    bool index_axes = false;  // the coordinates give no scale: the axes count nodes
    int hover_column = 0, hover_row = 0;
};

}  // namespace orvex
