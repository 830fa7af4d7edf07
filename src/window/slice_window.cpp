// slice_window.cpp: the slice window: its controls, keys and menus, and the node under the
// pointer opened as profiles.
#include "window/slice_window.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

#include "field/compare.h"
#include "window/slice_view.h"

namespace orvex {

namespace {

bool IS_ESCAPE(const QEvent* e) {
    const auto* key = static_cast<const QKeyEvent*>(e);
    return key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

QString SAME_SCALE_TIP() {
    return QStringLiteral("The same number of pixels per cm across and up; off: the plane fills the window (Ctrl+T)");
}

}  // namespace

slice_window::slice_window(const full_map* grid_in, int field_flag, std::string_view map_file_in, QWidget* parent)
    : QMainWindow(parent, Qt::Window), grid(grid_in), map_file(map_file_in) {
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_QuitOnClose, false);
    if (parent != nullptr) {
        owner = parent->window();
        owner->installEventFilter(this);
    }
    view = new slice_view;
    BUILD_CONTROLS();
    BUILD_MENUS();
    view->on_readout = [this](const QString& text) {
        if (text.isEmpty()) statusBar()->clearMessage(); else statusBar()->showMessage(text);
    };
    view->on_open_node = [this](grid_node n) { OPEN_NODE(n); };
    // The XY plane at the node nearest z = 0, component z; the magnitude where that component
    // is zero everywhere on the plane (an odd Ez at z = 0), so the first view is never blank.
    slice_cut first{slice_plane::xy, NEAREST_NODE_AT(*grid, 'z', 0.0), slice_quantity::z, field_flag};
    SET_CUT(first);
    if (view->ZERO_EVERYWHERE()) {
        first.quantity = slice_quantity::magnitude;
        SET_CUT(first);
    }
    source = new QLabel(QString::fromStdString(map_file));
    statusBar()->addPermanentWidget(source);
    view->setFocus();
}

void slice_window::BUILD_CONTROLS() {
    plane_box = new QComboBox;
    for (const slice_plane p : {slice_plane::xy, slice_plane::xz, slice_plane::yz})
        plane_box->addItem(QStringLiteral("%1 plane").arg(QString::fromLatin1(PLANE_NAME(p).data(), 2)));
    quantity_box = new QComboBox;
    for (int q = 1; q <= 4; ++q) quantity_box->addItem(QString());
    node_slider = new QSlider(Qt::Horizontal);
    node_slider->setMinimumWidth(160);
    node_box = new QSpinBox;
    node_place = new QLabel;
    node_place->setMinimumWidth(130);
    // The control row's face of View > Same Scale: one option, one name, one sense.
    same_scale = new QCheckBox(QStringLiteral("Same scale"));
    same_scale->setChecked(true);
    same_scale->setToolTip(SAME_SCALE_TIP());
    for (QWidget* w : std::initializer_list<QWidget*>{plane_box, quantity_box, node_slider, node_box, same_scale}) w->setFocusPolicy(Qt::ClickFocus);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("Plane")));
    row->addWidget(plane_box);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Node")));
    row->addWidget(node_slider, 1);
    row->addWidget(node_box);
    row->addWidget(node_place);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Quantity")));
    row->addWidget(quantity_box);
    row->addSpacing(12);
    row->addWidget(same_scale);
    auto* centre = new QWidget;
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(6, 6, 6, 0);
    column->addLayout(row);
    column->addWidget(view, 1);
    setCentralWidget(centre);

    connect(plane_box, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating) return;
        slice_cut cut = CUT();
        cut.plane = static_cast<slice_plane>(index);
        // The XZ and YZ planes open through the axis, as the XY plane opens at z = 0.
        cut.node = NEAREST_NODE_AT(*grid, SLICE_SIZE(*grid, cut.plane).normal, 0.0);
        SET_CUT(cut);
    });
    connect(quantity_box, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (updating) return;
        slice_cut cut = CUT();
        cut.quantity = static_cast<slice_quantity>(index);
        SET_CUT(cut);
    });
    const auto to_node = [this](int node) {
        if (updating) return;
        slice_cut cut = CUT();
        cut.node = node;
        SET_CUT(cut);
    };
    connect(node_slider, &QSlider::valueChanged, this, to_node);
    connect(node_box, &QSpinBox::valueChanged, this, to_node);
}

void slice_window::BUILD_MENUS() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* export_action = file->addAction(QStringLiteral("&Export Slice..."));
    export_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    connect(export_action, &QAction::triggered, this, [this] { EXPORT_SLICE(); });
    QAction* save = file->addAction(QStringLiteral("&Save Image..."));
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { SAVE_IMAGE(); });
    file->addSeparator();
    QAction* close_action = file->addAction(QStringLiteral("&Close"));
    close_action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_W)});
    connect(close_action, &QAction::triggered, this, &QWidget::close);

    QMenu* shown = menuBar()->addMenu(QStringLiteral("&View"));
    view_menu = shown;
    same_scale_action = shown->addAction(QStringLiteral("&Same Scale"));
    same_scale_action->setCheckable(true);
    same_scale_action->setChecked(true);
    same_scale_action->setToolTip(SAME_SCALE_TIP());
    same_scale_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(same_scale_action, &QAction::toggled, this, [this](bool on) {
        view->SET_STRETCH(!on);
        const QSignalBlocker quiet(same_scale);
        same_scale->setChecked(on);
    });
    // The user's choice holds from then on; until then each plane opens as suits it.
    connect(same_scale_action, &QAction::triggered, this, [this] { scale_chosen = true; });
    connect(same_scale, &QCheckBox::clicked, this, [this](bool on) {
        scale_chosen = true;
        same_scale_action->setChecked(on);
    });
    QAction* symmetric = shown->addAction(QStringLiteral("S&ymmetric Colour Range"));
    symmetric->setCheckable(true);
    symmetric->setToolTip(QStringLiteral("Colour a component from -m to m about zero even where it keeps one sign"));
    connect(symmetric, &QAction::toggled, this, [this](bool on) { view->SET_SYMMETRIC(on); });
    QAction* zoom_in = shown->addAction(QStringLiteral("Zoom &In"));
    zoom_in->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn) + QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoom_in, &QAction::triggered, this, [this] { view->ZOOM_BY(1.25); });
    QAction* zoom_out = shown->addAction(QStringLiteral("Zoom &Out"));
    zoom_out->setShortcut(QKeySequence::ZoomOut);
    connect(zoom_out, &QAction::triggered, this, [this] { view->ZOOM_BY(1.0 / 1.25); });
    QAction* reset = shown->addAction(QStringLiteral("&Reset Zoom"));
    reset->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(reset, &QAction::triggered, this, [this] { view->RESET_ZOOM(); });
    shown->addSeparator();
    QAction* next_plane = shown->addAction(QStringLiteral("Next &Plane"));
    next_plane->setShortcut(QKeySequence(Qt::Key_P));
    connect(next_plane, &QAction::triggered, this, [this] { plane_box->setCurrentIndex((plane_box->currentIndex() + 1) % 3); });
    QAction* next_quantity = shown->addAction(QStringLiteral("Next &Quantity"));
    next_quantity->setShortcut(QKeySequence(Qt::Key_Q));
    connect(next_quantity, &QAction::triggered, this,
            [this] { quantity_box->setCurrentIndex((quantity_box->currentIndex() + 1) % quantity_box->count()); });
    const struct { const char* text; Qt::Key key; int steps; } moves[] = {
        {"Next Node", Qt::Key_PageUp, 1}, {"Previous Node", Qt::Key_PageDown, -1},
        {"First Node", Qt::Key_Home, -100000}, {"Last Node", Qt::Key_End, 100000}};
    for (const auto& m : moves) {
        QAction* move = shown->addAction(QString::fromLatin1(m.text));
        move->setShortcut(QKeySequence(m.key));
        move->setShortcutContext(Qt::WindowShortcut);
        const int steps = m.steps;
        connect(move, &QAction::triggered, this, [this, steps] { STEP_NODE(steps); });
    }
}

void slice_window::OFFER_FIELDS(bool both_fields, std::function<void(int)> switch_field) {
    view_menu->addSeparator();
    for (int flag = 0; flag <= 1; ++flag) {
        QAction* field = view_menu->addAction(flag == 0 ? QStringLiteral("&Electric Field") : QStringLiteral("&Magnetic Field"));
        field->setShortcut(QKeySequence(Qt::CTRL | (flag == 0 ? Qt::Key_1 : Qt::Key_2)));
        field->setEnabled(both_fields || flag == CUT().field);
        connect(field, &QAction::triggered, this, [switch_field, flag] { switch_field(flag); });
    }
}

const slice_cut& slice_window::CUT() const { return view->CUT(); }

void slice_window::SET_COMPARISON(const map_pairing* p) {
    compared = p;
    source->setText(compared == nullptr ? QString::fromStdString(map_file)
                                        : QStringLiteral("%1 against %2").arg(QString::fromStdString(map_file),
                                                                               QString::fromStdString(compared->other_file)));
    SET_CUT(CUT());
    REOPEN_DETAIL_WINDOWS(this, nullptr, *grid, CUT().field, map_file, compared);
}

void slice_window::SET_CUT(const slice_cut& asked) {
    slice_cut cut = asked;
    cut.compared = compared;
    if (compared == nullptr) cut.quantity = MAP_QUANTITY(cut.quantity);
    cut.node = std::clamp(cut.node, 1, std::max(1, AXIS_NODES(*grid, SLICE_SIZE(*grid, cut.plane).normal)));
    const bool new_plane = !cut_shown || view->CUT().plane != cut.plane;
    cut_shown = true;
    view->SET_SLICE(grid, cut);
    // A plane of a long map drawn to scale is a strip a few pixels high: it opens stretched.
    if (new_plane && !scale_chosen) same_scale_action->setChecked(!view->STRIP_TO_SCALE());
    SHOW_CUT();
}

void slice_window::SET_FIELD(int field_flag) {
    slice_cut cut = CUT();
    cut.field = field_flag;
    SET_CUT(cut);
    REOPEN_DETAIL_WINDOWS(this, nullptr, *grid, field_flag, map_file, compared);
}

void slice_window::STEP_NODE(int steps) {
    slice_cut cut = CUT();
    cut.node += steps;
    SET_CUT(cut);
}

// The controls, the caption and the node's place follow the cut shown.
void slice_window::SHOW_CUT() {
    const slice_cut& cut = CUT();
    const slice_size size = SLICE_SIZE(*grid, cut.plane);
    updating = true;
    plane_box->setCurrentIndex(static_cast<int>(cut.plane));
    // The map's quantities, then with another map their differences.
    const int quantities = compared != nullptr ? quantity_count : map_quantity_count;
    while (quantity_box->count() > quantities) quantity_box->removeItem(quantity_box->count() - 1);
    while (quantity_box->count() < quantities) quantity_box->addItem(QString());
    for (int q = 0; q < quantities; ++q) {
        const std::string_view name = QUANTITY_NAME(cut.field, static_cast<slice_quantity>(q));
        quantity_box->setItemText(q, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    }
    quantity_box->setCurrentIndex(static_cast<int>(cut.quantity));
    const int count = AXIS_NODES(*grid, size.normal);
    node_slider->setRange(1, count);
    node_slider->setPageStep(std::max(1, count / 20));
    node_slider->setValue(cut.node);
    node_box->setRange(1, count);
    node_box->setPrefix(QStringLiteral("%1 = ").arg(QLatin1Char(size.normal == 'x' ? 'i' : size.normal == 'y' ? 'j' : 'k')));
    node_box->setValue(cut.node);
    node_place->setText(QStringLiteral("%1 = %2 cm").arg(QLatin1Char(size.normal)).arg(
        QString::fromStdString(SHORT_COORDINATE(NODE_COORDINATE(*grid, size.normal, cut.node), place_digits))));
    updating = false;
    setWindowTitle(QString::fromStdString(SLICE_TITLE(*grid, cut)));
}

void slice_window::OPEN_NODE(grid_node n) {
    const int component = std::min(static_cast<int>(MAP_QUANTITY(CUT().quantity)) + 1, 3);
    int shift = 0;
    for (const char axis : {'x', 'y', 'z'}) {
        QWidget* line = OPEN_NODE_LINE(*grid, CUT().field, map_file, axis, n, component, this, compared);
        if (line != nullptr) line->move(line->pos() + QPoint(shift, shift));
        shift += 36;
    }
}

bool slice_window::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && IS_ESCAPE(e)) {
        e->accept();
        return true;
    }
    return QMainWindow::event(e);
}

void slice_window::keyPressEvent(QKeyEvent* e) {
    if (IS_ESCAPE(e)) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(e);
}

bool slice_window::eventFilter(QObject* watched, QEvent* e) {
    // Closed (hidden by the program, not minimised by the user) with the window it came from.
    if (watched == owner && e->type() == QEvent::Hide && !e->spontaneous()) close();
    return QMainWindow::eventFilter(watched, e);
}

}  // namespace orvex
