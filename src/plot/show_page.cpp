// show_page.cpp: the end of a run that drew a page: a window when there is a display, the PNG
// file otherwise.
#include "show_page.h"

#include <cstdio>
#include <string>

#if ORVEX_WITH_WINDOW
#include "page_window.h"
#endif

namespace orvex {

int SHOW_PAGE(std::string_view png_name) {
#if ORVEX_WITH_WINDOW
    if (PAGE_WINDOW_POSSIBLE()) return RUN_PAGE_WINDOW(png_name);
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
