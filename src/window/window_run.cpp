// window_run.cpp: the toolkit started for the page window, its messages, and the ways the
// window can end.
#include "window/window_run.h"

#include <QApplication>
#include <QLocale>
#include <QScreen>

#include <array>
#include <cerrno>  // program_invocation_short_name
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "surface/png_encode.h"
#include "window/display_probe.h"
#include "window/page_window.h"

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
    if (window_shown || shown_content == nullptr || shown_content->pixels.empty()) {
        std::fprintf(stderr, "plot_orvex_3dfields: the window failed: %s\n", text.constData());
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::string why;
    if (!WRITE_PNG_FILE(fallback_png, shown_content->pixels, page_width, page_height, shown_content->png_texts, &why)) {
        std::fprintf(stderr, "%s: the display cannot be used (%s) and the page cannot be written to %s: %s\n",
                     program_invocation_short_name, text.constData(), fallback_png.c_str(), why.c_str());
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::fprintf(stderr, "%s: the display cannot be used (%s); the page is written to %s\n", program_invocation_short_name,
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

}  // namespace

int RUN_PAGE_WINDOW(const page_content& content) {
    std::fflush(stdout);
    shown_content = &content;
    // The full path, as the line that names a written page gives it.
    std::error_code no_cwd;
    const std::filesystem::path absolute = std::filesystem::absolute(std::string(content.png_name), no_cwd);
    fallback_png = no_cwd ? std::string(content.png_name) : absolute.string();
    // QApplication keeps argc and argv for its whole life.
    static char program[] = "plot_orvex_3dfields";
    static char platform_option[] = "-platform";
    static std::array<char, 16> platform{};
    std::snprintf(platform.data(), platform.size(), "%s", WINDOW_PLATFORM());
    static char* argv[] = {program, platform_option, platform.data(), nullptr};
    static int argc = 3;
    qInstallMessageHandler(TOOLKIT_MESSAGE);
    QApplication app(argc, argv);
    // The toolkit takes the user's locale from the environment; the windows' spin boxes and
    // fields write and read numbers in the one form the program writes them in.
    QLocale::setDefault(QLocale::c());
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
