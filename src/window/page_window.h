// page_window.h: the desktop window that shows the finished page and the console listing.
//
// WHAT IT IS
//   One maximised window captioned with the content's caption: the page above (fit to the
//   window by default; View offers 1:1 and zoom), the console listing below in the content's
//   text colour on black, a status bar saying how to end the run. File saves the page as PNG and
//   closes the window (Ctrl+Q, Ctrl+W and Esc close it too); Edit copies the page image.
//   Closing the window ends the program with status 0.
//
// HOW TO CALL IT
//   if (PAGE_WINDOW_POSSIBLE()) return RUN_PAGE_WINDOW(content);
//
// ASSUMES AND LIMITS
//   PAGE_WINDOW_POSSIBLE() was true. If the toolkit still gives up before the window shows, the
//   page is written to content.png_name as without a display and the process ends there (status
//   0, or 1 when that fails); if the display goes away under the shown window, one line on
//   standard error says so and the process ends with status 1. The toolkit's own notes and
//   warnings are dropped; its errors reach standard error as one line each. These files and the
//   other window files are the only code that includes Qt.
#pragma once

#include "window/page_content.h"

namespace orvex {

int RUN_PAGE_WINDOW(const page_content& content);

}  // namespace orvex
