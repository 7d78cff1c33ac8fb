#pragma once

// The main window as the platform knows it (an HWND on Windows).
using NativeWindow = void*;
