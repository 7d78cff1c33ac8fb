#pragma once

#include <cstdint>

// What the page may ask of the main window, in 96-DPI units.
class IWindowOperations {
public:
    virtual ~IWindowOperations() = default;
    virtual void SetFullscreen(bool on) = 0;
    // Sets the client area's size; ignored in full screen or below 1 x 1.
    virtual void SetWindowSize(int32_t width, int32_t height) = 0;
    // Moves the frame's top-left corner; ignored in full screen.
    virtual void SetWindowPosition(int32_t x, int32_t y) = 0;
    // {"type":"enable-close-request"}: the page will answer close requests.
    virtual void EnableCloseRequest() = 0;
    // {"type":"close"} (true) or {"type":"cancel-close"} (false).
    virtual void AnswerCloseRequest(bool close) = 0;
};
