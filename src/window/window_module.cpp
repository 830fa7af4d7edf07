// window_module.cpp: the one entry of the window module.
#include "window/display_probe.h"
#include "show/window_module.h"
#include "window/window_run.h"

extern "C" __attribute__((visibility("default"))) int orvex_page_window_entry_4(const orvex::page_content* content) {
    if (content == nullptr || !orvex::PAGE_WINDOW_POSSIBLE()) return orvex::window_not_possible;
    return orvex::RUN_PAGE_WINDOW(*content);
}
