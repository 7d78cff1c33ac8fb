#pragma once

#include <windows.h>

#include <string>

#include "config/app_config.h"
#include "window/window_events.h"

extern const wchar_t* const MainWindowClassName;
// Posted to the main window for work that must wait until the current
// callback has returned to the message loop.
inline constexpr UINT PostedWorkMessage = WM_APP + 1;

// Who the window procedure tells of size and position changes; set only
// while the message loop runs.
void SetWindowEvents(IWindowEvents* events);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD MainWindowStyle(bool resizable);
// A window class with the app's icon, the arrow cursor and a system colour
// (COLOR_WINDOW, COLOR_MENU, ...) as background; true when registered.
bool RegisterAppWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON icon, int colour);
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon);
// Created hidden, at the configured client size scaled for the system DPI.
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);
