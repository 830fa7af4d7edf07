// show_page.cpp: the end of a run that drew a page: a window when there is a display, the PNG
// file otherwise.
#include "window/show_page.h"

#include <cstdio>
#include <string>

#include "console/console.h"
#include "plot/png_output.h"
#include "plot/surface.h"
#include "window/page_content.h"

#if ORVEX_WITH_WINDOW
#include "window/display_probe.h"
#include "window/page_window.h"
#endif

namespace orvex {

int SHOW_PAGE(std::string_view png_name) {
#if ORVEX_WITH_WINDOW
    if (PAGE_WINDOW_POSSIBLE()) {
        const window_requests& requests = WINDOW_REQUESTS();
        page_content content;
        content.pixels = PAGE_PIXELS();
        content.caption = requests.plot_caption.data();
        content.console_text = CONSOLE_LOG();
        content.console_text_colour = requests.console_text_colour;
        content.png_name = png_name;
        content.write_png = WRITE_PAGE_PNG;
        return RUN_PAGE_WINDOW(content);
    }
#endif
    const std::string name(png_name);
    std::string_view why;
    if (!WRITE_PAGE_PNG(name, &why)) {
        std::fprintf(stderr, "plot_orvex_3dfields: cannot write the page to %s: %.*s\n", name.c_str(),
                     static_cast<int>(why.size()), why.data());
        return 1;
    }
    std::fprintf(stderr, "plot_orvex_3dfields: no display; the page is written to %s\n", name.c_str());
    return 0;
}

}  // namespace orvex
