#pragma once

#include <memory>
#include <optional>
#include <string>

#include "app_config.h"
#include "desktop.h"
#include "main_window.h"
#include "resource_answer.h"
#include "webview_contract.h"
#include "window_rect.h"

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
// event handlers, navigates to the start page, and carries the window-state
// operations that the page asks for.
class CorvaneWebView {
public:
    CorvaneWebView(const AppConfig& config, const ResourceSite& site, IMainWindow& window, IDesktop& desktop,
        IWebViewLoader& loader, WebViewFolders folders);

    // Starts environment creation; the rest follows through the completions.
    void Init();

    void SetFullscreen(bool on);
    void SetWindowSize(int32_t width, int32_t height);
    void SetWindowPosition(int32_t x, int32_t y);
    // From the window procedure: the window was resized or moved.
    void OnWindowSized();
    void OnWindowMoved();

    const AppConfig& config;
    const ResourceSite& site;
    IMainWindow& window;
    IDesktop& desktop;
    IWebViewLoader& loader;
    const WebViewFolders folders;
    const std::string origin;

    // Released in reverse order: the WebView first, the environment last.
    std::shared_ptr<IWebViewEnvironment> environment;
    std::shared_ptr<IWebViewController> controller;
    std::shared_ptr<IWebView> webView;
    std::shared_ptr<IWebView2> webView2;

    bool isFullscreen = false;
    uint32_t savedStyle = 0;
    uint32_t savedExStyle = 0;
    WindowRect savedRect;

private:
    void OnEnvironmentCreated(bool succeeded, std::shared_ptr<IWebViewEnvironment> created);
    void OnControllerCreated(bool succeeded, std::shared_ptr<IWebViewController> created);
    void ApplySettings();
    void AttachHandlers();
    std::string StartUri() const;

    void OnDocumentTitleChanged();
    void OnNavigationStarting(INavigationStartingArgs& args);
    void OnWebResourceRequested(IWebResourceRequestedArgs& args);
    void OnPermissionRequested(IPermissionRequestedArgs& args);
    void OnContainsFullScreenElementChanged();
    void OnWindowCloseRequested();
    void OnNewWindowRequested(INewWindowRequestedArgs& args);
    void OnWebMessageReceived(IWebMessageReceivedArgs& args);
    void OnDomContentLoaded();
    void OnAcceleratorKeyPressed(IAcceleratorKeyPressedArgs& args);
};
