#include "tests/unit/webview/webview_double.h"

#include <algorithm>
#include <fstream>

#include "webview/webview_error.h"
#include "window/dpi_scale.h"

namespace {

std::string Flag(bool value)
{
    return value ? "true" : "false";
}

// Pages may ask for any 32-bit size or place; the model's frame stays
// within the screen coordinates' range as the system's does.
int32_t Saturated(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

std::string RectText(const WindowRect& rect)
{
    return std::to_string(rect.left) + " " + std::to_string(rect.top) + " " + std::to_string(rect.right) + " "
        + std::to_string(rect.bottom);
}

struct NavigationArgs : INavigationStartingArgs {
    std::string uri;
    bool cancelled = false;
    std::string Uri() override { return uri; }
    void Cancel() override { cancelled = true; }
};

struct NewWindowArgs : INewWindowRequestedArgs {
    std::string uri;
    bool handled = false;
    std::string Uri() override { return uri; }
    void MarkHandled() override { handled = true; }
};

struct PermissionArgs : IPermissionRequestedArgs {
    bool allowed = false;
    void Allow() override { allowed = true; }
};

struct KeyArgs : IAcceleratorKeyPressedArgs {
    uint32_t key = 0;
    KeyEventKind kind = KeyEventKind::KeyDown;
    bool wasKeyDown = false;
    bool handled = false;
    uint32_t VirtualKey() override { return key; }
    KeyEventKind Kind() override { return kind; }
    bool WasKeyDown() override { return wasKeyDown; }
    void MarkHandled() override { handled = true; }
};

struct ProcessFailedArgs : IProcessFailedArgs {
    FailedKind kind = FailedKind::Other;
    FailedKind Kind() override { return kind; }
};

struct MessageArgs : IWebMessageReceivedArgs {
    std::string source;
    std::optional<std::string> message;
    std::string Source() override { return source; }
    std::optional<std::string> MessageAsString() override { return message; }
};

struct ResourceArgs : IWebResourceRequestedArgs {
    std::string uri;
    std::map<std::string, std::string> headers;
    std::optional<RecordedResponse> response;
    std::string Uri() override { return uri; }
    std::optional<std::string> Header(const std::string& name) override
    {
        auto found = headers.find(name);
        return found == headers.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    void Respond(int status, const std::string& reason, const std::string& joinedHeaders,
        std::shared_ptr<IBodyStream> body) override
    {
        response = RecordedResponse {status, reason, joinedHeaders, std::nullopt};
        if (body)
            response->body = dynamic_cast<BytesBody&>(*body).bytes;
    }
};

}

struct WebViewDouble::State {
    explicit State(WebViewDouble& owner) : owner(owner) {}
    void Log(const std::string& call) { owner.calls.push_back(call); }
    void Attach(const std::string& name)
    {
        if (!owner.refused.empty() && name.compare(0, owner.refused.size(), owner.refused) == 0)
            throw WebViewError("refused " + name);
        owner.handlers.push_back(name);
    }

    WebViewDouble& owner;
    WebViewCompletion<IWebViewEnvironment> environmentCompleted;
    WebViewCompletion<IWebViewController> controllerCompleted;
    WebViewEvent<INavigationStartingArgs> navigationStarting;
    WebViewEvent<IWebResourceRequestedArgs> webResourceRequested;
    WebViewEvent<IPermissionRequestedArgs> permissionRequested;
    WebViewEvent<IWebMessageReceivedArgs> webMessageReceived;
    WebViewEvent<INewWindowRequestedArgs> newWindowRequested;
    WebViewEvent<IAcceleratorKeyPressedArgs> acceleratorKeyPressed;
    WebViewNotification documentTitleChanged;
    WebViewNotification containsFullScreenElementChanged;
    WebViewNotification windowCloseRequested;
    WebViewNotification domContentLoaded;
    WebViewEvent<IProcessFailedArgs> processFailed;
    std::string documentTitle;
    std::string source;
    bool containsFullScreenElement = false;
};

namespace {

using State = WebViewDouble::State;

struct Settings3Double : IWebViewSettings3 {
    explicit Settings3Double(std::shared_ptr<State> state) : state(std::move(state)) {}
    void SetAreBrowserAcceleratorKeysEnabled(bool enabled) override
    {
        state->Log("AreBrowserAcceleratorKeysEnabled " + Flag(enabled));
    }
    std::shared_ptr<State> state;
};

struct SettingsDouble : IWebViewSettings {
    explicit SettingsDouble(std::shared_ptr<State> state) : state(std::move(state)) {}
    void Set(const char* name, bool value) { state->Log(std::string(name) + " " + Flag(value)); }
    void SetIsScriptEnabled(bool enabled) override { Set("IsScriptEnabled", enabled); }
    void SetAreHostObjectsAllowed(bool allowed) override { Set("AreHostObjectsAllowed", allowed); }
    void SetAreDefaultScriptDialogsEnabled(bool enabled) override { Set("AreDefaultScriptDialogsEnabled", enabled); }
    void SetIsWebMessageEnabled(bool enabled) override { Set("IsWebMessageEnabled", enabled); }
    void SetIsZoomControlEnabled(bool enabled) override { Set("IsZoomControlEnabled", enabled); }
    void SetAreDefaultContextMenusEnabled(bool enabled) override { Set("AreDefaultContextMenusEnabled", enabled); }
    void SetAreDevToolsEnabled(bool enabled) override { Set("AreDevToolsEnabled", enabled); }
    std::shared_ptr<IWebViewSettings3> QuerySettings3() override
    {
        return state->owner.hasSettings3 ? std::make_shared<Settings3Double>(state) : nullptr;
    }
    std::shared_ptr<State> state;
};

struct DirectoryHandleDouble : IWebViewObject {
    explicit DirectoryHandleDouble(std::string folder) : path(std::move(folder)) {}
    std::string path;
};

struct CollectionDouble : IWebViewObjectCollection {
    std::vector<std::shared_ptr<IWebViewObject>> objects;
};

struct Environment14Double : IWebViewEnvironment14 {
    explicit Environment14Double(std::shared_ptr<State> state) : state(std::move(state)) {}
    std::shared_ptr<IWebViewObject> CreateReadWriteDirectoryHandle(const std::string& path) override
    {
        state->Log("CreateReadWriteDirectoryHandle " + path);
        const std::vector<std::string>& refused = state->owner.refusedHandles;
        if (std::find(refused.begin(), refused.end(), path) != refused.end())
            return nullptr;
        return std::make_shared<DirectoryHandleDouble>(path);
    }
    std::shared_ptr<IWebViewObjectCollection> CreateObjectCollection(
        const std::vector<std::shared_ptr<IWebViewObject>>& objects) override
    {
        if (state->owner.refusesCollections)
            throw WebViewError("refused collection");
        auto collection = std::make_shared<CollectionDouble>();
        collection->objects = objects;
        return collection;
    }
    std::shared_ptr<State> state;
};

struct WebView23Double : IWebView23 {
    explicit WebView23Double(std::shared_ptr<State> state) : state(std::move(state)) {}
    void PostWebMessageAsJsonWithAdditionalObjects(const std::string& json,
        const std::shared_ptr<IWebViewObjectCollection>& objects) override
    {
        std::string posted = "handles " + json;
        for (const std::shared_ptr<IWebViewObject>& object : dynamic_cast<CollectionDouble&>(*objects).objects)
            posted += " " + (object ? dynamic_cast<DirectoryHandleDouble&>(*object).path : std::string("-"));
        state->owner.pageMessages.push_back(posted);
    }
    std::shared_ptr<State> state;
};

struct WebView22Double : IWebView22 {
    explicit WebView22Double(std::shared_ptr<State> state) : state(std::move(state)) {}
    void AddWebResourceRequestedFilterWithRequestSourceKinds(const std::string& uriPattern) override
    {
        state->Attach("filter " + uriPattern + " all sources");
    }
    std::shared_ptr<State> state;
};

struct WebView2Double : IWebView2 {
    explicit WebView2Double(std::shared_ptr<State> state) : state(std::move(state)) {}
    void AddDomContentLoaded(WebViewNotification handler) override
    {
        state->Attach("DOMContentLoaded");
        state->domContentLoaded = std::move(handler);
    }
    std::shared_ptr<State> state;
};

struct WebViewObjectDouble : IWebView {
    explicit WebViewObjectDouble(std::shared_ptr<State> state) : state(std::move(state)) {}
    std::shared_ptr<IWebViewSettings> Settings() override { return std::make_shared<SettingsDouble>(state); }
    // As the runtime does, the first navigation raises NavigationStarting too.
    void Navigate(const std::string& uri) override
    {
        state->Log("Navigate " + uri);
        NavigationArgs args;
        args.uri = uri;
        if (state->navigationStarting)
            state->navigationStarting(args);
        if (args.cancelled) {
            state->Log("cancelled " + uri);
            return;
        }
        state->source = uri;
    }
    void Reload() override { state->Log("Reload"); }
    std::string Source() override { return state->source; }
    void AddWebResourceRequestedFilter(const std::string& uriPattern) override
    {
        state->Attach("filter " + uriPattern);
    }
    void AddNavigationStarting(WebViewEvent<INavigationStartingArgs> handler) override
    {
        state->Attach("NavigationStarting");
        state->navigationStarting = std::move(handler);
    }
    void AddWebResourceRequested(WebViewEvent<IWebResourceRequestedArgs> handler) override
    {
        state->Attach("WebResourceRequested");
        state->webResourceRequested = std::move(handler);
    }
    void AddPermissionRequested(WebViewEvent<IPermissionRequestedArgs> handler) override
    {
        state->Attach("PermissionRequested");
        state->permissionRequested = std::move(handler);
    }
    void AddWebMessageReceived(WebViewEvent<IWebMessageReceivedArgs> handler) override
    {
        state->Attach("WebMessageReceived");
        state->webMessageReceived = std::move(handler);
    }
    void AddNewWindowRequested(WebViewEvent<INewWindowRequestedArgs> handler) override
    {
        state->Attach("NewWindowRequested");
        state->newWindowRequested = std::move(handler);
    }
    void AddDocumentTitleChanged(WebViewNotification handler) override
    {
        state->Attach("DocumentTitleChanged");
        state->documentTitleChanged = std::move(handler);
    }
    void AddContainsFullScreenElementChanged(WebViewNotification handler) override
    {
        state->Attach("ContainsFullScreenElementChanged");
        state->containsFullScreenElementChanged = std::move(handler);
    }
    void AddWindowCloseRequested(WebViewNotification handler) override
    {
        state->Attach("WindowCloseRequested");
        state->windowCloseRequested = std::move(handler);
    }
    void AddProcessFailed(WebViewEvent<IProcessFailedArgs> handler) override
    {
        state->Attach("ProcessFailed");
        state->processFailed = std::move(handler);
    }
    std::string DocumentTitle() override { return state->documentTitle; }
    bool ContainsFullScreenElement() override { return state->containsFullScreenElement; }
    void OpenDevToolsWindow() override { state->Log("OpenDevToolsWindow"); }
    void PostWebMessageAsJson(const std::string& json) override { state->owner.pageMessages.push_back("json " + json); }
    std::shared_ptr<IWebView2> QueryWebView2() override
    {
        return state->owner.hasWebView2 ? std::make_shared<WebView2Double>(state) : nullptr;
    }
    std::shared_ptr<IWebView22> QueryWebView22() override
    {
        return state->owner.hasWebView22 ? std::make_shared<WebView22Double>(state) : nullptr;
    }
    std::shared_ptr<IWebView23> QueryWebView23() override
    {
        return state->owner.hasWebView23 ? std::make_shared<WebView23Double>(state) : nullptr;
    }
    std::shared_ptr<State> state;
};

struct ControllerDouble : IWebViewController {
    explicit ControllerDouble(std::shared_ptr<State> state)
        : state(state), webView(std::make_shared<WebViewObjectDouble>(state))
    {
    }
    std::shared_ptr<IWebView> WebView() override { return webView; }
    void SetBounds(const WindowRect& bounds) override { state->Log("SetBounds " + RectText(bounds)); }
    void SetIsVisible(bool visible) override { state->Log("SetIsVisible " + Flag(visible)); }
    void MoveFocusProgrammatic() override { state->Log("MoveFocus"); }
    void NotifyParentWindowPositionChanged() override { state->Log("NotifyParentWindowPositionChanged"); }
    void SetDefaultBackgroundColor(uint32_t colour) override
    {
        state->Log("SetDefaultBackgroundColor " + ColourText(colour));
    }
    void AddAcceleratorKeyPressed(WebViewEvent<IAcceleratorKeyPressedArgs> handler) override
    {
        state->Attach("AcceleratorKeyPressed");
        state->acceleratorKeyPressed = std::move(handler);
    }
    // The runtime's close fails, and has been seen to hang, once the parent
    // window is gone.
    void Close() override
    {
        if (state->owner.parentExists && !state->owner.parentExists())
            state->owner.faults.push_back("the controller was closed after its parent window was destroyed");
        state->Log("Close");
    }
    std::shared_ptr<State> state;
    std::shared_ptr<IWebView> webView;
};

struct EnvironmentDouble : IWebViewEnvironment {
    explicit EnvironmentDouble(std::shared_ptr<State> state) : state(std::move(state)) {}
    void CreateController(NativeWindow parent, WebViewCompletion<IWebViewController> completed) override
    {
        state->Log("CreateController " + std::to_string(reinterpret_cast<uintptr_t>(parent)));
        state->controllerCompleted = std::move(completed);
    }
    std::shared_ptr<IWebViewEnvironment14> QueryEnvironment14() override
    {
        return state->owner.hasEnvironment14 ? std::make_shared<Environment14Double>(state) : nullptr;
    }
    std::shared_ptr<State> state;
};

}

WebViewDouble::WebViewDouble() : state(std::make_shared<State>(*this)) {}

bool WebViewDouble::HasBrowserVersion(const std::optional<std::string>& browserFolder)
{
    calls.push_back("HasBrowserVersion " + browserFolder.value_or("(none)"));
    return hasBrowserVersion;
}

void WebViewDouble::CreateEnvironment(const std::optional<std::string>& browserFolder,
    const std::string& userDataFolder, const std::string& additionalBrowserArguments,
    WebViewCompletion<IWebViewEnvironment> completed)
{
    calls.push_back("CreateEnvironment " + browserFolder.value_or("(none)") + " | " + userDataFolder + " | "
        + additionalBrowserArguments);
    state->environmentCompleted = std::move(completed);
}

void WebViewDouble::CompleteEnvironment(bool succeeded, bool withObject)
{
    state->environmentCompleted(succeeded, withObject ? std::make_shared<EnvironmentDouble>(state) : nullptr);
}

void WebViewDouble::CompleteController(bool succeeded, bool withObject)
{
    state->controllerCompleted(succeeded, withObject ? std::make_shared<ControllerDouble>(state) : nullptr);
}

bool WebViewDouble::RaiseNavigationStarting(const std::string& uri)
{
    NavigationArgs args;
    args.uri = uri;
    state->navigationStarting(args);
    return args.cancelled;
}

bool WebViewDouble::RaiseNewWindowRequested(const std::string& uri)
{
    NewWindowArgs args;
    args.uri = uri;
    state->newWindowRequested(args);
    return args.handled;
}

bool WebViewDouble::RaisePermissionRequested()
{
    PermissionArgs args;
    state->permissionRequested(args);
    return args.allowed;
}

bool WebViewDouble::RaiseAcceleratorKeyPressed(uint32_t key, IAcceleratorKeyPressedArgs::KeyEventKind kind,
    bool wasKeyDown)
{
    KeyArgs args;
    args.key = key;
    args.kind = kind;
    args.wasKeyDown = wasKeyDown;
    state->acceleratorKeyPressed(args);
    return args.handled;
}

void WebViewDouble::RaiseWebMessage(const std::string& source, std::optional<std::string> message)
{
    MessageArgs args;
    args.source = source;
    args.message = std::move(message);
    state->webMessageReceived(args);
}

std::optional<RecordedResponse> WebViewDouble::RaiseWebResourceRequested(const std::string& uri,
    std::map<std::string, std::string> headers)
{
    ResourceArgs args;
    args.uri = uri;
    args.headers = std::move(headers);
    state->webResourceRequested(args);
    return args.response;
}

void WebViewDouble::RaiseDocumentTitleChanged(const std::string& title)
{
    state->documentTitle = title;
    state->documentTitleChanged();
}

void WebViewDouble::RaiseContainsFullScreenElementChanged(bool contains)
{
    state->containsFullScreenElement = contains;
    state->containsFullScreenElementChanged();
}

void WebViewDouble::RaiseWindowCloseRequested()
{
    state->windowCloseRequested();
}

void WebViewDouble::SetSource(const std::string& uri)
{
    state->source = uri;
}

void WebViewDouble::RaiseProcessFailed(IProcessFailedArgs::FailedKind kind)
{
    ProcessFailedArgs args;
    args.kind = kind;
    state->processFailed(args);
}

void WebViewDouble::RaiseDomContentLoaded()
{
    state->domContentLoaded();
}

NativeWindow MainWindowModel::Handle()
{
    return reinterpret_cast<NativeWindow>(uintptr_t{0x1234});
}

WindowRect MainWindowModel::ClientRect()
{
    OuterSize frameSize = OuterSizeForClient(0, 0, style, exStyle);
    return {0, 0, frame.Width() - frameSize.width, frame.Height() - frameSize.height};
}

WindowRect MainWindowModel::Rect()
{
    return frame;
}

WindowRect MainWindowModel::MonitorRect()
{
    return monitor;
}

uint32_t MainWindowModel::Style()
{
    return style;
}

uint32_t MainWindowModel::ExStyle()
{
    return exStyle;
}

void MainWindowModel::SetStyles(uint32_t newStyle, uint32_t newExStyle)
{
    style = newStyle;
    exStyle = newExStyle;
    calls.push_back("styles " + std::to_string(style) + " " + std::to_string(exStyle));
}

void MainWindowModel::Place(const WindowRect& rect)
{
    frame = rect;
    calls.push_back("place " + RectText(rect));
}

void MainWindowModel::Resize(int32_t width, int32_t height)
{
    frame.right = Saturated(int64_t {frame.left} + width);
    frame.bottom = Saturated(int64_t {frame.top} + height);
    calls.push_back("resize " + std::to_string(width) + " " + std::to_string(height));
}

void MainWindowModel::Move(int32_t x, int32_t y)
{
    frame = {x, y, Saturated(int64_t {x} + frame.Width()), Saturated(int64_t {y} + frame.Height())};
    calls.push_back("move " + std::to_string(x) + " " + std::to_string(y));
}

OuterSize MainWindowModel::OuterSizeForClient(int32_t width, int32_t height, uint32_t forStyle, uint32_t)
{
    bool framed = (forStyle & 0x00C00000) != 0;
    return {Saturated(int64_t {width} + (framed ? 16 : 0)), Saturated(int64_t {height} + (framed ? 39 : 0))};
}

int32_t MainWindowModel::ScaleForDpi(int32_t value)
{
    return ScaleByFactor(value, dpiFactor);
}

void MainWindowModel::MarkFullscreen(bool on)
{
    calls.push_back("taskbar " + Flag(on));
}

void MainWindowModel::SetTitle(const std::string& text)
{
    title = text;
    calls.push_back("title " + text);
}

void MainWindowModel::Show()
{
    visible = true;
    calls.push_back("show");
}

void MainWindowModel::ShowMaximized()
{
    visible = true;
    maximized = true;
    calls.push_back("show maximized");
}

void MainWindowModel::ShowMinimized()
{
    visible = true;
    minimized = true;
    calls.push_back("show minimized");
}

void MainWindowModel::StartCloseTimer(uint32_t milliseconds)
{
    closeTimer = milliseconds;
    calls.push_back("close timer " + std::to_string(milliseconds));
}

void MainWindowModel::StopCloseTimer()
{
    closeTimer = 0;
    calls.push_back("close timer stopped");
}

void MainWindowModel::Close()
{
    calls.push_back("close");
    ++postedCloses;
}

WindowPlacement MainWindowModel::Placement()
{
    return {maximized, maximized ? normalFrame : frame};
}

void MainWindowModel::RestorePlacement(const WindowPlacement& placement)
{
    maximized = placement.maximized;
    normalFrame = placement.normal;
    frame = placement.maximized ? monitor : placement.normal;
    calls.push_back(std::string(placement.maximized ? "restore maximized " : "restore ") + RectText(placement.normal));
}

void MainWindowModel::PostWork()
{
    ++postedWork;
}

void DesktopModel::OpenWithShell(const std::string& url)
{
    calls.push_back("shell " + url);
}

void DesktopModel::SetEnvironmentValue(const std::string& name, const std::string& value)
{
    calls.push_back("environment " + name + "=" + value);
}

void DesktopModel::RemoveEnvironmentValue(const std::string& name)
{
    calls.push_back("environment " + name + " removed");
}

void DesktopModel::FailRun(const std::string& text)
{
    calls.push_back("fail " + text);
}

bool DesktopModel::AskReloadBusyPage(const std::string& title, const std::function<bool()>& answered)
{
    calls.push_back("ask " + title + (answered() ? " (answered)" : ""));
    return reloadAnswer;
}

std::string DesktopModel::KnownFolderPath(KnownFolder folder)
{
    if (std::find(missingFolders.begin(), missingFolders.end(), folder) != missingFolders.end())
        return {};
    static const char* const names[] = {"AppData\\Local", "AppData\\Roaming", "Desktop", "Documents", "Downloads",
        "Pictures", "", "Saved Games", "Pictures\\Screenshots", "Videos"};
    std::string name = names[static_cast<int>(folder)];
    return name.empty() ? "C:\\Users\\u" : "C:\\Users\\u\\" + name;
}

std::shared_ptr<IBodyStream> BodyStreamsModel::Create(const ResourceAnswer& answer)
{
    if (failing)
        throw std::runtime_error("cannot reach the body");
    const ResourceBody& body = answer.body;
    switch (body.kind) {
    case ResourceBody::Kind::None:
        return nullptr;
    case ResourceBody::Kind::NotFoundText:
        return std::make_shared<BytesBody>(std::string(NotFoundText, body.length));
    case ResourceBody::Kind::BundleSlice:
        return std::make_shared<BytesBody>(
            std::string(reinterpret_cast<const char*>(bundle.FileData(body.offset)), body.length));
    case ResourceBody::Kind::DiskFile:
    case ResourceBody::Kind::DiskSlice: {
        std::ifstream file(body.diskPath, std::ios::binary);
        file.seekg(static_cast<std::streamoff>(body.offset));
        std::string bytes(body.length, '\0');
        file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return std::make_shared<BytesBody>(bytes);
    }
    }
    return nullptr;
}
