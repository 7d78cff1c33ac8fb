#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/body_streams.h"
#include "assets/resource_answer.h"
#include "bridge/extension_manager.h"
#include "bridge/page_channel.h"
#include "bridge/web_message_bridge.h"
#include "config/app_config.h"
#include "webview/busy_page.h"
#include "webview/close_request.h"
#include "webview/desktop.h"
#include "webview/failure_budget.h"
#include "webview/page_window_operations.h"
#include "webview/webview_contract.h"
#include "window/main_window.h"
#include "window/saved_placement.h"
#include "window/window_events.h"
#include "window/window_state.h"

// The folders the host object is created with (UTF-8).
struct WebViewFolders {
    std::string appFolder;         // ends with the separator
    std::string webResourceFolder; // "www\" below appFolder
    std::string userDataFolder;
    // The fixed runtime's folder; none for the evergreen runtime.
    std::optional<std::string> browserFolder;
};

// Puts the WebView into the main window and shows the app in it: creates
// the environment and the controller, applies the settings, attaches the
// event handlers, navigates to the start page, answers the app's requests
// and hands the page's messages to the bridge. While it exists, the
// extension library reaches the page and the folder map through it.
class CorvaneWebView : public IWindowEvents, public IPageChannel {
public:
    CorvaneWebView(const AppConfig& config, const ResourceSite& site, IBodyStreams& bodies, IMainWindow& window,
        IDesktop& desktop, IWebViewLoader& loader, ExtensionManager& extensions, WebViewFolders folders, Launch launch);
    ~CorvaneWebView() override;
    CorvaneWebView(const CorvaneWebView&) = delete;
    CorvaneWebView& operator=(const CorvaneWebView&) = delete;

    // Puts the hidden window where it starts: where the player left it
    // (when remembered and still reachable), else full screen when asked
    // for; per-monitor DPI sizes it for its own monitor first.
    void PlaceAtStart(const std::optional<SavedPlacement>& remembered);
    // Starts environment creation; the rest follows through the completions.
    void Init();
    // Where the window was as it was destroyed, when the app remembers it.
    const std::optional<SavedPlacement>& PlacementToRemember() const { return placementToRemember; }

    // From the window procedure: the window was resized or moved, or work
    // posted from inside a runtime callback may now run.
    void OnWindowSized(bool minimized) override;
    void OnWindowMoved() override;
    void OnPostedWork() override;
    void OnWindowActivated() override;
    void OnWindowDestroying() override;
    bool OnCloseRequested() override;
    bool OnSessionEnding() override;
    void OnCloseTimeout() override;
    bool IsAwaitingPageClose() override;
    OuterSize MinimumFrameSize() override;
    void OnDpiChanged(const WindowRect& suggested) override;

    // Dropped while there is no WebView yet.
    void PostJsonToPage(const std::string& json) override;
    std::unique_ptr<IFolderHandleMessage> StartFolderHandleMessage() override;

    const std::string& Origin() const { return origin; }
    bool IsFullscreen() const { return windowState.IsFullscreen(); }
    const FolderMap& Folders() const { return bridge.Folders(); }

private:
    void OnEnvironmentCreated(bool succeeded, std::shared_ptr<IWebViewEnvironment> created);
    void OnControllerCreated(bool succeeded, std::shared_ptr<IWebViewController> created);
    void ApplySettings();
    void AttachHandlers();
    std::string StartUri() const;
    // Sets a process environment variable that the runtime reads as it
    // creates the environment and the controller.
    void SetRuntimeVariable(const std::string& name, const std::string& value);
    void AddResourceFilter();
    // Runs work once the runtime's callback has returned: the runtime does
    // not support message loops (a message box, the shell's dialogs) nested
    // inside its callbacks.
    void Post(std::function<void()> work);
    // The creation-failure box, once the failing callback has returned.
    void FailAfterCallback(const char* text);
    // Closes the controller and lets go of the WebView; the parent window
    // must still exist.
    void CloseWebView();

    void OnDocumentTitleChanged();
    void OnNavigationStarting(INavigationStartingArgs& args);
    void OnWebResourceRequested(IWebResourceRequestedArgs& args);
    void OnPermissionRequested(IPermissionRequestedArgs& args);
    void OnContainsFullScreenElementChanged();
    void OnWindowCloseRequested();
    void OnNewWindowRequested(INewWindowRequestedArgs& args);
    void OnWebMessageReceived(IWebMessageReceivedArgs& args);
    void OnDomContentLoaded();
    void OnProcessFailed(IProcessFailedArgs& args);
    // A renderer that exited: the page is loaded again, unless it has
    // failed too often lately.
    void RecoverPage();
    // A page busy for long: the player chooses to wait or to reload it.
    void AskAboutBusyPage();
    void OnAcceleratorKeyPressed(IAcceleratorKeyPressedArgs& args);

    const AppConfig& config;
    const ResourceSite& site;
    IBodyStreams& bodies;
    IMainWindow& window;
    IDesktop& desktop;
    IWebViewLoader& loader;
    ExtensionManager& extensions;
    const WebViewFolders folders;
    const bool underWine;
    const std::string origin;
    WindowState windowState;
    CloseRequest closeRequest;
    PageWindowOperations pageWindow;
    WebMessageBridge bridge;
    std::deque<std::function<void()>> postedWork;
    // The window has been shown (the first DOMContentLoaded), and the
    // WebView has been hidden because the window was minimised.
    bool shown = false;
    bool showMaximized = false;
    bool hiddenWhileMinimized = false;
    std::optional<SavedPlacement> placementToRemember;
    // The run is ending with a failure box; nothing more is started.
    bool failing = false;
    // The Windows session ends: the runtime's processes may be gone
    // already, and no box may hold the end up.
    bool sessionEnding = false;
    // Each creation has been reported; a second report is ignored.
    bool environmentSettled = false;
    bool controllerSettled = false;
    FailureBudget pageFailures {3, std::chrono::minutes(1)};
    BusyPage busyPage;
    // Set for the runtime, removed once the controller exists.
    std::vector<std::string> runtimeVariables;

    // Released in reverse order: the WebView first, the environment last.
    std::shared_ptr<IWebViewEnvironment> environment;
    std::shared_ptr<IWebViewController> controller;
    std::shared_ptr<IWebView> webView;
    std::shared_ptr<IWebView2> webView2;
};
