// show_page.cpp: the end of a run that drew a page: a window when there is a display, the PNG
// file otherwise.
#include "show/show_page.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "console/console.h"
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

// Where the window module may be, in order: beside the program as installed (lib/... next to
// its bin/), through the program's run path and the loader's own search, in the build tree the
// program was built in, and in the directory it was installed to (for other programs built
// against the installed library). The run path alone is not enough: a loader wrapped by a
// sanitizer searches as the sanitizer's library, which has none.
std::vector<std::string> MODULE_CANDIDATES() {
    std::vector<std::string> places;
    std::error_code no_path;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", no_path);
    if (!no_path) places.push_back((program.parent_path() / ORVEX_WINDOW_MODULE_FROM_BIN / window_module_file).string());
    places.emplace_back(window_module_file);
    places.push_back(std::string(ORVEX_WINDOW_MODULE_BUILD_DIR "/") + window_module_file);
    places.push_back(std::string(ORVEX_WINDOW_MODULE_DIR "/") + window_module_file);
    return places;
}

// The window module's entry, or nullptr with the loader's reason in why: the first reason that
// is not "no such file" (a module found but not loadable, its toolkit missing, says most).
window_entry OPEN_WINDOW_MODULE(std::string& why) {
    void* module = nullptr;
    for (const std::string& place : MODULE_CANDIDATES()) {
        module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module != nullptr) break;
        const char* error = dlerror();
        const std::string reason = error != nullptr ? error : "not found";
        if (why.empty() || (why.find("No such file") != std::string::npos && reason.find("No such file") == std::string::npos))
            why = reason;
    }
    if (module == nullptr) return nullptr;
    auto entry = reinterpret_cast<window_entry>(dlsym(module, window_module_entry));
    if (entry == nullptr) why = "it is from another build of the program";
    return entry;
}

}  // namespace

int SHOW_PAGE(std::string_view png_name, std::span<const std::string_view> notes, const plotted_page* plotted) {
    const std::string name(png_name);
    // What the line that names the written page says first: why there is no window.
    std::string no_window = "no display";
    if (SET_IN_ENVIRONMENT("DISPLAY") || SET_IN_ENVIRONMENT("WAYLAND_DISPLAY")) {
        std::string why;
        if (const window_entry entry = OPEN_WINDOW_MODULE(why)) {
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
            const int status = entry(&content);
            if (status != window_not_possible) return status;
            no_window = "the display cannot be reached";
        } else {
            no_window = "the window cannot be opened (" + VISIBLE_TEXT(why) + ")";
        }
    }
    std::string_view why;
    if (!WRITE_PAGE_PNG(name, &why)) {
        std::fprintf(stderr, "plot_orvex_3dfields: cannot write the page to %s: %.*s\n", name.c_str(),
                     static_cast<int>(why.size()), why.data());
        return 1;
    }
    // The full path: a user who started the run elsewhere (or gave a directory) finds the page.
    std::error_code no_cwd;
    const std::filesystem::path written = std::filesystem::absolute(name, no_cwd);
    std::fprintf(stderr, "plot_orvex_3dfields: %s; the page is written to %s\n", no_window.c_str(),
                 VISIBLE_TEXT(no_cwd ? name : written.string()).c_str());
    return 0;
}

}  // namespace orvex
