// page_window.cpp: the Qt window of a run: the page above, the console listing below.
//
// The page is shown fit to the window by default, its aspect kept; View offers the actual size
// and zooming with the standard shortcuts, File saves the page as PNG and closes the window
// (Ctrl+Q, Ctrl+W and Esc close it too), Edit copies the page image. The status bar tells the
// user that the run is complete and how to close the window; closing it ends the program.
#include "window/page_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStatusBar>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "window/display_probe.h"
#include "window/page_view.h"

namespace orvex {

namespace {

// The PNG written instead of the window if the toolkit gives up before the window is shown.
std::string fallback_png;
const page_content* shown_content = nullptr;
bool window_shown = false;

// The toolkit's own debug notes and warnings (a missing runtime directory, an unknown theme)
// mean nothing to the user of a finished run and are dropped; errors reach standard error. A
// fatal error would abort the process: before the window is shown the page is written as a
// PNG instead, as without a display; afterwards the run ends with one line and status 1.
void TOOLKIT_MESSAGE(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    // One line: the toolkit's first.
    const QByteArray text = message.section(QLatin1Char('\n'), 0, 0).trimmed().toLocal8Bit();
    if (type != QtFatalMsg) {
        std::fprintf(stderr, "plot_orvex_3dfields: %s\n", text.constData());
        return;
    }
    if (window_shown || shown_content == nullptr || shown_content->write_png == nullptr) {
        std::fprintf(stderr, "plot_orvex_3dfields: the window failed: %s\n", text.constData());
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::string_view why;
    if (!shown_content->write_png(fallback_png, &why)) {
        std::fprintf(stderr, "plot_orvex_3dfields: the display cannot be used (%s) and the page cannot be written to %s: %.*s\n",
                     text.constData(), fallback_png.c_str(), static_cast<int>(why.size()), why.data());
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::fprintf(stderr, "plot_orvex_3dfields: the display cannot be used (%s); the page is written to %s\n",
                 text.constData(), fallback_png.c_str());
    std::fflush(stdout);
    std::_Exit(0);
}

// The toolkit ends the process itself, with a warning that is dropped above, when the display
// goes away under a shown window (the X server dies, the session ends). The run then still
// says in one line why it ended with status 1.
bool window_closed_by_user = false;

void SAY_WHY_THE_WINDOW_WENT() {
    if (window_shown && !window_closed_by_user) {
        std::fprintf(stderr, "plot_orvex_3dfields: the connection to the display was lost; the window is gone\n");
        std::fflush(stderr);
    }
}

QColor FROM_PACKED(packed_colour c) {
    return QColor(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
}

// The page as an image, one image pixel per page pixel.
QImage PAGE_IMAGE(std::span<const packed_colour> pixels) {
    QImage image(page_width, page_height, QImage::Format_RGB32);
    for (int y = 0; y < page_height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const packed_colour* row = pixels.data() + static_cast<std::size_t>(y) * page_width;
        for (int x = 0; x < page_width; ++x) {
            const packed_colour c = row[x];
            line[x] = qRgb(static_cast<int>(c & 0xFFu), static_cast<int>((c >> 8) & 0xFFu), static_cast<int>((c >> 16) & 0xFFu));
        }
    }
    return image;
}

class page_window : public QMainWindow {
public:
    explicit page_window(const page_content& content) : shown(content) {
        setWindowTitle(QString::fromUtf8(content.caption.data(), static_cast<qsizetype>(content.caption.size())));
        view = new page_view(PAGE_IMAGE(content.pixels));
        scroller = new QScrollArea;
        scroller->setBackgroundRole(QPalette::Dark);
        scroller->setAlignment(Qt::AlignCenter);
        scroller->setWidget(view);
        scroller->setWidgetResizable(true);

        auto* console_pane = new QPlainTextEdit;
        console_pane->setReadOnly(true);
        console_pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        console_pane->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QPalette colours = console_pane->palette();
        colours.setColor(QPalette::Base, Qt::black);
        colours.setColor(QPalette::Text, FROM_PACKED(content.console_text_colour));
        console_pane->setPalette(colours);
        // The listing is UTF-8, as the file names in it are.
        const std::string_view log = content.console_text;
        console_pane->setPlainText(QString::fromUtf8(log.data(), static_cast<qsizetype>(log.size())));

        // The console pane gets room for about a dozen records; the page takes the rest and
        // every later change of the window's height.
        auto* split = new QSplitter(Qt::Vertical);
        split->addWidget(scroller);
        split->addWidget(console_pane);
        split->setStretchFactor(0, 1);
        split->setStretchFactor(1, 0);
        split->setCollapsible(0, false);
        const int console_height = console_pane->fontMetrics().lineSpacing() * 12 + 2 * console_pane->frameWidth() + 8;
        split->setSizes({page_height, console_height});
        setCentralWidget(split);

        QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
        QAction* save = file->addAction(QStringLiteral("&Save Page As..."));
        // Desktops without a theme of their own have no standard Save As key.
        const QList<QKeySequence> save_keys = QKeySequence::keyBindings(QKeySequence::SaveAs);
        save->setShortcuts(save_keys.isEmpty() ? QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)}
                                               : save_keys);
        connect(save, &QAction::triggered, this, [this] { SAVE_PAGE_AS(); });
        file->addSeparator();
        QAction* close_action = file->addAction(QStringLiteral("&Close"));
        close_action->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Q), QKeySequence(Qt::CTRL | Qt::Key_W),
                                    QKeySequence(Qt::Key_Escape)});
        close_action->setShortcutContext(Qt::ApplicationShortcut);
        connect(close_action, &QAction::triggered, this, &QWidget::close);

        QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
        QAction* copy = edit->addAction(QStringLiteral("&Copy Page"));
        copy->setShortcut(QKeySequence::Copy);
        connect(copy, &QAction::triggered, this, [this] { QGuiApplication::clipboard()->setImage(view->page); });

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
        zoom_in->setShortcuts(QKeySequence::keyBindings(QKeySequence::ZoomIn) + QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Equal)});
        connect(zoom_in, &QAction::triggered, this, [this] { SHOW_AT(CURRENT_SCALE() * 1.25); });
        QAction* zoom_out = zoom->addAction(QStringLiteral("Zoom &Out"));
        zoom_out->setShortcut(QKeySequence::ZoomOut);
        connect(zoom_out, &QAction::triggered, this, [this] { SHOW_AT(CURRENT_SCALE() / 1.25); });

        statusBar()->showMessage(
            QStringLiteral("The run is complete. Close this window to end it: File > Close, Ctrl+Q, Ctrl+W or Esc."));
        view->setFocus();
    }

private:
    const page_content& shown;
    page_view* view = nullptr;
    QScrollArea* scroller = nullptr;
    QAction* fit_action = nullptr;

    double CURRENT_SCALE() const {
        return view->fit ? view->FIT_SCALE(scroller->viewport()->size()) : view->scale;
    }

    void SHOW_FIT() {
        view->fit = true;
        fit_action->setChecked(true);
        scroller->setWidgetResizable(true);
        view->update();
    }

    // Shows the page at scale s (kept between 1/8 and 8), scrollable.
    void SHOW_AT(double s) {
        view->fit = false;
        view->scale = std::clamp(s, 0.125, 8.0);
        fit_action->setChecked(false);
        scroller->setWidgetResizable(false);
        view->resize(static_cast<int>(page_width * view->scale), static_cast<int>(page_height * view->scale));
        view->update();
    }

    void SAVE_PAGE_AS() {
        const QString start = QDir::current().filePath(QString::fromUtf8(shown.png_name.data(), static_cast<qsizetype>(shown.png_name.size())));
        QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Save Page As"), start,
                                                    QStringLiteral("PNG images (*.png)"));
        if (name.isEmpty()) return;
        if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".png");
        const std::string path = QFile::encodeName(name).toStdString();
        std::string_view why;
        if (shown.write_png == nullptr || !shown.write_png(path, &why)) {
            QMessageBox::warning(this, QStringLiteral("Save Page As"),
                                 QStringLiteral("The page could not be saved to %1: %2")
                                     .arg(name, QString::fromLocal8Bit(why.data(), static_cast<qsizetype>(why.size()))));
        } else {
            statusBar()->showMessage(QStringLiteral("The page is saved to %1. Close the window to end the run: "
                                                    "Ctrl+Q, Ctrl+W or Esc.").arg(name));
        }
    }
};

}  // namespace

int RUN_PAGE_WINDOW(const page_content& content) {
    std::fflush(stdout);
    shown_content = &content;
    fallback_png = std::string(content.png_name);
    // QApplication keeps argc and argv for its whole life.
    static char program[] = "plot_orvex_3dfields";
    static char platform_option[] = "-platform";
    static std::array<char, 16> platform{};
    std::snprintf(platform.data(), platform.size(), "%s", WINDOW_PLATFORM());
    static char* argv[] = {program, platform_option, platform.data(), nullptr};
    static int argc = 3;
    qInstallMessageHandler(TOOLKIT_MESSAGE);
    QApplication app(argc, argv);
    RELEASE_TRIAL_CONNECTION();
    page_window window(content);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        // Without a window manager "maximised" means nothing; the window then still covers
        // the screen.
        window.resize(screen->availableGeometry().size());
    }
    std::atexit(SAY_WHY_THE_WINDOW_WENT);
    window.showMaximized();
    window_shown = true;
    QApplication::exec();
    window_closed_by_user = true;
    return 0;
}

}  // namespace orvex
