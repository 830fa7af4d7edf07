// detail_window.cpp: the window around a detail chart: its menus and keys, the hover readout,
// the export of the shown profiles, and its closing with the window it was opened from.
#include "window/detail_window.h"

#include <QAction>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <vector>

#include "page/profiles_csv.h"
#include "window/detail_chart.h"
#include "window/file_dialog.h"

namespace orvex {

namespace {

bool IS_ESCAPE(const QEvent* e) {
    const auto* key = static_cast<const QKeyEvent*>(e);
    return key->key() == Qt::Key_Escape && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

class detail_window : public QMainWindow {
public:
    detail_window(const plotted_page& page, int panel, QWidget* parent, const map_pairing* compared)
        : QMainWindow(parent, Qt::Window) {
        setAttribute(Qt::WA_DeleteOnClose);
        // The window it was opened from decides when the application ends.
        setAttribute(Qt::WA_QuitOnClose, false);
        COPY_LINE(page, panel, line, compared);
        const plotted_panel& own = line.page.panels[static_cast<std::size_t>(panel - 1)];
        setWindowTitle(TRIMMED_TEXT(own.value_title) + QStringLiteral(" \u2014 ") + TRIMMED_TEXT(own.axis_title));
        if (parent != nullptr) {
            owner = parent->window();
            owner->installEventFilter(this);
        }
        QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
        QAction* close_action = new QAction(QStringLiteral("&Close\tEsc"), this);
        connect(close_action, &QAction::triggered, this, &QWidget::close);
        if (own.n <= 0) {
            file->addAction(close_action);
            auto* nothing = new QLabel(QStringLiteral("Line %1 gives no %2 profile: the map has no nodes along it.\n"
                                                      "There is nothing to show.")
                                           .arg(line.line)
                                           .arg(TRIMMED_TEXT(own.component_name)));
            nothing->setAlignment(Qt::AlignCenter);
            nothing->setMargin(24);
            setCentralWidget(nothing);
            return;
        }
        QChartView* view = BUILD_DETAIL_CHART(line, chart);
        view->viewport()->installEventFilter(this);
        setCentralWidget(view);

        QAction* export_action = file->addAction(QStringLiteral("&Export Profile..."));
        export_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
        connect(export_action, &QAction::triggered, this, [this] { EXPORT_PROFILE(); });
        file->addSeparator();
        file->addAction(close_action);

        QMenu* shown = menuBar()->addMenu(QStringLiteral("&View"));
        QAction* reset = shown->addAction(QStringLiteral("&Reset Zoom"));
        reset->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_0), QKeySequence(Qt::Key_R), QKeySequence(Qt::Key_Home)});
        connect(reset, &QAction::triggered, this, [this] { RESET_DETAIL_RANGES(line, chart); });
        shown->addSeparator();
        QToolBar* tools = addToolBar(QStringLiteral("Profile"));
        tools->setMovable(false);
        tools->addAction(reset);
        tools->addSeparator();
        for (int c = 1; c <= 3; ++c) {
            const plotted_panel& p = line.page.panels[static_cast<std::size_t>(3 * line.line - 4 + c)];
            QAction* toggle = shown->addAction(TRIMMED_TEXT(p.component_name));
            toggle->setCheckable(true);
            toggle->setChecked(c == line.own);
            toggle->setToolTip(QStringLiteral("Show %1 along this line").arg(TRIMMED_TEXT(p.component_name)));
            connect(toggle, &QAction::toggled, this, [this, c, toggle](bool on) { SHOW(c, on, toggle); });
            tools->addAction(toggle);
        }
        tools->addSeparator();
        tools->addAction(export_action);

        const QString files = line.compared ? QStringLiteral("%1 against %2").arg(QString::fromStdString(line.map_file),
                                                                                 QString::fromStdString(line.other_file))
                                            : QString::fromStdString(line.map_file);
        auto* source = new QLabel(QStringLiteral("%1   %2 %3")
                                      .arg(files)
                                      .arg(own.n)
                                      .arg(own.points != nullptr ? QStringLiteral("samples") : QStringLiteral("nodes")));
        statusBar()->addPermanentWidget(source);
        statusBar()->showMessage(QStringLiteral("Point at a node for its values. Drag a rectangle to zoom in, "
                                                "right-click to zoom out, R to reset."));
        view->setFocus();
    }

protected:
    // Esc is this window's own: it is claimed before any application-wide shortcut sees it.
    bool event(QEvent* e) override {
        if (e->type() == QEvent::ShortcutOverride && IS_ESCAPE(e)) {
            e->accept();
            return true;
        }
        return QMainWindow::event(e);
    }

    void keyPressEvent(QKeyEvent* e) override {
        if (IS_ESCAPE(e)) {
            close();
            return;
        }
        QMainWindow::keyPressEvent(e);
    }

    bool eventFilter(QObject* watched, QEvent* e) override {
        // Closed (hidden by the program, not minimised by the user) with its owner.
        if (watched == owner && e->type() == QEvent::Hide && !e->spontaneous()) {
            close();
        } else if (chart.view != nullptr && watched == chart.view->viewport() && e->type() == QEvent::MouseMove) {
            const auto* move = static_cast<const QMouseEvent*>(e);
            const QPoint at = move->position().toPoint();
            const QString tip = move->buttons() == Qt::NoButton ? NODE_TIP(line, chart, at) : QString();
            if (tip.isEmpty()) {
                QToolTip::hideText();
            } else {
                QToolTip::showText(chart.view->viewport()->mapToGlobal(at), tip, chart.view->viewport());
            }
        }
        return QMainWindow::eventFilter(watched, e);
    }

private:
    detail_line line;
    detail_chart chart;
    QPointer<QWidget> owner;

    void SHOW(int component, bool on, QAction* toggle) {
        int shown = 0;
        for (int c = 1; c <= 3; ++c) shown += COMPONENT_SHOWN(chart, c) ? 1 : 0;
        if (!on && shown == 1 && COMPONENT_SHOWN(chart, component)) {
            const QSignalBlocker quiet(toggle);
            toggle->setChecked(true);
            statusBar()->showMessage(QStringLiteral("One component at least stays shown."), 4000);
            return;
        }
        SHOW_COMPONENT(line, chart, component, on);
        RESET_DETAIL_RANGES(line, chart);
        // The title names what is shown: "Ex, Ez (V/cm) — Z (cm), X=Y=0".
        const plotted_panel& own = line.page.panels[static_cast<std::size_t>(line.panel - 1)];
        setWindowTitle(SHOWN_VALUE_TITLE(line, chart) + QStringLiteral(" \u2014 ") + TRIMMED_TEXT(own.axis_title));
    }

    // The panel's own component and the others shown, in component order.
    std::vector<int> EXPORTED_PANELS() const {
        std::vector<int> panels;
        for (int c = 1; c <= 3; ++c) {
            if (c == line.own || COMPONENT_SHOWN(chart, c)) panels.push_back(3 * line.line - 3 + c);
        }
        return panels;
    }

    void EXPORT_PROFILE() {
        // Named after the components shown: Ex_Ez_line3.csv.
        const QString suggested =
            QStringLiteral("%1_%2.csv").arg(SHOWN_COMPONENT_NAMES(line, chart).join(QLatin1Char('_')), LINE_WORDS(line).replace(QLatin1Char(' '), QString()));
        const QString name = ASK_FOR_FILE(this, QStringLiteral("Export Profile"), suggested, {QStringLiteral("CSV files (*.csv)")});
        if (name.isEmpty()) {
            statusBar()->showMessage(QStringLiteral("Nothing exported."), 4000);
            return;
        }
        const std::vector<int> panels = EXPORTED_PANELS();
        std::string why;
        if (!WRITE_PROFILES_CSV(QFile::encodeName(name).toStdString(), line.page, panels, &why)) {
            QMessageBox::warning(this, QStringLiteral("Export Profile"),
                                 QStringLiteral("The profile could not be written to %1:\n%2")
                                     .arg(QDir::toNativeSeparators(name), QString::fromLocal8Bit(why.c_str())));
            return;
        }
        statusBar()->showMessage(QStringLiteral("%1 profile%2 written to %3")
                                     .arg(panels.size())
                                     .arg(panels.size() == 1 ? QString() : QStringLiteral("s"))
                                     .arg(QDir::toNativeSeparators(QFileInfo(name).absoluteFilePath())));
    }
};

}  // namespace

QWidget* OPEN_DETAIL_WINDOW(const plotted_page& page, int panel, QWidget* parent, const map_pairing* compared) {
    if (panel < 1 || panel > panel_count) return nullptr;
    auto* window = new detail_window(page, panel, parent, compared);
    QSize size = page.panels[static_cast<std::size_t>(panel - 1)].n > 0 ? QSize(940, 700) : QSize(560, 200);
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) size = size.boundedTo(screen->availableGeometry().size() * 0.95);
    window->resize(size);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace orvex
