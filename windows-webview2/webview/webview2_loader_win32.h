#pragma once

#include <string>

#include "webview_contract.h"

class ResourceServer;

// The WebView2 contract over Microsoft's SDK: "WebView2Loader.dll" is
// loaded by full path from the executable's folder, never from the search
// path; resource answers get their body streams from the resource server.
class WebView2Loader : public IWebViewLoader {
public:
    // Throws StartupFailure when the library is missing or lacks its exports.
    WebView2Loader(const std::string& appFolder, ResourceServer& resources);

    bool HasBrowserVersion(const std::optional<std::string>& browserFolder) override;
    void CreateEnvironment(const std::optional<std::string>& browserFolder, const std::string& userDataFolder,
        const std::string& additionalBrowserArguments, WebViewCompletion<IWebViewEnvironment> completed) override;

private:
    using GetVersionFunction = long(__stdcall*)(const wchar_t*, wchar_t**);
    using CreateEnvironmentFunction = long(__stdcall*)(const wchar_t*, const wchar_t*, void*, void*);

    ResourceServer& resources;
    GetVersionFunction getVersion = nullptr;
    CreateEnvironmentFunction createEnvironment = nullptr;
};
