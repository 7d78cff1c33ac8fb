#include "window/dpi_win32.h"

#include "window/dpi_scale.h"

namespace {

float SystemDpiFactor()
{
    static float factor = 0.0f;
    if (factor == 0.0f) {
        HDC screen = GetDC(nullptr);
        factor = static_cast<float>(GetDeviceCaps(screen, LOGPIXELSX)) / 96.0f;
        ReleaseDC(nullptr, screen);
    }
    return factor;
}

}

int32_t ScaleForDpi(int32_t value)
{
    return ScaleByFactor(value, SystemDpiFactor());
}

OuterSize OuterSizeForClient(int32_t width, int32_t height, DWORD style, DWORD exStyle)
{
    RECT rect = {0, 0, width, height};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}
