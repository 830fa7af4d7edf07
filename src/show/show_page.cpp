// show_page.cpp: the end of a run that drew a page: a window when there is a display, the PNG
// file otherwise.
#include "show/show_page.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>  // program_invocation_short_name
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "console/console.h"
#include "console/module_open.h"
#include "surface/display_list.h"
#include "surface/png_output.h"
#include "surface/surface.h"
#include "show/page_content.h"
#include "show/window_module.h"

namespace orvex {

namespace {

bool SET_IN_ENVIRONMENT(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

// The window (the toolkit's event loop, fonts, dialogs) needs descriptors of its own: with too
// few the toolkit's libraries abort the process with a trap. 32 is several times what a window
// with a file dialog open takes.
constexpr int window_descriptors = 32;

// How many descriptors can still be opened, counted up to wanted.
int FREE_DESCRIPTORS(int wanted) {
    std::vector<int> taken;
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    while (fd >= 0) {
        taken.push_back(fd);
        if (static_cast<int>(taken.size()) == wanted) break;
        fd = ::fcntl(taken.front(), F_DUPFD_CLOEXEC, 0);
    }
    for (const int t : taken) ::close(t);
    return static_cast<int>(taken.size());
}

// True when the window has the descriptors it needs, after raising the soft limit toward the
// hard one if that helps; else why not.
bool DESCRIPTORS_FOR_WINDOW(std::string& why) {
    int free = FREE_DESCRIPTORS(window_descriptors);
    if (free >= window_descriptors) return true;
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, limit.rlim_cur + window_descriptors);
        if (::setrlimit(RLIMIT_NOFILE, &limit) == 0) free = FREE_DESCRIPTORS(window_descriptors);
        if (free >= window_descriptors) return true;
    }
    why = "too few file descriptors for the window (" + std::to_string(free) + " free, it needs " +
          std::to_string(window_descriptors) + "; see ulimit -n)";
    return false;
}

}  // namespace

int SHOW_PAGE(std::string_view png_name, std::span<const std::string_view> notes, const plotted_page* plotted,
              const page_fields& fields, const page_figures& figures) {
    const std::string name(png_name);
    // What the line that names the written page says first: why there is no window.
    std::string no_window = "no display";
    if (SET_IN_ENVIRONMENT("DISPLAY") || SET_IN_ENVIRONMENT("WAYLAND_DISPLAY")) {
        const module_opening opened =
            DESCRIPTORS_FOR_WINDOW(no_window) ? OPEN_MODULE(window_module_file, window_module_entry) : module_opening{};
        if (const auto entry = reinterpret_cast<window_entry>(opened.entry)) {
            const window_requests& requests = WINDOW_REQUESTS();
            page_content content;
            content.pixels = PAGE_PIXELS();
            content.list = &DISPLAY_LIST();
            content.plotted = plotted;
            content.caption = requests.plot_caption.data();
            content.console_text = CONSOLE_LOG();
            content.console_text_colour = requests.console_text_colour;
            content.notes = notes;
            content.png_name = png_name;
            content.png_texts = PAGE_PNG_TEXTS();
            content.fields = fields;
            content.figures = figures;
            const int status = entry(&content);
            if (status != window_not_possible) return status;
            no_window = "the display cannot be reached";
        } else if (!opened.path.empty()) {
            no_window = "cannot open the window module " + VISIBLE_TEXT(opened.path) + ": " + VISIBLE_TEXT(opened.why);
        }
    }
    std::string_view why;
    if (!WRITE_PAGE_PNG(name, &why)) {
        std::fprintf(stderr, "%s: cannot write the page to %s: %.*s\n", program_invocation_short_name, name.c_str(),
                     static_cast<int>(why.size()), why.data());
        return 1;
    }
    // The full path: a user who started the run elsewhere (or gave a directory) finds the page.
    std::error_code no_cwd;
    const std::filesystem::path written = std::filesystem::absolute(name, no_cwd);
    std::fprintf(stderr, "%s: %s; the page is written to %s\n", program_invocation_short_name, no_window.c_str(),
                 VISIBLE_TEXT(no_cwd ? name : written.string()).c_str());
    return 0;
}

}  // namespace orvex
