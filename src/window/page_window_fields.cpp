// page_window_fields.cpp: what the page window shows of the whole map: the slice window, a line
// through any node, and the switch between the map's two fields.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMessageBox>
#include <QStatusBar>

#include "page/page_readout.h"
#include "window/page_view.h"
#include "window/page_window.h"
#include "window/slice_window.h"

namespace orvex {

void page_window::BUILD_FIELD_MENU(QMenu* view_menu) {
    const bool have_map = shown.fields.map != nullptr && shown.plotted != nullptr;
    view_menu->addSeparator();
    QAction* slice = view_menu->addAction(QStringLiteral("&Slice..."));
    slice->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    slice->setEnabled(have_map);
    connect(slice, &QAction::triggered, this, [this] { OPEN_SLICE_WINDOW(); });
    QAction* line = view_menu->addAction(QStringLiteral("&Line Through Node..."));
    line->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
    line->setEnabled(have_map);
    connect(line, &QAction::triggered, this, [this] { ASK_NODE_LINE(); });

    view_menu->addSeparator();
    auto* group = new QActionGroup(this);
    const bool both = have_map && shown.fields.both_fields && shown.fields.draw_field != nullptr;
    for (int flag = 0; flag <= 1; ++flag) {
        const bool own = flag == shown.fields.field_flag;
        QString text = flag == 0 ? QStringLiteral("&Electric Field") : QStringLiteral("&Magnetic Field");
        // The entry of a field the map does not carry says why it is off.
        if (!own && !both) text += flag == 0 ? QStringLiteral(" (the map carries only the magnetic field)")
                                             : QStringLiteral(" (the map carries only the electric field)");
        QAction* field = view_menu->addAction(text);
        field->setShortcut(QKeySequence(Qt::CTRL | (flag == 0 ? Qt::Key_1 : Qt::Key_2)));
        field->setCheckable(true);
        field->setChecked(own);
        field->setEnabled(own || both);
        group->addAction(field);
        connect(field, &QAction::triggered, this, [this, flag] { SWITCH_FIELD(flag); });
        field_actions[static_cast<std::size_t>(flag)] = field;
    }
}

bool page_window::SWITCH_FIELD(int field_flag) {
    if (field_flag == shown.fields.field_flag) return true;
    std::string_view why = "the map carries only one field";
    if (!shown.fields.both_fields || shown.fields.draw_field == nullptr ||
        !shown.fields.draw_field(field_flag, &shown, &why)) {
        field_actions[static_cast<std::size_t>(shown.fields.field_flag)]->setChecked(true);
        SAY(QStringLiteral("The page cannot show that field: %1.").arg(QString::fromUtf8(why.data(), static_cast<qsizetype>(why.size()))));
        return false;
    }
    field_actions[static_cast<std::size_t>(field_flag)]->setChecked(true);
    view->SET_PAGE(PAGE_IMAGE_OF(shown.pixels), shown.list, shown.plotted);
    // The detail windows and the slice window follow: each shows the same place of the other field.
    REOPEN_DETAIL_WINDOWS(this, shown.plotted, *shown.fields.map, field_flag, shown.plotted->map_file, pairing.get());
    summary = QString::fromStdString(PAGE_SUMMARY(*shown.plotted));
    if (auto* open = dynamic_cast<slice_window*>(slices.data())) open->SET_FIELD(field_flag);
    statusBar()->showMessage(summary);
    return true;
}

QWidget* page_window::OPEN_SLICE_WINDOW() {
    if (shown.fields.map == nullptr || shown.plotted == nullptr) return nullptr;
    if (slices.isNull()) {
        auto* window = new slice_window(shown.fields.map, shown.fields.field_flag, shown.plotted->map_file, this);
        // Wide enough for the readout of the node and of the pointer's place.
        window->resize(QSize(1280, 720).boundedTo(size()));
        window->OFFER_FIELDS(shown.fields.both_fields && shown.fields.draw_field != nullptr,
                             [this](int flag) { SWITCH_FIELD(flag); });
        if (pairing != nullptr) window->SET_COMPARISON(pairing.get());
        slices = window;
    }
    slices->show();
    slices->raise();
    slices->activateWindow();
    return slices.data();
}

void page_window::ASK_NODE_LINE() {
    if (shown.fields.map == nullptr || shown.plotted == nullptr) return;
    orvex::ASK_NODE_LINE(*shown.fields.map, shown.fields.field_flag, shown.plotted->map_file, this, pairing.get());
}

}  // namespace orvex
