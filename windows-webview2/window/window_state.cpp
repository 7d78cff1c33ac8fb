#include "window/window_state.h"

namespace {

// WS_CAPTION | WS_THICKFRAME, and the edge extended styles.
const uint32_t FramedStyles = 0x00C40000;
const uint32_t EdgeExStyles = 0x00020301;

}

void WindowState::SetFullscreen(bool on)
{
    if (on == isFullscreen)
        return;
    isFullscreen = on;
    WindowRect target;
    if (on) {
        savedStyle = window.Style();
        savedExStyle = window.ExStyle();
        savedRect = window.Rect();
        window.SetStyles(savedStyle & ~FramedStyles, savedExStyle & ~EdgeExStyles);
        target = window.MonitorRect();
    } else {
        window.SetStyles(savedStyle, savedExStyle);
        target = savedRect;
    }
    window.Place(target);
    window.MarkFullscreen(on);
}

void WindowState::SetWindowSize(int32_t width, int32_t height)
{
    if (isFullscreen || width < 1 || height < 1)
        return;
    OuterSize outer = window.OuterSizeForClient(window.ScaleForDpi(width), window.ScaleForDpi(height), window.Style(),
        window.ExStyle());
    window.Resize(outer.width, outer.height);
}

void WindowState::SetWindowPosition(int32_t x, int32_t y)
{
    if (isFullscreen)
        return;
    window.Move(window.ScaleForDpi(x), window.ScaleForDpi(y));
}
