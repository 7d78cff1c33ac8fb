#pragma once

// Texts of the WebView failures that end the host (the loader's before the
// window exists, the others after), and the busy page's question.
namespace WebViewMessage {
inline const char* const LoaderMissing =
    "Failed to load WebView2Loader.dll. Check the file is in the same folder as the app.";
inline const char* const LoaderIncomplete =
    "WebView2Loader.dll is damaged or too old. Replace it with the one that came with the app.";
inline const char* const EnvironmentFailed =
    "Failed to create the WebView2 environment. Check that the Microsoft Edge WebView2 runtime is installed and "
    "working, then run the app again.";
inline const char* const ControllerFailed =
    "Failed to create the WebView2 control. Check that the Microsoft Edge WebView2 runtime is installed and "
    "working, then run the app again.";
inline const char* const RuntimeStopped =
    "The Microsoft Edge WebView2 runtime stopped working. Run the app again; if this keeps happening, reinstall or "
    "repair the runtime.";
inline const char* const PageKeepsFailing =
    "The app's page crashed several times in a row and was closed. Run the app again.";
inline const char* const BusyPage =
    "The app is not responding. It may be busy loading or computing and answer again soon.\n\n"
    "Reload its page? What was not saved is lost. Choose No to wait.";
inline const char* const RuntimeTooOld =
    "The Microsoft Edge WebView2 runtime is too old for this app. Update it, then run the app again.";
}
