#pragma once

// What the window procedure reports to whoever keeps content in step with
// the window.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    virtual void OnWindowSized() = 0;
    virtual void OnWindowMoved() = 0;
};
