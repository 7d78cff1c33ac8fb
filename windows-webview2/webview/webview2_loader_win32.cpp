#include "webview/webview2_loader_win32.h"

#include <windows.h>

#include <WebView2.h>

#include "common/paths_win32.h"
#include "webview/com_callback_win32.h"
#include "webview/environment_options_win32.h"
#include "webview/webview2_objects_win32.h"
#include "webview/webview_error.h"
#include "webview/webview_messages.h"

using Microsoft::WRL::ComPtr;

namespace {

std::wstring OptionalPath(const std::optional<std::string>& path)
{
    return path ? Utf8ToWide(*path) : std::wstring();
}

}

WebView2Loader::WebView2Loader(const std::string& appFolder)
{
    // The library's own dependencies come from its folder and System32 only.
    HMODULE module = LoadLibraryExW(CompatiblePlatformPath(appFolder + "WebView2Loader.dll").c_str(), nullptr,
        LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module)
        throw WebViewError(WebViewMessage::LoaderMissing);
    getVersion = reinterpret_cast<GetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "GetAvailableCoreWebView2BrowserVersionString")));
    createEnvironment = reinterpret_cast<CreateEnvironmentFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateCoreWebView2EnvironmentWithOptions")));
    if (!getVersion || !createEnvironment)
        throw WebViewError(WebViewMessage::LoaderIncomplete);
}

bool WebView2Loader::HasBrowserVersion(const std::optional<std::string>& browserFolder)
{
    std::wstring folder = OptionalPath(browserFolder);
    wchar_t* version = nullptr;
    getVersion(browserFolder ? folder.c_str() : nullptr, &version);
    if (!version)
        return false;
    CoTaskMemFree(version);
    return true;
}

void WebView2Loader::CreateEnvironment(const std::optional<std::string>& browserFolder,
    const std::string& userDataFolder, const std::string& additionalBrowserArguments,
    WebViewCompletion<IWebViewEnvironment> completed)
{
    std::wstring folder = OptionalPath(browserFolder);
    std::wstring userData = Utf8ToWide(userDataFolder);
    ComPtr<ICoreWebView2EnvironmentOptions> options = MakeEnvironmentOptions(Utf8ToWide(additionalBrowserArguments));
    auto handler = MakeComCallback<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler,
        IID_ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
        [completed](HRESULT result, ICoreWebView2Environment* environment) {
            completed(SUCCEEDED(result), WrapEnvironment(environment));
            return S_OK;
        });
    // A creation that fails at once never calls its handler; report it the
    // same way so the host does not wait for nothing.
    HRESULT started = createEnvironment(browserFolder ? folder.c_str() : nullptr, userData.c_str(), options.Get(),
        handler.Get());
    if (FAILED(started))
        completed(false, nullptr);
}
