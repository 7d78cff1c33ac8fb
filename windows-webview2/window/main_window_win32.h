#pragma once

#include <windows.h>

#include <string>

struct AppConfig;
class CorvaneWebView;

extern const wchar_t* const MainWindowClassName;

// The WebView host that the window procedure keeps in step with the window;
// set only while the message loop runs.
void SetWindowHost(CorvaneWebView* host);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
DWORD MainWindowStyle(bool resizable);
bool RegisterMainWindowClass(HINSTANCE instance, HICON icon);
// Created hidden, at the configured client size scaled for the system DPI.
HWND CreateMainWindow(HINSTANCE instance, const AppConfig& config, const std::wstring& title);
