// page_window.cpp: the window of a run: the page, the notes, the listing, and what the user
// does with them.
#include "window/page_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

#include "page/page_readout.h"
#include "window/figures_window.h"
#include "window/file_dialog.h"
#include "window/track_window.h"
#include "window/page_view.h"
#include "window/qt_forms.h"

namespace orvex {

// The page as an image, one image pixel per page pixel.
QImage PAGE_IMAGE_OF(std::span<const packed_colour> pixels) {
    QImage image(page_width, page_height, QImage::Format_RGB32);
    for (int y = 0; y < page_height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const packed_colour* row = pixels.data() + static_cast<std::size_t>(y) * page_width;
        for (int x = 0; x < page_width; ++x) line[x] = FROM_PACKED(row[x]).rgb();
    }
    return image;
}

namespace {

// The notes, each once, one a line.
QString NOTES_TEXT(std::span<const std::string_view> notes) {
    QStringList lines;
    for (const std::string_view note : notes) {
        const QString line = QStringLiteral("Note: ") + FROM_UTF8(note);
        if (!lines.contains(line)) lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

constexpr int console_lines_shown = 12;  // what the pane asks for in a window with room
constexpr int console_lines_kept = 3;    // what it keeps in a small window

}  // namespace

page_window::page_window(const page_content& content) : shown(content) {
    setWindowTitle(FROM_UTF8(content.caption));
    // The run's inputs, which no file saved from the window may replace: the map and the
    // control file of the working directory.
    KEEP_FROM_DIALOGS({content.plotted != nullptr ? FROM_UTF8(content.plotted->map_file) : QString(),
                       QStringLiteral("plot_orvex_3dfields.dat")});
    view = new page_view(PAGE_IMAGE_OF(content.pixels), content.list, content.plotted);
    scroller = new QScrollArea;
    scroller->setBackgroundRole(QPalette::Dark);
    scroller->setAlignment(Qt::AlignCenter);
    scroller->setWidget(view);
    scroller->setWidgetResizable(true);

    notes_strip = new QLabel(NOTES_TEXT(content.notes));
    notes_strip->setWordWrap(true);
    notes_strip->setTextInteractionFlags(Qt::TextSelectableByMouse);
    notes_strip->setStyleSheet(QStringLiteral("QLabel { background: #fff4c2; color: #4a3b00; padding: 4px; }"));
    notes_strip->setVisible(!content.notes.empty());

    console_pane = new QPlainTextEdit;
    console_pane->setReadOnly(true);
    console_pane->setLineWrapMode(QPlainTextEdit::NoWrap);
    console_pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    QPalette colours = console_pane->palette();
    colours.setColor(QPalette::Base, Qt::black);
    colours.setColor(QPalette::Text, FROM_PACKED(content.console_text_colour));
    console_pane->setPalette(colours);
    // The listing is UTF-8, as the file names in it are.
    console_pane->setPlainText(FROM_UTF8(content.console_text));
    const int line = console_pane->fontMetrics().lineSpacing();
    console_pane->setMinimumHeight(line * console_lines_kept + 2 * console_pane->frameWidth() + 8);

    auto* lower = new QWidget;
    auto* lower_layout = new QVBoxLayout(lower);
    lower_layout->setContentsMargins(0, 0, 0, 0);
    lower_layout->setSpacing(0);
    lower_layout->addWidget(notes_strip);
    lower_layout->addWidget(console_pane, 1);

    split = new QSplitter(Qt::Vertical);
    split->addWidget(scroller);
    split->addWidget(lower);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 0);
    split->setCollapsible(0, false);
    split->setCollapsible(1, false);
    connect(split, &QSplitter::splitterMoved, this, [this] { console_dragged = true; });
    split->installEventFilter(this);
    setCentralWidget(split);

    view->on_readout = [this](const QString& readout) { SHOW_READOUT(readout); };
    view->on_zoom_at = [this](double factor, QPointF page_point) {
        const QPointF in_viewport = view->mapTo(scroller->viewport(), view->WIDGET_POINT(page_point));
        ZOOM_ABOUT(factor, page_point, in_viewport);
    };
    view->on_open_panel = [this](int panel) { OPEN_PANEL(panel); };

    BUILD_MENUS();
    summary = content.plotted != nullptr
                  ? QString::fromStdString(PAGE_SUMMARY(*content.plotted))
                  : QStringLiteral("The picture is complete. Close this window to end the run: Ctrl+Q or Ctrl+W.");
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& now) {
        if (now.isEmpty()) statusBar()->showMessage(summary);  // a confirmation ran out
    });
    statusBar()->showMessage(summary);
    view->setFocus();
}

void page_window::BUILD_MENUS() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* save = file->addAction(QStringLiteral("&Save Page As..."));
    // Desktops without a theme of their own have no standard Save As key.
    const QList<QKeySequence> save_keys = QKeySequence::keyBindings(QKeySequence::SaveAs);
    save->setShortcuts(save_keys.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)} : save_keys);
    connect(save, &QAction::triggered, this, [this] { SAVE_PAGE_AS(); });
    QAction* export_csv = file->addAction(QStringLiteral("&Export Profiles..."));
    export_csv->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    export_csv->setEnabled(shown.plotted != nullptr);
    connect(export_csv, &QAction::triggered, this, [this] { EXPORT_PROFILES(); });
    QAction* export_map = file->addAction(QStringLiteral("Export &Map..."));
    export_map->setEnabled(shown.fields.map != nullptr);
    connect(export_map, &QAction::triggered, this, [this] { EXPORT_MAP(); });
    QAction* compare = file->addAction(QStringLiteral("Compare &With..."));
    compare->setToolTip(QStringLiteral("Read the map of another directory and show its differences from this one"));
    compare->setEnabled(shown.fields.map != nullptr && shown.plotted != nullptr && shown.fields.load_other != nullptr);
    connect(compare, &QAction::triggered, this, [this] { ASK_COMPARE(); });
    file->addSeparator();
    QAction* close_action = file->addAction(QStringLiteral("&Close"));
    close_action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W)});
    close_action->setShortcutContext(Qt::WindowShortcut);
    connect(close_action, &QAction::triggered, this, &QWidget::close);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    QAction* copy = edit->addAction(QStringLiteral("&Copy"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WindowShortcut);
    connect(copy, &QAction::triggered, this, [this] { COPY(); });

    QMenu* zoom = menuBar()->addMenu(QStringLiteral("&View"));
    fit_action = zoom->addAction(QStringLiteral("&Fit to Window"));
    fit_action->setCheckable(true);
    fit_action->setChecked(true);
    fit_action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(fit_action, &QAction::triggered, this, [this](bool on) {
        if (on) SHOW_FIT(); else SHOW_AT(1.0);
    });
    QAction* actual = zoom->addAction(QStringLiteral("&Actual Size (1:1)"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    connect(actual, &QAction::triggered, this, [this] { SHOW_AT(1.0); });
    QAction* zoom_in = zoom->addAction(QStringLiteral("Zoom &In"));
    // Ctrl+= too: the key that carries + without Shift on most layouts.
    zoom_in->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn) +
                          QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoom_in, &QAction::triggered, this, [this] { ZOOM_KEEPING_CENTRE(1.25); });
    QAction* zoom_out = zoom->addAction(QStringLiteral("Zoom &Out"));
    zoom_out->setShortcut(QKeySequence::ZoomOut);
    connect(zoom_out, &QAction::triggered, this, [this] { ZOOM_KEEPING_CENTRE(1.0 / 1.25); });
    zoom->addSeparator();
    QAction* detail = zoom->addAction(QStringLiteral("Open Panel in Detail Window"));
    detail->setToolTip(QStringLiteral("Double-click a panel, or press Enter while the pointer is on it"));
    detail->setEnabled(shown.plotted != nullptr);
    // Enter opens the panel under the pointer whatever has the focus (the listing, the notes).
    detail->setShortcuts({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
    detail->setShortcutContext(Qt::WindowShortcut);
    connect(detail, &QAction::triggered, this, [this] {
        if (view->PANEL_UNDER_POINTER() > 0) OPEN_PANEL(view->PANEL_UNDER_POINTER());
        else SAY(QStringLiteral("Point at a panel first, then press Enter or double-click it."));
    });
    BUILD_FIELD_MENU(zoom);
    zoom->addSeparator();
    QAction* figures = zoom->addAction(QStringLiteral("F&igures..."));
    figures->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    figures->setEnabled(shown.fields.map != nullptr);
    connect(figures, &QAction::triggered, this, [this] { OPEN_FIGURES_WINDOW(shown, this); });
    QAction* track = zoom->addAction(QStringLiteral("&Track a Particle..."));
    track->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    track->setEnabled(shown.fields.map != nullptr);
    connect(track, &QAction::triggered, this, [this] { OPEN_TRACK_WINDOW(shown, this); });
}

void page_window::SHOW_FIT() {
    fit_action->setChecked(true);
    scroller->setWidgetResizable(true);
    view->SET_SCALE(true, view->SCALE());
}

// Shows the page at scale s (kept between 1/8 and 8), scrollable.
void page_window::SHOW_AT(double s) {
    fit_action->setChecked(false);
    scroller->setWidgetResizable(false);
    view->SET_SCALE(false, s);
}

void page_window::ZOOM_ABOUT(double factor, QPointF page_point, QPointF viewport_point) {
    SHOW_AT(view->SCALE() * factor);
    // The page point goes back under viewport_point: scroll so that its new place lies there.
    const QPointF now = view->WIDGET_POINT(page_point);
    scroller->horizontalScrollBar()->setValue(static_cast<int>(std::lround(now.x() - viewport_point.x())));
    scroller->verticalScrollBar()->setValue(static_cast<int>(std::lround(now.y() - viewport_point.y())));
}

void page_window::ZOOM_KEEPING_CENTRE(double factor) {
    const QWidget* port = scroller->viewport();
    const QPointF centre(port->width() / 2.0, port->height() / 2.0);
    ZOOM_ABOUT(factor, view->PAGE_POINT(view->mapFrom(port, centre)), centre);
}

void page_window::SHOW_READOUT(const QString& readout) {
    statusBar()->showMessage(readout.isEmpty() ? summary : readout);
}

void page_window::SAY(const QString& confirmation) { statusBar()->showMessage(confirmation, 6000); }

void page_window::COPY() {
    if (console_pane->hasFocus() && console_pane->textCursor().hasSelection()) {
        console_pane->copy();
        SAY(QStringLiteral("The selected listing text is copied."));
        return;
    }
    QGuiApplication::clipboard()->setImage(view->PAGE_IMAGE());
    SAY(QStringLiteral("The page is copied as an image of %1 x %2 pixels.").arg(page_width).arg(page_height));
}

// The listing gives its height up to the page: it takes what the page, fit to the window's
// width, leaves over, up to a dozen lines, and never less than three; once its divider is
// dragged, the user decides.
void page_window::FIT_CONSOLE_HEIGHT() {
    if (console_dragged) return;
    const int total = split->height() - split->handleWidth();
    if (total <= 0) return;
    const int line = console_pane->fontMetrics().lineSpacing();
    const int notes = notes_strip->isVisible() ? notes_strip->heightForWidth(split->width()) : 0;
    const int frame = 2 * console_pane->frameWidth() + 8;
    const int least = line * console_lines_kept + frame + notes;
    const int most = line * console_lines_shown + frame + notes;
    const int page_wants = static_cast<int>(std::ceil(scroller->width() * static_cast<double>(page_height) / page_width)) + 4;
    const int lower = std::clamp(total - page_wants, least, std::max(least, most));
    split->setSizes({total - lower, lower});
}

// After the splitter's own resize (it shares out its new height by itself first), the
// listing's share is set again.
bool page_window::eventFilter(QObject* watched, QEvent* event) {
    if (watched == split && event->type() == QEvent::Resize) QTimer::singleShot(0, this, [this] { FIT_CONSOLE_HEIGHT(); });
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace orvex
