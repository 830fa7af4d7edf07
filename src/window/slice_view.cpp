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

namespace orvex {

slice_view::slice_view() {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void slice_view::SET_SLICE(const full_map* g, const slice_cut& new_cut) {
    const bool same_plane = grid == g && shown.cut.plane == new_cut.plane;
    grid = g;
    shown = SHOW_SLICE(*g, new_cut, {}, symmetric);
    picture_ready = false;
    if (!same_plane) RESET_ZOOM();
    hover_column = hover_row = 0;
    if (underMouse()) READ_AT(mapFromGlobal(QCursor::pos()));
    update();
}

void slice_view::SET_SYMMETRIC(bool on) {
    symmetric = on;
    if (grid == nullptr) return;
    shown = SHOW_SLICE(*grid, shown.cut, {}, symmetric);
    picture_ready = false;
    update();
}

slice_colours slice_view::COLOURS() const { return {shown.lo, shown.hi, shown.signed_scale}; }

bool slice_view::ZERO_EVERYWHERE() const {
    return std::all_of(shown.values.begin(), shown.values.end(), [](double v) { return v == 0.0; });
}

bool slice_view::STRIP_TO_SCALE() const { return SLICE_IS_STRIP(shown); }

void slice_view::SET_STRETCH(bool on) {
    stretch = on;
    update();
}

void slice_view::RESET_ZOOM() {
    zoom = 1.0;
    centre_x = (shown.x0 + shown.x1) / 2.0;
    centre_y = (shown.y0 + shown.y1) / 2.0;
    update();
}

void slice_view::KEEP_VIEW_INSIDE() {
    zoom = std::clamp(zoom, 1.0, 256.0);
    const double wx = (shown.x1 - shown.x0) / (2.0 * zoom), wy = (shown.y1 - shown.y0) / (2.0 * zoom);
    centre_x = std::clamp(centre_x, shown.x0 + wx, shown.x1 - wx);
    centre_y = std::clamp(centre_y, shown.y0 + wy, shown.y1 - wy);
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

slice_look slice_view::LOOK(QSize size, double scale) const {
    slice_look look = screen_look;
    look.width = size.width();
    look.height = size.height();
    look.text = std::round(screen_look.text * scale);
    look.line = std::max(1.0, std::round(scale));
    look.stretch = stretch;
    look.whole = zoom <= 1.0;  // the whole plane: its own extent, as --slice draws it
    const double wx = (shown.x1 - shown.x0) / (2.0 * zoom), wy = (shown.y1 - shown.y0) / (2.0 * zoom);
    look.x0 = centre_x - wx;
    look.x1 = centre_x + wx;
    look.y0 = centre_y - wy;
    look.y1 = centre_y + wy;
    return look;
}

// Where the picture on the screen's pixels puts the cells, in widget coordinates.
slice_view::frame slice_view::FRAME(QSize area) const {
    const double scale = devicePixelRatioF();
    const slice_frame f = SLICE_FRAME(shown, LOOK(QSize(static_cast<int>(std::lround(area.width() * scale)),
                                                         static_cast<int>(std::lround(area.height() * scale))),
                                                   scale));
    return {QRectF(f.left / scale, f.top / scale, (f.right - f.left) / scale, (f.bottom - f.top) / scale), f.x0, f.x1, f.y0,
            f.y1};
}

QRectF slice_view::CELL_RECT(const frame& f, int column, int row) const {
    const double da = (shown.x1 - shown.x0) / shown.shape.columns, du = (shown.y1 - shown.y0) / shown.shape.rows;
    const double sx = f.plot.width() / (f.x1 - f.x0), sy = f.plot.height() / (f.y1 - f.y0);
    const double left = f.plot.left() + (shown.x0 + (column - 1) * da - f.x0) * sx;
    const double top = f.plot.bottom() - (shown.y0 + row * du - f.y0) * sy;
    return {left, top, da * sx, du * sy};
}

bool slice_view::CELL_AT(QPointF w, int& column, int& row) const {
    if (grid == nullptr) return false;
    const frame f = FRAME(QWidget::size());
    if (!f.plot.contains(w)) return false;
    const double x = f.x0 + (w.x() - f.plot.left()) / f.plot.width() * (f.x1 - f.x0);
    const double y = f.y0 + (f.plot.bottom() - w.y()) / f.plot.height() * (f.y1 - f.y0);
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    const slice_size& shape = shown.shape;
    column = static_cast<int>(std::floor((x - shown.x0) / (shown.x1 - shown.x0) * shape.columns)) + 1;
    row = static_cast<int>(std::floor((y - shown.y0) / (shown.y1 - shown.y0) * shape.rows)) + 1;
    return column >= 1 && column <= shape.columns && row >= 1 && row <= shape.rows;
}

QPointF slice_view::CELL_CENTRE(int column, int row) const { return CELL_RECT(FRAME(QWidget::size()), column, row).center(); }

QString slice_view::READOUT(int column, int row) const {
    const slice_size& shape = shown.shape;
    const slice_cut& cut = shown.cut;
    if (grid == nullptr || column < 1 || column > shape.columns || row < 1 || row > shape.rows) return {};
    const grid_node n = SLICE_NODE(cut, column, row);
    std::string text = "x = " + SHORT_COORDINATE(NODE_COORDINATE(*grid, 'x', n.i), place_digits) + " cm, y = " +
                       SHORT_COORDINATE(NODE_COORDINATE(*grid, 'y', n.j), place_digits) + " cm, z = " +
                       SHORT_COORDINATE(NODE_COORDINATE(*grid, 'z', n.k), place_digits) + " cm (i, j, k = " + NUMBER_I(n.i) +
                       ", " + NUMBER_I(n.j) + ", " + NUMBER_I(n.k) + ") | " +
                       std::string(QUANTITY_NAME(cut.field, cut.quantity)) + " = " +
                       READOUT_VALUE(shown.values[static_cast<std::size_t>(row - 1) * static_cast<std::size_t>(shape.columns) +
                                            static_cast<std::size_t>(column - 1)]) +
                       " " + std::string(FIELD_ENTRY(cut.field).unit);
    return QString::fromStdString(text);
}

void slice_view::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PAINT(painter, QWidget::size());
}

bool slice_view::POINT_AT(QPointF w, point3& at) const {
    int column = 0, row = 0;
    if (shown.index_axes || !CELL_AT(w, column, row)) return false;
    const frame f = FRAME(QWidget::size());
    const slice_size& shape = shown.shape;
    const auto axis = [](char a) { return static_cast<std::size_t>(a - 'x'); };
    at[axis(shape.across)] = f.x0 + (w.x() - f.plot.left()) / f.plot.width() * (f.x1 - f.x0);
    at[axis(shape.up)] = f.y0 + (f.plot.bottom() - w.y()) / f.plot.height() * (f.y1 - f.y0);
    at[axis(shape.normal)] = NODE_COORDINATE(*grid, shape.normal, shown.cut.node);
    return true;
}

QString slice_view::POINTER_READOUT(QPointF w) const {
    const slice_cut& cut = shown.cut;
    point3 at{};
    // A difference of two maps is read at the nodes only.
    if (grid == nullptr || IS_DIFFERENCE(cut.quantity) || !POINT_AT(w, at)) return {};
    std::string place = " at (";
    for (std::size_t c = 0; c < 3; ++c) {
        place += SHORT_COORDINATE(at[c], 6);
        place += c < 2 ? ", " : ") cm";
    }
    const std::array<component_triple, 1> triple{FIELD_TRIPLE(*grid, cut.field)};
    std::array<double, 3> v{};
    if (!PROBE_AT(*grid, interpolation::cubic, at, triple, v.data()))
        return QString::fromStdString("cubic: no value outside the nodes" + place);
    const double value = cut.quantity == slice_quantity::magnitude ? std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])
                                                                   : v[static_cast<std::size_t>(cut.quantity)];
    std::string text = "cubic: ";
    text += QUANTITY_NAME(cut.field, cut.quantity);
    text += " = ";
    text += READOUT_VALUE(value);
    text += ' ';
    text += FIELD_ENTRY(cut.field).unit;
    return QString::fromStdString(text + place);
}

void slice_view::READ_AT(QPointF w) {
    int column = 0, row = 0;
    if (!CELL_AT(w, column, row)) column = row = 0;
    // The interpolated part follows the pointer within a cell; the outline only changes cells.
    if (on_readout && column > 0) {
        const QString between = POINTER_READOUT(w);
        on_readout(READOUT(column, row) + (between.isEmpty() ? QString() : QStringLiteral(" | ") + between));
    }
    if (column == hover_column && row == hover_row) return;
    hover_column = column;
    hover_row = row;
    update();
    if (on_readout && column == 0) on_readout(QString());
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
    if (hover_column > 0 && on_open_node) on_open_node(SLICE_NODE(shown.cut, hover_column, hover_row));
}

void slice_view::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && hover_column > 0 && on_open_node) {
        on_open_node(SLICE_NODE(shown.cut, hover_column, hover_row));
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
