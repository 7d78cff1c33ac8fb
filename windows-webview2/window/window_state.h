#pragma once

#include <cstdint>

#include "window/main_window.h"
#include "window/window_operations.h"
#include "window/window_rect.h"

// The window operations over the main window: full screen drops the frame
// and covers the monitor, and leaving it restores the styles and the
// placement saved on entry, so a maximised window comes back maximised.
class WindowState : public IWindowOperations {
public:
    explicit WindowState(IMainWindow& mainWindow) : window(mainWindow) {}

    void SetFullscreen(bool on) override;
    void SetWindowSize(int32_t width, int32_t height) override;
    void SetWindowPosition(int32_t x, int32_t y) override;
    bool IsFullscreen() const { return isFullscreen; }

private:
    IMainWindow& window;
    bool isFullscreen = false;
    uint32_t savedStyle = 0;
    uint32_t savedExStyle = 0;
    WindowPlacement savedPlacement;
};
