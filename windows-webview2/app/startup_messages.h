#pragma once

// Texts of the start-up failures that end the host (or, for the bundle, only warn).
namespace StartupMessage {
inline const char* const LoadPackage = "Failed to load package.json. Check the file is in the same folder as the app.";
inline const char* const ParsePackage =
    "Failed to parse package.json. Check the file has valid JSON and that all parameters are correct.";
inline const char* const FixedRuntimeMissing =
    "This app is set to \"fixed\" distribution mode, but the WebView2 control failed to initialize. Check there is "
    "a valid fixed distribution of Microsoft Edge WebView2 runtime in the \"webview2\" subfolder.";
inline const char* const BundleUnreadable = "Error reading asset bundle";
inline const char* const RegisterClassFailed = "Failed to register window class";
inline const char* const CreateWindowFailed = "Failed to create window";
}
