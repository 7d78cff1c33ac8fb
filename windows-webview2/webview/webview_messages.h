#pragma once

// Texts of the failures that end the host once the window exists.
namespace WebViewMessage {
inline const char* const EnvironmentFailed =
    "Failed to create the WebView2 environment. Check that the Microsoft Edge WebView2 runtime is installed and "
    "working, then run the app again.";
inline const char* const ControllerFailed =
    "Failed to create the WebView2 control. Check that the Microsoft Edge WebView2 runtime is installed and "
    "working, then run the app again.";
inline const char* const RuntimeTooOld =
    "The Microsoft Edge WebView2 runtime is too old for this app. Update it, then run the app again.";
}
