#include "window/window_icon_win32.h"

#include <gdiplus.h>

#include "common/paths_win32.h"

HICON LoadIconFromFile(const std::string& path)
{
    std::wstring widePath = CompatiblePlatformPath(path);
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(widePath.c_str(), &bitmap) != Gdiplus::Ok)
        return nullptr;
    HICON icon = nullptr;
    Gdiplus::Status status = Gdiplus::DllExports::GdipCreateHICONFromBitmap(bitmap, &icon);
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return status == Gdiplus::Ok ? icon : nullptr;
}
