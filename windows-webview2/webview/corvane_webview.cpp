#include "webview/corvane_webview.h"

#include "webview/browser_arguments.h"
#include "webview/folder_handle_message.h"
#include "webview/origin.h"
#include "webview/webview_error.h"
#include "webview/webview_messages.h"

namespace {

std::string OriginFor(const AppConfig& config)
{
    return config.contentMode == ContentMode::Remote ? config.main : VirtualOrigin;
}

}

CorvaneWebView::CorvaneWebView(const AppConfig& appConfig, const ResourceSite& resourceSite, IBodyStreams& bodyStreams,
    IMainWindow& mainWindow, IDesktop& hostDesktop, IWebViewLoader& webViewLoader, ExtensionManager& extensionManager,
    WebViewFolders hostFolders, Launch launch)
    : config(appConfig), site(resourceSite), bodies(bodyStreams), window(mainWindow), desktop(hostDesktop),
      loader(webViewLoader), extensions(extensionManager), folders(std::move(hostFolders)), underWine(launch.underWine),
      origin(OriginFor(appConfig)), windowState(mainWindow),
      closeRequest(appConfig.closeRequest, appConfig.closeRequestSeconds, mainWindow, *this),
      pageWindow(windowState, closeRequest),
      bridge(pageWindow, *this, hostDesktop, extensionManager,
          // The web resource folder as the resource server reads it, so that
          // the page's handle and the extensions' path name a real folder.
          {folders.appFolder, folders.appFolder + folders.webResourceFolder, folders.userDataFolder}, std::move(launch))
{
    extensions.SetWebViewHost(&bridge);
    windowState.SetMinimumClientSize(config.minWidth, config.minHeight);
}

CorvaneWebView::~CorvaneWebView()
{
    extensions.SetWebViewHost(nullptr);
    CloseWebView();
}

// The documented way to end a WebView: close it while its parent window
// exists, then let go of it. A destroyed parent makes the close fail.
void CorvaneWebView::CloseWebView()
{
    if (!controller)
        return;
    controller->Close();
    webView2.reset();
    webView.reset();
    controller.reset();
}

void CorvaneWebView::OnWindowDestroying()
{
    if (config.rememberPlacement) {
        WindowPlacement placement = windowState.WindowedPlacement();
        placementToRemember = SavedPlacement {placement.normal, placement.maximized, windowState.IsFullscreen()};
    }
    CloseWebView();
}

void CorvaneWebView::PlaceAtStart(const std::optional<SavedPlacement>& remembered)
{
    if (config.dpiAwareness == DpiAwareness::PerMonitor)
        windowState.SetWindowSize(config.width, config.height);
    if (remembered) {
        WindowPlacement windowed {remembered->maximized, remembered->normal};
        window.RestorePlacement({false, remembered->normal});
        // A full-screen window is shown as it is, and leaves full screen
        // maximised when it was.
        showMaximized = remembered->maximized && !remembered->fullscreen;
        if (remembered->fullscreen)
            windowState.SetFullscreenFrom(windowed);
        return;
    }
    if (config.fullscreen)
        windowState.StartFullscreen();
}

// Keys reach the page only while the focus is inside the WebView; the
// system gives it back to the frame whenever the window is activated.
void CorvaneWebView::OnWindowActivated()
{
    if (controller && shown && !hiddenWhileMinimized)
        controller->MoveFocusProgrammatic();
}

bool CorvaneWebView::OnCloseRequested()
{
    return closeRequest.ShouldCloseNow();
}

bool CorvaneWebView::OnSessionEnding()
{
    sessionEnding = true;
    return closeRequest.ShouldCloseForSessionEnd();
}

void CorvaneWebView::OnCloseTimeout()
{
    closeRequest.OnTimeout();
}

bool CorvaneWebView::IsAwaitingPageClose()
{
    return closeRequest.AwaitingPage();
}

OuterSize CorvaneWebView::MinimumFrameSize()
{
    return windowState.MinimumFrameSize();
}

void CorvaneWebView::OnDpiChanged(const WindowRect& suggested)
{
    windowState.ApplyDpiChange(suggested);
}

void CorvaneWebView::SetRuntimeVariable(const std::string& name, const std::string& value)
{
    desktop.SetEnvironmentValue(name, value);
    runtimeVariables.push_back(name);
}

void CorvaneWebView::Init()
{
    if (config.hostingMode == HostingMode::WindowToVisual)
        SetRuntimeVariable("COREWEBVIEW2_FORCED_HOSTING_MODE", "COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL");
    if (config.backgroundColor)
        SetRuntimeVariable(BackgroundColourVariable, BackgroundColourValue(*config.backgroundColor));
    loader.CreateEnvironment(folders.browserFolder, folders.userDataFolder, BrowserArgumentsFor(config, underWine),
        [this](bool succeeded, std::shared_ptr<IWebViewEnvironment> created) {
            OnEnvironmentCreated(succeeded, std::move(created));
        });
}

// A creation that fails at once is reported by the adapter; a runtime that
// calls the handler as well must not start a second one.
void CorvaneWebView::OnEnvironmentCreated(bool succeeded, std::shared_ptr<IWebViewEnvironment> created)
{
    if (environmentSettled)
        return;
    environmentSettled = true;
    // Without an environment there is nothing to show; the hidden window
    // would wait forever.
    if (!succeeded || !created) {
        FailAfterCallback(WebViewMessage::EnvironmentFailed);
        return;
    }
    environment = std::move(created);
    environment->CreateController(window.Handle(),
        [this](bool controllerSucceeded, std::shared_ptr<IWebViewController> controllerCreated) {
            OnControllerCreated(controllerSucceeded, std::move(controllerCreated));
        });
}

void CorvaneWebView::OnControllerCreated(bool succeeded, std::shared_ptr<IWebViewController> created)
{
    if (controllerSettled)
        return;
    controllerSettled = true;
    // Every program started from here on (a link the shell opens, an
    // extension's child) would inherit them; the runtime has read them.
    for (const std::string& name : runtimeVariables)
        desktop.RemoveEnvironmentValue(name);
    runtimeVariables.clear();
    std::shared_ptr<IWebView> createdWebView = created ? created->WebView() : nullptr;
    if (!succeeded || !createdWebView) {
        FailAfterCallback(WebViewMessage::ControllerFailed);
        return;
    }
    controller = std::move(created);
    // A WebView that navigates while visible in a hidden window can stay
    // blank and take no input; it is shown with the window.
    controller->SetIsVisible(false);
    if (config.backgroundColor)
        controller->SetDefaultBackgroundColor(*config.backgroundColor);
    webView = std::move(createdWebView);
    webView2 = webView->QueryWebView2();
    // DOMContentLoaded, which shows the window, needs ICoreWebView2_2.
    if (!webView2) {
        FailAfterCallback(WebViewMessage::RuntimeTooOld);
        return;
    }
    // A handler or the filter that the runtime refuses would leave a blank
    // window with nothing to say why.
    try {
        ApplySettings();
        controller->SetBounds(window.ClientRect());
        AttachHandlers();
    } catch (const WebViewError&) {
        FailAfterCallback(WebViewMessage::ControllerFailed);
        return;
    }
    webView->Navigate(StartUri());
}

void CorvaneWebView::ApplySettings()
{
    std::shared_ptr<IWebViewSettings> settings = webView->Settings();
    if (!settings)
        return;
    settings->SetIsScriptEnabled(true);
    settings->SetAreHostObjectsAllowed(false);
    settings->SetAreDefaultScriptDialogsEnabled(true);
    settings->SetIsWebMessageEnabled(true);
    settings->SetIsZoomControlEnabled(false);
    settings->SetAreDefaultContextMenusEnabled(true);
    settings->SetAreDevToolsEnabled(config.enableDevtools);
    std::shared_ptr<IWebViewSettings3> settings3 = settings->QuerySettings3();
    if (!settings3)
        return;
    settings3->SetAreBrowserAcceleratorKeysEnabled(false);
    controller->AddAcceleratorKeyPressed([this](IAcceleratorKeyPressedArgs& args) { OnAcceleratorKeyPressed(args); });
}

void CorvaneWebView::AttachHandlers()
{
    webView->AddDocumentTitleChanged([this] { OnDocumentTitleChanged(); });
    if (config.contentMode == ContentMode::Bundle) {
        AddResourceFilter();
        webView->AddWebResourceRequested([this](IWebResourceRequestedArgs& args) { OnWebResourceRequested(args); });
        webView->AddNavigationStarting([this](INavigationStartingArgs& args) { OnNavigationStarting(args); });
    }
    webView->AddPermissionRequested([this](IPermissionRequestedArgs& args) { OnPermissionRequested(args); });
    webView->AddContainsFullScreenElementChanged([this] { OnContainsFullScreenElementChanged(); });
    webView->AddWindowCloseRequested([this] { OnWindowCloseRequested(); });
    webView->AddProcessFailed([this](IProcessFailedArgs& args) { OnProcessFailed(args); });
    webView->AddNewWindowRequested([this](INewWindowRequestedArgs& args) { OnNewWindowRequested(args); });
    webView->AddWebMessageReceived([this](IWebMessageReceivedArgs& args) { OnWebMessageReceived(args); });
    webView2->AddDomContentLoaded([this] { OnDomContentLoaded(); });
}

// The older filter misses the requests of service and shared workers,
// which then go to the network and fail; a runtime that refuses the newer
// one still serves the documents.
void CorvaneWebView::AddResourceFilter()
{
    if (std::shared_ptr<IWebView22> webView22 = webView->QueryWebView22()) {
        try {
            webView22->AddWebResourceRequestedFilterWithRequestSourceKinds(origin + "*");
            return;
        } catch (const WebViewError&) {
        }
    }
    webView->AddWebResourceRequestedFilter(origin + "*");
}

// A minimised window's WebView is hidden, as the runtime asks of hosts, so
// that the page stops rendering and sees "visibilitychange".
void CorvaneWebView::OnWindowSized(bool minimized)
{
    if (!controller)
        return;
    if (minimized) {
        // A game that runs in the background keeps rendering.
        if (shown && !hiddenWhileMinimized && !config.runInBackground) {
            controller->SetIsVisible(false);
            hiddenWhileMinimized = true;
        }
        return;
    }
    controller->SetBounds(window.ClientRect());
    if (hiddenWhileMinimized) {
        controller->SetIsVisible(true);
        hiddenWhileMinimized = false;
        // The activation of a restore can come while the WebView is still
        // hidden, and then skips it.
        controller->MoveFocusProgrammatic();
    }
}

// One box per run, however many failures follow the first.
void CorvaneWebView::FailAfterCallback(const char* text)
{
    if (failing || sessionEnding)
        return;
    failing = true;
    Post([this, text] { desktop.FailRun(text); });
}

void CorvaneWebView::Post(std::function<void()> work)
{
    postedWork.push_back(std::move(work));
    window.PostWork();
}

void CorvaneWebView::OnPostedWork()
{
    while (!postedWork.empty()) {
        std::function<void()> work = std::move(postedWork.front());
        postedWork.pop_front();
        work();
    }
}

void CorvaneWebView::OnWindowMoved()
{
    if (controller)
        controller->NotifyParentWindowPositionChanged();
}

void CorvaneWebView::PostJsonToPage(const std::string& json)
{
    if (webView)
        webView->PostWebMessageAsJson(json);
}

std::unique_ptr<IFolderHandleMessage> CorvaneWebView::StartFolderHandleMessage()
{
    if (!environment || !webView)
        return nullptr;
    std::shared_ptr<IWebViewEnvironment14> environment14 = environment->QueryEnvironment14();
    std::shared_ptr<IWebView23> webView23 = webView->QueryWebView23();
    if (!environment14 || !webView23)
        return nullptr;
    return std::make_unique<FolderHandleMessage>(std::move(environment14), std::move(webView23), webView, origin);
}

std::string CorvaneWebView::StartUri() const
{
    return config.contentMode == ContentMode::Bundle ? origin + config.main : config.main;
}
