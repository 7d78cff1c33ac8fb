#pragma once

#include <cstdint>

// A rectangle in pixels: left, top, right, bottom, as Win32 RECT holds it.
struct WindowRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool operator==(const WindowRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct OuterSize {
    int32_t width;
    int32_t height;
};
