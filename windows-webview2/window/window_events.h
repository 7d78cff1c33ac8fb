#pragma once

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
};
