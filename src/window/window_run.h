// window_run.h: the toolkit's life for one window: started, shown, waited on, ended.
//
// WHAT IT IS
//   RUN_PAGE_WINDOW starts the toolkit on the platform the display probe chose, shows the page
//   window maximised (covering the screen where no window manager maximises it) and returns 0
//   when the user closes it. The toolkit's own notes and warnings mean nothing to the user of a
//   finished run and are dropped; its errors reach standard error as one line each. If the
//   toolkit gives up before the window shows, the page is written as a PNG through the
//   content's writer, as without a display, and the process ends there (status 0, or 1 when
//   that fails); if the display goes away under the shown window, one line says so and the
//   process ends with status 1.
//
// HOW TO CALL IT
//   if (PAGE_WINDOW_POSSIBLE()) return RUN_PAGE_WINDOW(content);
//
// ASSUMES AND LIMITS
//   Called once per process, with PAGE_WINDOW_POSSIBLE() true; the content outlives the call.
#pragma once

#include "show/page_content.h"

namespace orvex {

int RUN_PAGE_WINDOW(const page_content& content);

}  // namespace orvex
