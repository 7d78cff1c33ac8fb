#include "webview/webview2_objects_win32.h"

#include <objbase.h>

#include "assets/body_streams_win32.h"
#include "common/paths_win32.h"
#include "webview/check_result_win32.h"
#include "webview/com_callback_win32.h"
#include "webview/com_reference_win32.h"
#include "webview/webview_error.h"

using Microsoft::WRL::ComPtr;

namespace {

// A string the runtime allocated, as UTF-8; the string is freed.
std::string TakeString(LPWSTR text)
{
    if (!text)
        return {};
    std::string result = WideToUtf8(text);
    CoTaskMemFree(text);
    return result;
}

// The interface the runtime object answers for Id, or null.
template <typename Interface>
ComPtr<Interface> Query(IUnknown* object, const IID& id)
{
    ComPtr<Interface> result;
    if (FAILED(object->QueryInterface(id, reinterpret_cast<void**>(result.GetAddressOf()))))
        return nullptr;
    return result;
}

class NavigationStartingArgs : public INavigationStartingArgs {
public:
    explicit NavigationStartingArgs(ICoreWebView2NavigationStartingEventArgs* eventArgs) : args(eventArgs) {}
    std::string Uri() override
    {
        LPWSTR uri = nullptr;
        args->get_Uri(&uri);
        return TakeString(uri);
    }
    void Cancel() override { args->put_Cancel(TRUE); }

private:
    ICoreWebView2NavigationStartingEventArgs* args;
};

class NewWindowRequestedArgs : public INewWindowRequestedArgs {
public:
    explicit NewWindowRequestedArgs(ICoreWebView2NewWindowRequestedEventArgs* eventArgs) : args(eventArgs) {}
    std::string Uri() override
    {
        LPWSTR uri = nullptr;
        args->get_Uri(&uri);
        return TakeString(uri);
    }
    void MarkHandled() override { args->put_Handled(TRUE); }

private:
    ICoreWebView2NewWindowRequestedEventArgs* args;
};

class PermissionRequestedArgs : public IPermissionRequestedArgs {
public:
    explicit PermissionRequestedArgs(ICoreWebView2PermissionRequestedEventArgs* eventArgs) : args(eventArgs) {}
    void Allow() override { args->put_State(COREWEBVIEW2_PERMISSION_STATE_ALLOW); }

private:
    ICoreWebView2PermissionRequestedEventArgs* args;
};

class AcceleratorKeyPressedArgs : public IAcceleratorKeyPressedArgs {
public:
    explicit AcceleratorKeyPressedArgs(ICoreWebView2AcceleratorKeyPressedEventArgs* eventArgs) : args(eventArgs) {}
    uint32_t VirtualKey() override
    {
        UINT key = 0;
        args->get_VirtualKey(&key);
        return key;
    }
    KeyEventKind Kind() override
    {
        COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN;
        args->get_KeyEventKind(&kind);
        switch (kind) {
        case COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP:
            return KeyEventKind::KeyUp;
        case COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN:
            return KeyEventKind::SystemKeyDown;
        case COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP:
            return KeyEventKind::SystemKeyUp;
        default:
            return KeyEventKind::KeyDown;
        }
    }
    bool WasKeyDown() override
    {
        COREWEBVIEW2_PHYSICAL_KEY_STATUS status = {};
        args->get_PhysicalKeyStatus(&status);
        return status.WasKeyDown != FALSE;
    }
    void MarkHandled() override { args->put_Handled(TRUE); }

private:
    ICoreWebView2AcceleratorKeyPressedEventArgs* args;
};

class ProcessFailedArgs : public IProcessFailedArgs {
public:
    explicit ProcessFailedArgs(ICoreWebView2ProcessFailedEventArgs* eventArgs) : args(eventArgs) {}
    FailedKind Kind() override
    {
        COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
        args->get_ProcessFailedKind(&kind);
        switch (kind) {
        case COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED:
            return FailedKind::BrowserProcessExited;
        case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED:
            return FailedKind::RenderProcessExited;
        case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE:
            return FailedKind::RenderProcessUnresponsive;
        default:
            return FailedKind::Other;
        }
    }

private:
    ICoreWebView2ProcessFailedEventArgs* args;
};

class WebMessageReceivedArgs : public IWebMessageReceivedArgs {
public:
    explicit WebMessageReceivedArgs(ICoreWebView2WebMessageReceivedEventArgs* eventArgs) : args(eventArgs) {}
    std::string Source() override
    {
        LPWSTR source = nullptr;
        args->get_Source(&source);
        return TakeString(source);
    }
    std::optional<std::string> MessageAsString() override
    {
        LPWSTR message = nullptr;
        if (FAILED(args->TryGetWebMessageAsString(&message)) || !message)
            return std::nullopt;
        return TakeString(message);
    }

private:
    ICoreWebView2WebMessageReceivedEventArgs* args;
};

class WebResourceRequestedArgs : public IWebResourceRequestedArgs {
public:
    WebResourceRequestedArgs(ICoreWebView2WebResourceRequestedEventArgs* eventArgs,
        ICoreWebView2Environment* webViewEnvironment)
        : args(eventArgs), environment(webViewEnvironment)
    {
        args->get_Request(&request);
    }
    std::string Uri() override
    {
        LPWSTR uri = nullptr;
        if (request)
            request->get_Uri(&uri);
        return TakeString(uri);
    }
    std::optional<std::string> Header(const std::string& name) override
    {
        ComPtr<ICoreWebView2HttpRequestHeaders> headers;
        if (!request || FAILED(request->get_Headers(&headers)) || !headers)
            return std::nullopt;
        std::wstring wideName = Utf8ToWide(name);
        BOOL present = FALSE;
        headers->Contains(wideName.c_str(), &present);
        if (!present)
            return std::nullopt;
        LPWSTR value = nullptr;
        headers->GetHeader(wideName.c_str(), &value);
        return TakeString(value);
    }
    void Respond(int status, const std::string& reason, const std::string& headers,
        std::shared_ptr<IBodyStream> body) override
    {
        // Bodies reaching this adapter were made by BodyStreamsWin32.
        IStream* stream = body ? static_cast<ComStreamBody&>(*body).stream.Get() : nullptr;
        ComPtr<ICoreWebView2WebResourceResponse> response;
        environment->CreateWebResourceResponse(stream, status, Utf8ToWide(reason).c_str(),
            Utf8ToWide(headers).c_str(), &response);
        // A request left without an answer would go to the network.
        if (!response)
            environment->CreateWebResourceResponse(nullptr, 500, L"Internal Server Error", L"", &response);
        if (response)
            args->put_Response(response.Get());
    }

private:
    ICoreWebView2WebResourceRequestedEventArgs* args;
    ICoreWebView2Environment* environment;
    ComPtr<ICoreWebView2WebResourceRequest> request;
};

class Settings3 : public IWebViewSettings3 {
public:
    explicit Settings3(ComPtr<ICoreWebView2Settings3> runtimeSettings) : settings(std::move(runtimeSettings)) {}
    void SetAreBrowserAcceleratorKeysEnabled(bool enabled) override
    {
        settings->put_AreBrowserAcceleratorKeysEnabled(enabled);
    }

private:
    ComPtr<ICoreWebView2Settings3> settings;
};

class Settings : public IWebViewSettings {
public:
    explicit Settings(ComPtr<ICoreWebView2Settings> runtimeSettings) : settings(std::move(runtimeSettings)) {}
    void SetIsScriptEnabled(bool enabled) override { settings->put_IsScriptEnabled(enabled); }
    void SetAreHostObjectsAllowed(bool allowed) override { settings->put_AreHostObjectsAllowed(allowed); }
    void SetAreDefaultScriptDialogsEnabled(bool enabled) override
    {
        settings->put_AreDefaultScriptDialogsEnabled(enabled);
    }
    void SetIsWebMessageEnabled(bool enabled) override { settings->put_IsWebMessageEnabled(enabled); }
    void SetIsZoomControlEnabled(bool enabled) override { settings->put_IsZoomControlEnabled(enabled); }
    void SetAreDefaultContextMenusEnabled(bool enabled) override
    {
        settings->put_AreDefaultContextMenusEnabled(enabled);
    }
    void SetAreDevToolsEnabled(bool enabled) override { settings->put_AreDevToolsEnabled(enabled); }
    std::shared_ptr<IWebViewSettings3> QuerySettings3() override
    {
        ComPtr<ICoreWebView2Settings3> settings3 = Query<ICoreWebView2Settings3>(settings.Get(), IID_ICoreWebView2Settings3);
        return settings3 ? std::make_shared<Settings3>(settings3) : nullptr;
    }

private:
    ComPtr<ICoreWebView2Settings> settings;
};

// A runtime object held for the page; the adapter reads it back when it
// gathers a collection.
class RuntimeObject : public IWebViewObject {
public:
    explicit RuntimeObject(ComPtr<IUnknown> runtimeObject) : object(std::move(runtimeObject)) {}
    ComPtr<IUnknown> object;
};

class ObjectCollection : public IWebViewObjectCollection {
public:
    explicit ObjectCollection(ComPtr<ICoreWebView2ObjectCollection> runtimeCollection)
        : collection(std::move(runtimeCollection))
    {
    }
    ComPtr<ICoreWebView2ObjectCollection> collection;
};

class Environment14 : public IWebViewEnvironment14 {
public:
    explicit Environment14(ComPtr<ICoreWebView2Environment14> runtimeEnvironment)
        : environment(std::move(runtimeEnvironment))
    {
    }
    std::shared_ptr<IWebViewObject> CreateReadWriteDirectoryHandle(const std::string& path) override
    {
        ComPtr<ICoreWebView2FileSystemHandle> handle;
        environment->CreateWebFileSystemDirectoryHandle(Utf8ToWide(path).c_str(),
            COREWEBVIEW2_FILE_SYSTEM_HANDLE_PERMISSION_READ_WRITE, &handle);
        return handle ? std::make_shared<RuntimeObject>(handle) : nullptr;
    }
    std::shared_ptr<IWebViewObjectCollection> CreateObjectCollection(
        const std::vector<std::shared_ptr<IWebViewObject>>& objects) override
    {
        // Objects reaching this adapter were made by it.
        std::vector<IUnknown*> items;
        for (const std::shared_ptr<IWebViewObject>& object : objects)
            items.push_back(object ? static_cast<RuntimeObject&>(*object).object.Get() : nullptr);
        ComPtr<ICoreWebView2ObjectCollection> collection;
        CheckResult(environment->CreateObjectCollection(static_cast<UINT32>(items.size()), items.data(), &collection),
            "cannot make the object collection");
        if (!collection)
            throw WebViewError("cannot make the object collection");
        return std::make_shared<ObjectCollection>(collection);
    }

private:
    ComPtr<ICoreWebView2Environment14> environment;
};

class WebView23 : public IWebView23 {
public:
    explicit WebView23(ComPtr<ICoreWebView2_23> runtimeWebView) : webView(std::move(runtimeWebView)) {}
    void PostWebMessageAsJsonWithAdditionalObjects(const std::string& json,
        const std::shared_ptr<IWebViewObjectCollection>& objects) override
    {
        ICoreWebView2ObjectCollection* collection =
            objects ? static_cast<ObjectCollection&>(*objects).collection.Get() : nullptr;
        webView->PostWebMessageAsJsonWithAdditionalObjects(Utf8ToWide(json).c_str(), collection);
    }

private:
    ComPtr<ICoreWebView2_23> webView;
};

class WebView22 : public IWebView22 {
public:
    explicit WebView22(ComPtr<ICoreWebView2_22> runtimeWebView) : webView(std::move(runtimeWebView)) {}
    void AddWebResourceRequestedFilterWithRequestSourceKinds(const std::string& uriPattern) override
    {
        CheckResult(webView->AddWebResourceRequestedFilterWithRequestSourceKinds(Utf8ToWide(uriPattern).c_str(),
                        COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL, COREWEBVIEW2_WEB_RESOURCE_REQUEST_SOURCE_KINDS_ALL),
            "cannot add the request filter");
    }

private:
    ComPtr<ICoreWebView2_22> webView;
};

class WebView2 : public IWebView2 {
public:
    explicit WebView2(ComPtr<ICoreWebView2_2> runtimeWebView) : webView(std::move(runtimeWebView)) {}
    void AddDomContentLoaded(WebViewNotification handler) override
    {
        EventRegistrationToken token;
        auto callback = MakeComCallback<ICoreWebView2DOMContentLoadedEventHandler, IID_ICoreWebView2DOMContentLoadedEventHandler>(
            [handler](ICoreWebView2*, ICoreWebView2DOMContentLoadedEventArgs*) {
                handler();
                return S_OK;
            });
        CheckResult(webView->add_DOMContentLoaded(callback.Get(), &token), "cannot attach DOMContentLoaded");
    }

private:
    ComPtr<ICoreWebView2_2> webView;
};

// Adds a handler whose arguments are wrapped in Wrapper for the call.
template <typename Handler, const IID& HandlerId, typename Wrapper, typename RuntimeArgs, typename ContractArgs>
ComPtr<Handler> WrapEvent(WebViewEvent<ContractArgs> handler)
{
    return MakeComCallback<Handler, HandlerId>([handler](ICoreWebView2*, RuntimeArgs* args) {
        Wrapper wrapped(args);
        handler(wrapped);
        return S_OK;
    });
}

template <typename Handler, const IID& HandlerId>
ComPtr<Handler> WrapNotification(WebViewNotification handler)
{
    return MakeComCallback<Handler, HandlerId>([handler](ICoreWebView2*, IUnknown*) {
        handler();
        return S_OK;
    });
}

class WebView : public IWebView {
public:
    WebView(ComPtr<ICoreWebView2> runtimeWebView, ComPtr<ICoreWebView2Environment> webViewEnvironment)
        : webView(std::move(runtimeWebView)), environment(std::move(webViewEnvironment))
    {
    }
    std::shared_ptr<IWebViewSettings> Settings() override
    {
        ComPtr<ICoreWebView2Settings> settings;
        webView->get_Settings(&settings);
        return settings ? std::make_shared<::Settings>(settings) : nullptr;
    }
    void Navigate(const std::string& uri) override { webView->Navigate(Utf8ToWide(uri).c_str()); }
    void Reload() override { webView->Reload(); }
    std::string Source() override
    {
        LPWSTR source = nullptr;
        webView->get_Source(&source);
        return TakeString(source);
    }
    void AddWebResourceRequestedFilter(const std::string& uriPattern) override
    {
        CheckResult(
            webView->AddWebResourceRequestedFilter(Utf8ToWide(uriPattern).c_str(), COREWEBVIEW2_WEB_RESOURCE_CONTEXT_ALL),
            "cannot add the request filter");
    }
    void AddNavigationStarting(WebViewEvent<INavigationStartingArgs> handler) override
    {
        auto callback = WrapEvent<ICoreWebView2NavigationStartingEventHandler,
            IID_ICoreWebView2NavigationStartingEventHandler, NavigationStartingArgs,
            ICoreWebView2NavigationStartingEventArgs>(handler);
        CheckResult(webView->add_NavigationStarting(callback.Get(), &token), "cannot attach NavigationStarting");
    }
    void AddWebResourceRequested(WebViewEvent<IWebResourceRequestedArgs> handler) override
    {
        ComPtr<ICoreWebView2Environment> env = environment;
        auto callback = MakeComCallback<ICoreWebView2WebResourceRequestedEventHandler,
            IID_ICoreWebView2WebResourceRequestedEventHandler>(
            [handler, env](ICoreWebView2*, ICoreWebView2WebResourceRequestedEventArgs* args) {
                WebResourceRequestedArgs wrapped(args, env.Get());
                handler(wrapped);
                return S_OK;
            });
        CheckResult(webView->add_WebResourceRequested(callback.Get(), &token), "cannot attach WebResourceRequested");
    }
    void AddPermissionRequested(WebViewEvent<IPermissionRequestedArgs> handler) override
    {
        auto callback = WrapEvent<ICoreWebView2PermissionRequestedEventHandler,
            IID_ICoreWebView2PermissionRequestedEventHandler, PermissionRequestedArgs,
            ICoreWebView2PermissionRequestedEventArgs>(handler);
        CheckResult(webView->add_PermissionRequested(callback.Get(), &token), "cannot attach PermissionRequested");
    }
    void AddWebMessageReceived(WebViewEvent<IWebMessageReceivedArgs> handler) override
    {
        auto callback = WrapEvent<ICoreWebView2WebMessageReceivedEventHandler,
            IID_ICoreWebView2WebMessageReceivedEventHandler, WebMessageReceivedArgs,
            ICoreWebView2WebMessageReceivedEventArgs>(handler);
        CheckResult(webView->add_WebMessageReceived(callback.Get(), &token), "cannot attach WebMessageReceived");
    }
    void AddNewWindowRequested(WebViewEvent<INewWindowRequestedArgs> handler) override
    {
        auto callback = WrapEvent<ICoreWebView2NewWindowRequestedEventHandler,
            IID_ICoreWebView2NewWindowRequestedEventHandler, NewWindowRequestedArgs,
            ICoreWebView2NewWindowRequestedEventArgs>(handler);
        CheckResult(webView->add_NewWindowRequested(callback.Get(), &token), "cannot attach NewWindowRequested");
    }
    void AddDocumentTitleChanged(WebViewNotification handler) override
    {
        auto callback = WrapNotification<ICoreWebView2DocumentTitleChangedEventHandler,
            IID_ICoreWebView2DocumentTitleChangedEventHandler>(handler);
        CheckResult(webView->add_DocumentTitleChanged(callback.Get(), &token), "cannot attach DocumentTitleChanged");
    }
    void AddContainsFullScreenElementChanged(WebViewNotification handler) override
    {
        auto callback = WrapNotification<ICoreWebView2ContainsFullScreenElementChangedEventHandler,
            IID_ICoreWebView2ContainsFullScreenElementChangedEventHandler>(handler);
        CheckResult(webView->add_ContainsFullScreenElementChanged(callback.Get(), &token), "cannot attach ContainsFullScreenElementChanged");
    }
    void AddWindowCloseRequested(WebViewNotification handler) override
    {
        auto callback = WrapNotification<ICoreWebView2WindowCloseRequestedEventHandler,
            IID_ICoreWebView2WindowCloseRequestedEventHandler>(handler);
        CheckResult(webView->add_WindowCloseRequested(callback.Get(), &token), "cannot attach WindowCloseRequested");
    }
    void AddProcessFailed(WebViewEvent<IProcessFailedArgs> handler) override
    {
        auto callback = WrapEvent<ICoreWebView2ProcessFailedEventHandler, IID_ICoreWebView2ProcessFailedEventHandler,
            ProcessFailedArgs, ICoreWebView2ProcessFailedEventArgs>(handler);
        CheckResult(webView->add_ProcessFailed(callback.Get(), &token), "cannot attach ProcessFailed");
    }
    std::string DocumentTitle() override
    {
        LPWSTR title = nullptr;
        webView->get_DocumentTitle(&title);
        return TakeString(title);
    }
    bool ContainsFullScreenElement() override
    {
        BOOL contains = FALSE;
        webView->get_ContainsFullScreenElement(&contains);
        return contains != FALSE;
    }
    void OpenDevToolsWindow() override { webView->OpenDevToolsWindow(); }
    void PostWebMessageAsJson(const std::string& json) override
    {
        webView->PostWebMessageAsJson(Utf8ToWide(json).c_str());
    }
    std::shared_ptr<IWebView2> QueryWebView2() override
    {
        ComPtr<ICoreWebView2_2> webView2 = Query<ICoreWebView2_2>(webView.Get(), IID_ICoreWebView2_2);
        return webView2 ? std::make_shared<::WebView2>(webView2) : nullptr;
    }
    std::shared_ptr<IWebView22> QueryWebView22() override
    {
        ComPtr<ICoreWebView2_22> webView22 = Query<ICoreWebView2_22>(webView.Get(), IID_ICoreWebView2_22);
        return webView22 ? std::make_shared<::WebView22>(webView22) : nullptr;
    }
    std::shared_ptr<IWebView23> QueryWebView23() override
    {
        ComPtr<ICoreWebView2_23> webView23 = Query<ICoreWebView2_23>(webView.Get(), IID_ICoreWebView2_23);
        return webView23 ? std::make_shared<::WebView23>(webView23) : nullptr;
    }

private:
    ComPtr<ICoreWebView2> webView;
    ComPtr<ICoreWebView2Environment> environment;
    // Handlers stay attached for the whole run, so their tokens are not kept.
    EventRegistrationToken token {};
};

class Controller : public IWebViewController {
public:
    Controller(ComPtr<ICoreWebView2Controller> runtimeController, ComPtr<ICoreWebView2Environment> webViewEnvironment)
        : controller(std::move(runtimeController)), environment(std::move(webViewEnvironment))
    {
    }
    std::shared_ptr<IWebView> WebView() override
    {
        ComPtr<ICoreWebView2> webView;
        controller->get_CoreWebView2(&webView);
        return webView ? std::make_shared<::WebView>(webView, environment) : nullptr;
    }
    void SetBounds(const WindowRect& bounds) override
    {
        controller->put_Bounds(RECT {bounds.left, bounds.top, bounds.right, bounds.bottom});
    }
    void SetIsVisible(bool visible) override { controller->put_IsVisible(visible); }
    void MoveFocusProgrammatic() override { controller->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC); }
    void NotifyParentWindowPositionChanged() override { controller->NotifyParentWindowPositionChanged(); }
    void SetDefaultBackgroundColor(uint32_t colour) override
    {
        ComPtr<ICoreWebView2Controller2> controller2 =
            Query<ICoreWebView2Controller2>(controller.Get(), IID_ICoreWebView2Controller2);
        if (!controller2)
            return;
        controller2->put_DefaultBackgroundColor(
            {255, static_cast<BYTE>(colour >> 16), static_cast<BYTE>(colour >> 8), static_cast<BYTE>(colour)});
    }
    void AddAcceleratorKeyPressed(WebViewEvent<IAcceleratorKeyPressedArgs> handler) override
    {
        EventRegistrationToken token;
        auto callback = MakeComCallback<ICoreWebView2AcceleratorKeyPressedEventHandler,
            IID_ICoreWebView2AcceleratorKeyPressedEventHandler>(
            [handler](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                AcceleratorKeyPressedArgs wrapped(args);
                handler(wrapped);
                return S_OK;
            });
        CheckResult(controller->add_AcceleratorKeyPressed(callback.Get(), &token), "cannot attach AcceleratorKeyPressed");
    }
    void Close() override { controller->Close(); }

private:
    ComPtr<ICoreWebView2Controller> controller;
    ComPtr<ICoreWebView2Environment> environment;
};

class Environment : public IWebViewEnvironment {
public:
    explicit Environment(ComPtr<ICoreWebView2Environment> runtimeEnvironment)
        : environment(std::move(runtimeEnvironment))
    {
    }
    void CreateController(NativeWindow parent, WebViewCompletion<IWebViewController> completed) override
    {
        ComPtr<ICoreWebView2Environment> env = environment;
        auto handler = MakeComCallback<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler,
            IID_ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
            [completed, env](HRESULT result, ICoreWebView2Controller* controller) {
                completed(SUCCEEDED(result), controller ? std::make_shared<Controller>(controller, env) : nullptr);
                return S_OK;
            });
        if (FAILED(environment->CreateCoreWebView2Controller(static_cast<HWND>(parent), handler.Get())))
            completed(false, nullptr);
    }
    std::shared_ptr<IWebViewEnvironment14> QueryEnvironment14() override
    {
        ComPtr<ICoreWebView2Environment14> environment14 =
            Query<ICoreWebView2Environment14>(environment.Get(), IID_ICoreWebView2Environment14);
        return environment14 ? std::make_shared<Environment14>(environment14) : nullptr;
    }

private:
    ComPtr<ICoreWebView2Environment> environment;
};

}

std::shared_ptr<IWebViewEnvironment> WrapEnvironment(ICoreWebView2Environment* environment)
{
    if (!environment)
        return nullptr;
    return std::make_shared<Environment>(environment);
}
