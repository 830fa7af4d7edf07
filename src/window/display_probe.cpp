// display_probe.cpp: trying the display before the toolkit starts.
#include "window/display_probe.h"

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <QString>
#include <QStringList>

#include <cstdlib>

namespace orvex {

namespace {

// The platform plugin chosen by PAGE_WINDOW_POSSIBLE, handed to the toolkit.
const char* window_platform = "xcb";

xcb_connection_t* trial_connection = nullptr;

bool SET_IN_ENVIRONMENT(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

bool PLATFORM_PLUGIN_PRESENT(const QString& pattern) {
    const QDir dir(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !dir.entryList(QStringList{pattern}, QDir::Files).isEmpty();
}

bool X_DISPLAY_WORKS() {
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    if (c == nullptr) return false;
    if (xcb_connection_has_error(c) != 0) {
        xcb_disconnect(c);
        return false;
    }
    RELEASE_TRIAL_CONNECTION();
    trial_connection = c;
    return true;
}

bool WAYLAND_DISPLAY_WORKS() {
    void* lib = dlopen("libwayland-client.so.0", RTLD_LAZY | RTLD_LOCAL);
    if (lib == nullptr) return false;
    using connect_fn = void* (*)(const char*);
    using disconnect_fn = void (*)(void*);
    auto connect = reinterpret_cast<connect_fn>(dlsym(lib, "wl_display_connect"));
    auto disconnect = reinterpret_cast<disconnect_fn>(dlsym(lib, "wl_display_disconnect"));
    bool ok = false;
    if (connect != nullptr && disconnect != nullptr) {
        void* display = connect(nullptr);
        ok = display != nullptr;
        if (ok) disconnect(display);
    }
    dlclose(lib);
    return ok;
}

}  // namespace

bool PAGE_WINDOW_POSSIBLE() {
    if (SET_IN_ENVIRONMENT("DISPLAY") && PLATFORM_PLUGIN_PRESENT(QStringLiteral("libqxcb*")) && X_DISPLAY_WORKS()) {
        window_platform = "xcb";
        return true;
    }
    if (SET_IN_ENVIRONMENT("WAYLAND_DISPLAY") && PLATFORM_PLUGIN_PRESENT(QStringLiteral("libqwayland*")) &&
        WAYLAND_DISPLAY_WORKS()) {
        window_platform = "wayland";
        return true;
    }
    return false;
}

const char* WINDOW_PLATFORM() { return window_platform; }

void RELEASE_TRIAL_CONNECTION() {
    if (trial_connection != nullptr) xcb_disconnect(trial_connection);
    trial_connection = nullptr;
}

}  // namespace orvex
