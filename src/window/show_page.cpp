// show_page.cpp: the end of a run that drew a page: a window when there is a display, the PNG
// file otherwise.
#include "window/show_page.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "console/console.h"
#include "plot/display_list.h"
#include "plot/plotted_page.h"
#include "plot/png_output.h"
#include "plot/surface.h"
#include "window/page_content.h"
#include "window/window_module.h"

namespace orvex {

namespace {

bool SET_IN_ENVIRONMENT(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

// The window module's entry, or nullptr with the loader's reason in why.
window_entry OPEN_WINDOW_MODULE(std::string& why) {
    void* module = dlopen(window_module_file, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        // The loader's reason when the module was found but could not be loaded (the toolkit's
        // libraries missing, say) says more than a later "not found" in the install directory.
        const char* error = dlerror();
        why = error != nullptr ? error : "not found";
#ifdef ORVEX_WINDOW_MODULE_DIR
        module = dlopen(ORVEX_WINDOW_MODULE_DIR "/plot_orvex_3dfields_window.so", RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr && why.find("No such file") != std::string::npos) {
            error = dlerror();
            if (error != nullptr) why = error;
        }
#endif
    }
    if (module == nullptr) return nullptr;
    auto entry = reinterpret_cast<window_entry>(dlsym(module, window_module_entry));
    if (entry == nullptr) why = "it is from another build of the program";
    return entry;
}

}  // namespace

int SHOW_PAGE(std::string_view png_name, std::span<const std::string_view> notes) {
    const std::string name(png_name);
    // What the line that names the written page says first: why there is no window.
    std::string no_window = "no display";
    if (SET_IN_ENVIRONMENT("DISPLAY") || SET_IN_ENVIRONMENT("WAYLAND_DISPLAY")) {
        std::string why;
        if (const window_entry entry = OPEN_WINDOW_MODULE(why)) {
            const window_requests& requests = WINDOW_REQUESTS();
            const plotted_page& plotted = PLOTTED_PAGE();
            page_content content;
            content.pixels = PAGE_PIXELS();
            content.list = &DISPLAY_LIST();
            content.plotted = plotted.panels[0].panel != 0 ? &plotted : nullptr;
            content.caption = requests.plot_caption.data();
            content.console_text = CONSOLE_LOG();
            content.console_text_colour = requests.console_text_colour;
            content.notes = notes;
            content.png_name = png_name;
            content.write_png = WRITE_PAGE_PNG;
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
