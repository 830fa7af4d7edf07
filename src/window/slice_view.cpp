// slice_view.cpp: one slice of the map drawn as a colour map, with its axes, its colour bar and
// the node under the pointer.
#include "window/slice_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "console/number_text.h"
#include "page/page_readout.h"
#include "surface/colour_maps.h"
#include "window/detail_window.h"

namespace orvex {

namespace {

const QColor not_a_number(150, 150, 150);


}  // namespace

slice_view::slice_view() {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void slice_view::SET_SLICE(const full_map* g, const slice_cut& new_cut) {
    const bool same_plane = grid == g && cut.plane == new_cut.plane;
    grid = g;
    cut = new_cut;
    shape = SLICE_SIZE(*g, cut.plane);
    SLICE_VALUES(*g, cut, values);
    PAINT_CELLS();
    const double da = AXIS_STEP(*g, shape.across), du = AXIS_STEP(*g, shape.up);
    full_x0 = NODE_COORDINATE(*g, shape.across, 1) - da / 2.0;
    full_x1 = full_x0 + da * shape.columns;
    full_y0 = NODE_COORDINATE(*g, shape.up, 1) - du / 2.0;
    full_y1 = full_y0 + du * shape.rows;
    // Coordinates that are not numbers or do not ascend (the map checks note them) give no
    // scale in cm: the plane is then drawn over its node indices.
    index_axes = !(full_x1 > full_x0 && full_y1 > full_y0 && std::isfinite(full_x1 - full_x0) && std::isfinite(full_y1 - full_y0));
    if (index_axes) {
        full_x0 = full_y0 = 0.5;
        full_x1 = shape.columns + 0.5;
        full_y1 = shape.rows + 0.5;
    }
    if (!same_plane) RESET_ZOOM();
    hover_column = hover_row = 0;
    if (underMouse()) READ_AT(mapFromGlobal(QCursor::pos()));
    update();
}

slice_colours SLICE_COLOUR_RANGE(const std::vector<double>& values, bool component, bool symmetric) {
    double least = 0.0, most = 0.0;
    bool any = false;
    for (const double v : values) {
        if (!std::isfinite(v)) continue;
        least = any ? std::min(least, v) : v;
        most = any ? std::max(most, v) : v;
        any = true;
    }
    // Zero everywhere keeps no sign: the range about zero shows it as nothing.
    const bool one_sign = (least >= 0.0 || most <= 0.0) && !(least == 0.0 && most == 0.0);
    if (component && (symmetric || !one_sign)) {
        const double m = std::max(std::fabs(least), std::fabs(most));
        return m > 0.0 ? slice_colours{-m, m, true} : slice_colours{};
    }
    return {least, most > least ? most : least + 1.0, false};
}

// One pixel per node in the colour of its value.
void slice_view::PAINT_CELLS() {
    colours = SLICE_COLOUR_RANGE(values, cut.quantity != slice_quantity::magnitude, symmetric);
    const auto& map = colours.diverging ? diverging_map : sequential_map;
    const double lo = colours.lo, span = colours.hi - colours.lo;
    cells = QImage(shape.columns, shape.rows, QImage::Format_RGB32);
    for (int row = 1; row <= shape.rows; ++row) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(shape.rows - row));
        const double* from = values.data() + static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(shape.columns);
        for (int column = 0; column < shape.columns; ++column) {
            const double v = from[column];
            line[column] = std::isfinite(v) ? SLICE_RGB(MAP_COLOUR(map, (v - lo) / span)) : not_a_number.rgb();
        }
    }
}

void slice_view::SET_SYMMETRIC(bool on) {
    symmetric = on;
    if (grid == nullptr) return;
    PAINT_CELLS();
    update();
}

bool slice_view::ZERO_EVERYWHERE() const {
    return std::all_of(values.begin(), values.end(), [](double v) { return v == 0.0; });
}

bool slice_view::STRIP_TO_SCALE() const {
    const double ratio = (full_y1 - full_y0) / (full_x1 - full_x0);
    return ratio > 4.0 || ratio < 0.25;
}

void slice_view::SET_STRETCH(bool on) {
    stretch = on;
    update();
}

void slice_view::RESET_ZOOM() {
    zoom = 1.0;
    centre_x = (full_x0 + full_x1) / 2.0;
    centre_y = (full_y0 + full_y1) / 2.0;
    update();
}

void slice_view::KEEP_VIEW_INSIDE() {
    zoom = std::clamp(zoom, 1.0, 256.0);
    const double wx = (full_x1 - full_x0) / (2.0 * zoom), wy = (full_y1 - full_y0) / (2.0 * zoom);
    centre_x = std::clamp(centre_x, full_x0 + wx, full_x1 - wx);
    centre_y = std::clamp(centre_y, full_y0 + wy, full_y1 - wy);
}

void slice_view::ZOOM_BY(double factor) {
    zoom *= factor;
    KEEP_VIEW_INSIDE();
    update();
}

// The data point under widget_point stays under it.
void slice_view::ZOOM_ABOUT(double factor, QPointF w) {
    const frame before = FRAME(QWidget::size());
    if (before.plot.width() <= 0 || before.plot.height() <= 0) return;
    const double fx = (w.x() - before.plot.left()) / before.plot.width();
    const double fy = (before.plot.bottom() - w.y()) / before.plot.height();
    const double x = before.x0 + fx * (before.x1 - before.x0), y = before.y0 + fy * (before.y1 - before.y0);
    zoom *= factor;
    KEEP_VIEW_INSIDE();
    const frame after = FRAME(QWidget::size());
    centre_x += x - (after.x0 + fx * (after.x1 - after.x0));
    centre_y += y - (after.y0 + fy * (after.y1 - after.y0));
    KEEP_VIEW_INSIDE();
    update();
}

slice_view::frame slice_view::FRAME(QSize area) const {
    frame f;
    const double wx = (full_x1 - full_x0) / (2.0 * zoom), wy = (full_y1 - full_y0) / (2.0 * zoom);
    f.x0 = centre_x - wx;
    f.x1 = centre_x + wx;
    f.y0 = centre_y - wy;
    f.y1 = centre_y + wy;
    const QRectF room(margin_left, margin_top, std::max(10.0, area.width() - margin_left - margin_right),
                      std::max(10.0, area.height() - margin_top - margin_bottom));
    if (stretch) {
        f.plot = room;
        return f;
    }
    // The same number of pixels per cm across and up.
    const double per_cm = std::min(room.width() / (2.0 * wx), room.height() / (2.0 * wy));
    const double w = per_cm * 2.0 * wx, h = per_cm * 2.0 * wy;
    f.plot = QRectF(room.left() + (room.width() - w) / 2.0, room.top() + (room.height() - h) / 2.0, w, h);
    return f;
}

QRectF slice_view::CELL_RECT(const frame& f, int column, int row) const {
    const double da = (full_x1 - full_x0) / shape.columns, du = (full_y1 - full_y0) / shape.rows;
    const double sx = f.plot.width() / (f.x1 - f.x0), sy = f.plot.height() / (f.y1 - f.y0);
    const double left = f.plot.left() + (full_x0 + (column - 1) * da - f.x0) * sx;
    const double top = f.plot.bottom() - (full_y0 + row * du - f.y0) * sy;
    return {left, top, da * sx, du * sy};
}

bool slice_view::CELL_AT(QPointF w, int& column, int& row) const {
    if (grid == nullptr) return false;
    const frame f = FRAME(QWidget::size());
    if (!f.plot.contains(w)) return false;
    const double x = f.x0 + (w.x() - f.plot.left()) / f.plot.width() * (f.x1 - f.x0);
    const double y = f.y0 + (f.plot.bottom() - w.y()) / f.plot.height() * (f.y1 - f.y0);
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    column = static_cast<int>(std::floor((x - full_x0) / (full_x1 - full_x0) * shape.columns)) + 1;
    row = static_cast<int>(std::floor((y - full_y0) / (full_y1 - full_y0) * shape.rows)) + 1;
    return column >= 1 && column <= shape.columns && row >= 1 && row <= shape.rows;
}

QPointF slice_view::CELL_CENTRE(int column, int row) const { return CELL_RECT(FRAME(QWidget::size()), column, row).center(); }

QString slice_view::READOUT(int column, int row) const {
    if (grid == nullptr || column < 1 || column > shape.columns || row < 1 || row > shape.rows) return {};
    const grid_node n = SLICE_NODE(cut, column, row);
    std::string text = "x = " + SHORT_COORDINATE(NODE_COORDINATE(*grid, 'x', n.i), place_digits) + " cm, y = " +
                       SHORT_COORDINATE(NODE_COORDINATE(*grid, 'y', n.j), place_digits) + " cm, z = " +
                       SHORT_COORDINATE(NODE_COORDINATE(*grid, 'z', n.k), place_digits) + " cm (i, j, k = " + NUMBER_I(n.i) +
                       ", " + NUMBER_I(n.j) + ", " + NUMBER_I(n.k) + ") | " +
                       std::string(QUANTITY_NAME(cut.field, cut.quantity)) + " = " +
                       READOUT_VALUE(values[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(shape.columns) +
                                            static_cast<std::size_t>(column - 1)]) +
                       " " + std::string(FIELD_ENTRY(cut.field).unit);
    return QString::fromStdString(text);
}

void slice_view::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PAINT(painter, QWidget::size());
}

void slice_view::READ_AT(QPointF w) {
    int column = 0, row = 0;
    if (!CELL_AT(w, column, row)) column = row = 0;
    if (column == hover_column && row == hover_row) return;
    hover_column = column;
    hover_row = row;
    update();
    if (on_readout) on_readout(column > 0 ? READOUT(column, row) : QString());
}

void slice_view::mouseMoveEvent(QMouseEvent* event) { READ_AT(event->position()); }

void slice_view::leaveEvent(QEvent*) {
    if (hover_column == 0) return;
    hover_column = hover_row = 0;
    update();
    if (on_readout) on_readout(QString());
}

void slice_view::mouseDoubleClickEvent(QMouseEvent* event) {
    READ_AT(event->position());
    if (hover_column > 0 && on_open_node) on_open_node(SLICE_NODE(cut, hover_column, hover_row));
}

void slice_view::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && hover_column > 0 && on_open_node) {
        on_open_node(SLICE_NODE(cut, hover_column, hover_row));
        return;
    }
    QWidget::keyPressEvent(event);
}

void slice_view::wheelEvent(QWheelEvent* event) {
    if ((event->modifiers() & Qt::ControlModifier) == 0) {
        event->ignore();
        return;
    }
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0.0) ZOOM_ABOUT(std::pow(1.25, notches), event->position());
    event->accept();
}

}  // namespace orvex
