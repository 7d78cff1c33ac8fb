#pragma once

#include <optional>
#include <string>

#include "config/app_config.h"

// The runtime's folder for the distribution mode: none for the evergreen
// runtime, "webview2" in the executable's folder for a fixed one. Never the
// current directory, which would lose a shipped runtime when the app is
// started from elsewhere and let another folder plant one.
inline std::optional<std::string> BrowserFolderFor(DistributionMode mode, const std::string& appFolder)
{
    if (mode == DistributionMode::Fixed)
        return appFolder + "webview2";
    return std::nullopt;
}
