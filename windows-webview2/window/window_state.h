#pragma once

#include <cstdint>

#include "window/main_window.h"
#include "window/window_rect.h"

// The window operations over the main window: full screen drops the frame
// and covers the monitor, and leaving it restores the styles and the
// placement saved on entry, so a maximised window comes back maximised.
class WindowState {
public:
    explicit WindowState(IMainWindow& mainWindow) : window(mainWindow) {}

    void SetFullscreen(bool on);
    // Full screen over a window that leaves it for this placement (the
    // remembered one, maximised or not).
    void SetFullscreenFrom(const WindowPlacement& windowed);
    // Sets the client area's size, raised to the minimum when there is one;
    // ignored in full screen or below 1 x 1 (96-DPI units).
    void SetWindowSize(int32_t width, int32_t height);
    // Moves the frame's top-left corner; ignored in full screen.
    void SetWindowPosition(int32_t x, int32_t y);
    bool IsFullscreen() const { return isFullscreen; }

    // The smallest client area the player may size the window to, in
    // 96-DPI units; 0 leaves that side free.
    void SetMinimumClientSize(int32_t width, int32_t height);
    // That minimum as a frame size at the window's DPI, for
    // WM_GETMINMAXINFO; 0 where there is none.
    OuterSize MinimumFrameSize();
    // Full screen before the window is first shown: leaving it later gives
    // the window's size centred on its monitor.
    void StartFullscreen();
    // The window moved to a monitor of another DPI: the system's suggested
    // frame, or the new monitor's whole area in full screen.
    void ApplyDpiChange(const WindowRect& suggested);
    // Where the window is when it is not full screen: its own placement,
    // or the one full screen will restore.
    WindowPlacement WindowedPlacement();

private:
    IMainWindow& window;
    bool isFullscreen = false;
    uint32_t savedStyle = 0;
    uint32_t savedExStyle = 0;
    WindowPlacement savedPlacement;
    int32_t minimumWidth = 0;
    int32_t minimumHeight = 0;
};
