#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/asset_bundle.h"
#include "assets/body_streams.h"
#include "assets/resource_answer.h"
#include "config/app_config.h"
#include "webview/desktop.h"
#include "webview/webview_contract.h"
#include "window/main_window.h"

// A body as the models below make it: the bytes themselves.
struct BytesBody : IBodyStream {
    explicit BytesBody(std::string body) : bytes(std::move(body)) {}
    std::string bytes;
};

// An answer as the runtime received it; body is none when it had none.
struct RecordedResponse {
    int status = 0;
    std::string reason;
    std::string headers;
    std::optional<std::string> body;
};

// Bodies read from the bundle's memory and from the disk, as the platform
// would send them; failing makes every body fail.
class BodyStreamsModel : public IBodyStreams {
public:
    explicit BodyStreamsModel(const AssetBundle& siteBundle) : bundle(siteBundle) {}
    std::shared_ptr<IBodyStream> Create(const ResourceAnswer& answer) override;

    const AssetBundle& bundle;
    bool failing = false;
};

// A stand-in for the WebView2 runtime: every call the host makes is logged
// in order in `calls`, creations complete only when a test says so, and a
// test can raise every event the host attaches a handler to.
class WebViewDouble : public IWebViewLoader {
public:
    WebViewDouble();

    bool HasBrowserVersion(const std::optional<std::string>& browserFolder) override;
    void CreateEnvironment(const std::optional<std::string>& browserFolder, const std::string& userDataFolder,
        const std::string& additionalBrowserArguments, WebViewCompletion<IWebViewEnvironment> completed) override;

    // Completes the pending creations, with an object or with none.
    void CompleteEnvironment(bool succeeded = true, bool withObject = true);
    void CompleteController(bool succeeded = true, bool withObject = true);

    // Raising events; each returns what the host did with the arguments.
    bool RaiseNavigationStarting(const std::string& uri); // true when cancelled
    bool RaiseNewWindowRequested(const std::string& uri); // true when handled
    bool RaisePermissionRequested();                      // true when allowed
    bool RaiseAcceleratorKeyPressed(uint32_t key,
        IAcceleratorKeyPressedArgs::KeyEventKind kind = IAcceleratorKeyPressedArgs::KeyEventKind::KeyDown,
        bool wasKeyDown = false); // true when handled
    void RaiseWebMessage(const std::string& source, std::optional<std::string> message);
    // What the host handed the runtime, or none when it gave no answer.
    std::optional<RecordedResponse> RaiseWebResourceRequested(const std::string& uri,
        std::map<std::string, std::string> headers = {});
    void RaiseDocumentTitleChanged(const std::string& title);
    void RaiseContainsFullScreenElementChanged(bool contains);
    void RaiseWindowCloseRequested();
    void RaiseProcessFailed(IProcessFailedArgs::FailedKind kind);
    // The document the WebView shows now, as its Source reports it.
    void SetSource(const std::string& uri);
    void RaiseDomContentLoaded();

    // What the double offers.
    bool hasBrowserVersion = true;
    bool hasSettings3 = true;
    bool hasWebView2 = true;
    bool hasWebView22 = true;
    bool hasEnvironment14 = true;
    bool hasWebView23 = true;
    // Folders the runtime makes no handle for.
    std::vector<std::string> refusedHandles;
    bool refusesCollections = false;
    // A handler name (or "filter") whose attachment the double refuses.
    std::string refused;
    // Whether the controller's parent window still exists; closing the
    // controller after it is gone is a fault.
    std::function<bool()> parentExists;
    // What the host did that the runtime does not allow; a test whose
    // double has any fails.
    std::vector<std::string> faults;

    std::vector<std::string> calls;
    // What reached the page, in order: "json <text>" for a plain message,
    // "handles <text> [<folder or -> ...]" for one with directory handles.
    std::vector<std::string> pageMessages;
    // Names of the attached handlers, in attachment order.
    std::vector<std::string> handlers;

    struct State;
    std::shared_ptr<State> state;
};

// The main window as a plain model: a frame of 16 by 39 pixels around the
// client area while the window has a caption, a DPI factor to scale by.
class MainWindowModel : public IMainWindow {
public:
    NativeWindow Handle() override;
    WindowRect ClientRect() override;
    WindowRect Rect() override;
    WindowRect MonitorRect() override;
    uint32_t Style() override;
    uint32_t ExStyle() override;
    void SetStyles(uint32_t newStyle, uint32_t newExStyle) override;
    void Place(const WindowRect& rect) override;
    void Resize(int32_t width, int32_t height) override;
    void Move(int32_t x, int32_t y) override;
    OuterSize OuterSizeForClient(int32_t width, int32_t height, uint32_t forStyle, uint32_t forExStyle) override;
    int32_t ScaleForDpi(int32_t value) override;
    void MarkFullscreen(bool on) override;
    void SetTitle(const std::string& text) override;
    void Show() override;
    void ShowMaximized() override;
    bool LaunchedMinimized() override { return launchedMinimized; }
    void ShowMinimized() override;
    void Close() override;
    WindowPlacement Placement() override;
    void RestorePlacement(const WindowPlacement& placement) override;
    void PostWork() override;
    void StartCloseTimer(uint32_t milliseconds) override;
    void StopCloseTimer() override;

    uint32_t style = 0x00CF0000;
    uint32_t exStyle = 0x00000100;
    WindowRect frame = {100, 50, 100 + 800 + 16, 50 + 600 + 39};
    WindowRect monitor = {0, 0, 1920, 1080};
    float dpiFactor = 1.0f;
    std::string title = "Windows Velmora";
    bool visible = false;
    bool maximized = false;
    bool minimized = false;
    bool launchedMinimized = false;
    WindowRect normalFrame; // while maximized
    int postedWork = 0;     // messages posted and not yet delivered
    int postedCloses = 0;   // close messages posted and not yet delivered
    bool destroyed = false;
    uint32_t closeTimer = 0; // running, in milliseconds; 0 when stopped
    std::vector<std::string> calls;
};

// The desktop with every known folder at C:\Users\u\<name of the folder>,
// except those in `missingFolders`.
class DesktopModel : public IDesktop {
public:
    void OpenWithShell(const std::string& url) override;
    void SetEnvironmentValue(const std::string& name, const std::string& value) override;
    void RemoveEnvironmentValue(const std::string& name) override;
    void FailRun(const std::string& text) override;
    std::chrono::steady_clock::time_point Now() override { return now; }
    // Logs the question with what `answered` gave when it was put, and
    // gives `reloadAnswer`.
    bool AskReloadBusyPage(const std::string& title, const std::function<bool()>& answered) override;
    std::string KnownFolderPath(KnownFolder folder) override;

    std::chrono::steady_clock::time_point now;
    bool reloadAnswer = false;
    std::vector<KnownFolder> missingFolders;
    std::vector<std::string> calls;
};
