#pragma once

#include <windows.h>

#include <cstdint>

#include "window/window_rect.h"

// 96-DPI units to pixels at the system DPI, read once per process.
int32_t ScaleForDpi(int32_t value);

// The window size whose client area is width x height for these styles.
OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle);
