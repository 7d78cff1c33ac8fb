#pragma once

#include <memory>

#include <WebView2.h>

#include "webview/webview_contract.h"

// The runtime's environment behind the contract; null for no environment.
// Everything reached from it (controller, WebView, settings, event
// arguments) is wrapped the same way.
std::shared_ptr<IWebViewEnvironment> WrapEnvironment(ICoreWebView2Environment* environment);
