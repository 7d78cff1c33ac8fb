#pragma once

#include <cstdint>
#include <string>

#include "window/native_window.h"
#include "window/window_rect.h"

// The main window as the WebView host acts on it. The Win32 layer
// implements it over the real window; native tests use a model.
// Where a window sits when it is not minimised or maximised (in screen
// coordinates), and whether it is maximised, as the system saves and
// restores it.
struct WindowPlacement {
    bool maximized = false;
    WindowRect normal;
};

class IMainWindow {
public:
    virtual ~IMainWindow() = default;
    virtual NativeWindow Handle() = 0;
    virtual WindowRect ClientRect() = 0;
    // The outer frame in screen coordinates.
    virtual WindowRect Rect() = 0;
    // The whole rectangle of the monitor nearest to the window.
    virtual WindowRect MonitorRect() = 0;
    virtual uint32_t Style() = 0;
    virtual uint32_t ExStyle() = 0;
    virtual void SetStyles(uint32_t style, uint32_t exStyle) = 0;
    // Moves and sizes the frame after a style change, without touching the
    // z-order or activating the window.
    virtual void Place(const WindowRect& rect) = 0;
    virtual void Resize(int32_t width, int32_t height) = 0;
    virtual void Move(int32_t x, int32_t y) = 0;
    virtual OuterSize OuterSizeForClient(int32_t width, int32_t height, uint32_t style, uint32_t exStyle) = 0;
    virtual int32_t ScaleForDpi(int32_t value) = 0;
    // Tells the taskbar to stay below a full-screen window (or not).
    virtual void MarkFullscreen(bool on) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    // Shows and paints the window.
    virtual void Show() = 0;
    // Shows it maximised, as the player left it.
    virtual void ShowMaximized() = 0;
    // Whatever launched the program asked for a minimised window (a
    // shortcut set to "Minimized", "start /min").
    virtual bool LaunchedMinimized() = 0;
    // Shows it minimised, not activated.
    virtual void ShowMinimized() = 0;
    // Asks the window to close, as its close box does, once the current
    // callback has returned to the message loop.
    virtual void Close() = 0;
    virtual WindowPlacement Placement() = 0;
    // Puts the window back as saved, without showing a hidden window.
    virtual void RestorePlacement(const WindowPlacement& placement) = 0;
    // Posts a message that comes back as IWindowEvents::OnPostedWork once
    // the current callback has returned to the message loop.
    virtual void PostWork() = 0;
    // IWindowEvents::OnCloseTimeout after this long, until stopped.
    virtual void StartCloseTimer(uint32_t milliseconds) = 0;
    virtual void StopCloseTimer() = 0;
};
