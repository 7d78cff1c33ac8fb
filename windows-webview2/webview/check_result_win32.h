#pragma once

#include <windows.h>

#include "webview/webview_error.h"

// For the runtime calls whose failure the host cannot go on from.
inline void CheckResult(HRESULT result, const char* what)
{
    if (FAILED(result))
        throw WebViewError(what);
}
