#pragma once

#include <string>

#include "webview/webview_contract.h"

// The WebView2 contract over Microsoft's SDK: "WebView2Loader.dll" is
// loaded by full path from the executable's folder, never from the search
// path.
class WebView2Loader : public IWebViewLoader {
public:
    // Throws WebViewError, with the text to show, when the library is
    // missing or lacks its exports.
    explicit WebView2Loader(const std::string& appFolder);

    bool HasBrowserVersion(const std::optional<std::string>& browserFolder) override;
    void CreateEnvironment(const std::optional<std::string>& browserFolder, const std::string& userDataFolder,
        const std::string& additionalBrowserArguments, WebViewCompletion<IWebViewEnvironment> completed) override;

private:
    using GetVersionFunction = long(__stdcall*)(const wchar_t*, wchar_t**);
    using CreateEnvironmentFunction = long(__stdcall*)(const wchar_t*, const wchar_t*, void*, void*);

    GetVersionFunction getVersion = nullptr;
    CreateEnvironmentFunction createEnvironment = nullptr;
};
