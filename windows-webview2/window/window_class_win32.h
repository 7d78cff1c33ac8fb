#pragma once

#include <windows.h>

#include <string>

#include "config/app_config.h"
#include "window/window_events.h"

extern const wchar_t* const MainWindowClassName;

// Who the window procedure tells of size and position changes; set only
// while the message loop runs.
void SetWindowEvents(IWindowEvents* events);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD MainWindowStyle(bool resizable);
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon);
// Created hidden, at the configured client size scaled for the system DPI.
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);
