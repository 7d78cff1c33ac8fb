#pragma once

#include "window/window_rect.h"

// A monitor's whole area and its work area (without the taskbar and other
// desktop toolbars), in screen coordinates.
struct MonitorAreas {
    WindowRect monitor;
    WindowRect work;
};

// The system saves and restores a window's placement in workspace
// coordinates, which count from the work area of its monitor; moving a
// window and the monitors' areas count from the screen's origin. The two
// differ by where the work area lies within the monitor: a taskbar at the
// top or the left.
WindowRect WorkspaceToScreen(const WindowRect& rect, const MonitorAreas& areas);
WindowRect ScreenToWorkspace(const WindowRect& rect, const MonitorAreas& areas);
