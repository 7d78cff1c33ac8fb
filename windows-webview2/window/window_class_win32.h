#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

#include "config/app_config.h"
#include "window/window_events.h"

extern const wchar_t* const MainWindowClassName;
// Posted to the main window for work that must wait until the current
// callback has returned to the message loop.
inline constexpr UINT PostedWorkMessage = WM_APP + 1;
// The timer that bounds the page's answer to a close request.
inline constexpr UINT_PTR CloseTimerId = 1;
// The window property that names the running copy of an executable
// (its value: the instance lock's hash), for a second start to find it.
extern const wchar_t* const InstanceProperty;

// Who the window procedure tells of size and position changes; set only
// while the message loop runs.
void SetWindowEvents(IWindowEvents* events);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD MainWindowStyle(bool resizable);
// A window class with the app's icon, the arrow cursor and a system colour
// (COLOR_WINDOW, COLOR_MENU, ...) as background; true when registered.
bool RegisterAppWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, int colour);
// The app's background colour (0xRRGGBB) or, without one, the system's
// window colour.
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon, const std::optional<uint32_t>& background);
// Created hidden, at the configured client size (raised to the minimum)
// scaled for the system DPI.
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);
