#pragma once

#include <windows.h>

#include <cstdint>

#include "window/window_rect.h"

// 96-DPI units to pixels at the system DPI, read once per process.
int32_t ScaleForDpi(int32_t value);

// The window size whose client area is width x height for these styles.
OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle);

// The same for one window at its own DPI: its monitor's under per-monitor
// awareness, the system's otherwise (and on Windows before 10 1607, which
// lacks the per-window calls).
int32_t ScaleForWindowDpi(HWND window, int32_t value);
OuterSize OuterSizeForWindowDpi(HWND window, int32_t width, int32_t height, DWORD style, DWORD exStyle);

// Per-monitor (v2) awareness for the windows this thread creates from now
// on. The manifest's system awareness stays the process's; a thread may
// still choose its own. False where Windows lacks it (before 10 1703).
bool UsePerMonitorDpi();
