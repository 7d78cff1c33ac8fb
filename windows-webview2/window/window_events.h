#pragma once

#include "window/window_rect.h"

// What the window procedure reports to whoever keeps content in step with
// the window.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    virtual void OnWindowSized(bool minimized) = 0;
    virtual void OnWindowMoved() = 0;
    // The message that IMainWindow::PostWork posted has arrived.
    virtual void OnPostedWork() = 0;
    // The window became the active one (not minimised) or took the focus.
    virtual void OnWindowActivated() = 0;
    // The window is being destroyed but still exists: whatever lives in it
    // must be let go now.
    virtual void OnWindowDestroying() = 0;
    // The close box, Alt+F4, the taskbar or the end of the session asks the
    // window to close: true lets it close now.
    virtual bool OnCloseRequested() = 0;
    // The same at the end of the Windows session, which waits for the page
    // only briefly.
    virtual bool OnSessionEnding() = 0;
    virtual void OnCloseTimeout() = 0;
    // The page has been asked whether to close and has not answered.
    virtual bool IsAwaitingPageClose() = 0;
    // The smallest frame the player may size the window to (0: no limit).
    virtual OuterSize MinimumFrameSize() = 0;
    // WM_DPICHANGED with the system's suggested frame.
    virtual void OnDpiChanged(const WindowRect& suggested) = 0;
};
