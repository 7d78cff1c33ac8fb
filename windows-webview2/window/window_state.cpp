#include "window/window_state.h"

namespace {

// WS_CAPTION | WS_THICKFRAME, and the edge extended styles.
const uint32_t FramedStyles = 0x00C40000;
const uint32_t EdgeExStyles = 0x00020301;
// WS_MAXIMIZE | WS_MINIMIZE: window state, which the placement restores.
const uint32_t StateStyles = 0x21000000;

}

void WindowState::SetFullscreen(bool on)
{
    if (on == isFullscreen)
        return;
    isFullscreen = on;
    if (on) {
        savedStyle = window.Style();
        savedExStyle = window.ExStyle();
        savedPlacement = window.Placement();
        window.SetStyles(savedStyle & ~FramedStyles, savedExStyle & ~EdgeExStyles);
        window.Place(window.MonitorRect());
    } else {
        window.SetStyles(savedStyle & ~StateStyles, savedExStyle);
        window.RestorePlacement(savedPlacement);
    }
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
