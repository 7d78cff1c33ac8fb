#pragma once

#include <string>

// The runtime installer's error boxes, captioned with the app's title.
namespace InstallerMessage {
inline constexpr const char* CommonControlsFailed = "Failed to initialize common controls";
inline constexpr const char* UserDataFolderFailed = "Failed to create user data directory";
inline constexpr const char* RegisterClassFailed = "Failed to register window class";
inline constexpr const char* CreateWindowFailed = "Failed to create window";
inline constexpr const char* BootstrapperStalled =
    "The WebView2 runtime's installer has not finished after ten minutes, and is no longer waited for. Under Wine or "
    "Proton it may never finish.";
// Added to the app's offer to install the runtime when the host runs under
// Wine or Proton.
inline constexpr const char* WineRuntimeNote =
    "Under Wine or Proton the WebView2 runtime may not install, or may show no page. A game can ship a fixed-version "
    "runtime with it instead.";
}

// The offer to install the runtime: the app's own text, and under Wine a
// word on what to expect there.
inline std::string RuntimeOffer(const std::string& installMessage, bool underWine)
{
    return underWine ? installMessage + "\n\n" + InstallerMessage::WineRuntimeNote : installMessage;
}
