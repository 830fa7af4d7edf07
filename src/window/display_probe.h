// display_probe.h: whether a window can be shown at all, asked before anything of the toolkit
// starts, so a missing or broken display never aborts the process.
//
// WHAT IT IS
//   PAGE_WINDOW_POSSIBLE is true when a display is configured (DISPLAY or WAYLAND_DISPLAY), a
//   connection to it can be opened now, and the toolkit has a platform plugin to match. It
//   chooses that platform for the window (WINDOW_PLATFORM).
//
// HOW TO CALL IT
//   if (PAGE_WINDOW_POSSIBLE()) return RUN_PAGE_WINDOW(content);   // else write the PNG
//   and, once the toolkit has its own connection, RELEASE_TRIAL_CONNECTION().
//
// ASSUMES AND LIMITS
//   The X connection of the trial stays open until RELEASE_TRIAL_CONNECTION: a server whose
//   only client this is would otherwise reset when it closes and refuse the toolkit's
//   connection while it does. The Wayland client library is opened only when asked for.
#pragma once

namespace orvex {

bool PAGE_WINDOW_POSSIBLE();

// "xcb" or "wayland", as PAGE_WINDOW_POSSIBLE chose.
const char* WINDOW_PLATFORM();

void RELEASE_TRIAL_CONNECTION();

}  // namespace orvex
