#pragma once

#include <string>

#include "config/app_config.h"

// The browser arguments the environment is created with: the app's
// "chromium-args" as written, then each switch the host's settings add
// that the app has not set itself (the app's own value wins), and under
// Wine last the app's "wine-browser-arguments", each switch not set yet.
std::string BrowserArgumentsFor(const AppConfig& config, bool underWine);

// The runtime reads this variable for the colour of its first frames,
// before the controller exists; "FFrrggbb" (alpha, red, green, blue).
inline constexpr const char* BackgroundColourVariable = "WEBVIEW2_DEFAULT_BACKGROUND_COLOR";
std::string BackgroundColourValue(uint32_t colour);
