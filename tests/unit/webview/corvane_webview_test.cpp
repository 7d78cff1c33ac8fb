#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/unit/webview/host_rig.h"
#include "webview/browser_folder.h"
#include "webview/origin.h"
#include "webview/webview_messages.h"

namespace {

struct CorvaneWebViewTest : testing::Test, HostRig {
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(std::vector<std::string>(), runtime.faults);
    }
    void Create() { host = MakeHost(); }
    void Start() { host = StartHost(); }

    std::unique_ptr<CorvaneWebView> host;
};

}

TEST_F(CorvaneWebViewTest, BundleModeCreatesSetsUpAttachesAndNavigatesInOrder)
{
    Configure(R"({"name": "game", "chromium-args": "--disable-gpu"})");
    Create();
    host->Init();
    EXPECT_EQ((std::vector<std::string>{"CreateEnvironment (none) | C:\\Users\\u\\AppData\\Local\\game | --disable-gpu"}),
        runtime.calls);
    EXPECT_TRUE(desktop.calls.empty());

    runtime.CompleteEnvironment();
    EXPECT_EQ("CreateController 4660", runtime.calls.back());
    runtime.CompleteController();
    std::vector<std::string> expected = {runtime.calls[0], runtime.calls[1], "SetIsVisible false", "IsScriptEnabled true",
        "AreHostObjectsAllowed false", "AreDefaultScriptDialogsEnabled true", "IsWebMessageEnabled true",
        "IsZoomControlEnabled false", "AreDefaultContextMenusEnabled true", "AreDevToolsEnabled true",
        "AreBrowserAcceleratorKeysEnabled false", "SetBounds 0 0 800 600",
        "Navigate https://velmora.localhost/index.html"};
    EXPECT_EQ(expected, runtime.calls);
    std::vector<std::string> handlers = {"AcceleratorKeyPressed", "DocumentTitleChanged",
        "filter https://velmora.localhost/* all sources", "WebResourceRequested", "NavigationStarting",
        "PermissionRequested", "ContainsFullScreenElementChanged", "WindowCloseRequested", "ProcessFailed",
        "NewWindowRequested", "WebMessageReceived", "DOMContentLoaded"};
    EXPECT_EQ(handlers, runtime.handlers);
    EXPECT_EQ(VirtualOrigin, host->Origin());

    host.reset();
    EXPECT_EQ("Close", runtime.calls.back()) << "the controller is closed before it is let go";
}

TEST_F(CorvaneWebViewTest, ARuntimeWithoutWorkerFiltersGetsTheDocumentFilter)
{
    runtime.hasWebView22 = false;
    Start();
    EXPECT_EQ("filter https://velmora.localhost/*", runtime.handlers[2]);
}

TEST_F(CorvaneWebViewTest, RemoteModeNeitherFiltersNorRestrictsNavigation)
{
    Configure(R"({"name": "game", "main": "https://example.com/play", "settings": {"content-mode": "remote"}})");
    Start();
    std::vector<std::string> handlers = {"AcceleratorKeyPressed", "DocumentTitleChanged", "PermissionRequested",
        "ContainsFullScreenElementChanged", "WindowCloseRequested", "ProcessFailed", "NewWindowRequested",
        "WebMessageReceived", "DOMContentLoaded"};
    EXPECT_EQ(handlers, runtime.handlers);
    EXPECT_EQ("Navigate https://example.com/play", runtime.calls.back());
    EXPECT_EQ("https://example.com/play", host->Origin());
}

TEST_F(CorvaneWebViewTest, HostingModeAndDistributionModeReachTheRuntime)
{
    Configure(R"({"name": "game", "settings": {"hosting-mode": "window-to-visual", "distribution-mode": "fixed"}})");
    Create();
    host->Init();
    EXPECT_EQ((std::vector<std::string>{
                  "environment COREWEBVIEW2_FORCED_HOSTING_MODE=COREWEBVIEW2_HOSTING_MODE_WINDOW_TO_VISUAL"}),
        desktop.calls);
    EXPECT_EQ("CreateEnvironment C:\\Games\\Game\\webview2 | C:\\Users\\u\\AppData\\Local\\game | ", runtime.calls[0]);
    runtime.CompleteEnvironment();
    EXPECT_EQ(1u, desktop.calls.size()) << "the controller reads it too";
    runtime.CompleteController();
    EXPECT_EQ("environment COREWEBVIEW2_FORCED_HOSTING_MODE removed", desktop.calls.back())
        << "programs started later must not inherit it";

    EXPECT_EQ(std::nullopt, BrowserFolderFor(DistributionMode::Evergreen, "C:\\Games\\Game\\"));
}

TEST_F(CorvaneWebViewTest, TheBackgroundColourIsSetBeforeTheRuntimeStartsAndBeforeTheFirstNavigation)
{
    Configure(R"({"name": "game", "window": {"background-color": "#10203A"}})");
    Create();
    host->Init();
    EXPECT_EQ((std::vector<std::string>{"environment WEBVIEW2_DEFAULT_BACKGROUND_COLOR=FF10203A"}), desktop.calls);
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    auto at = [this](const std::string& call) {
        return std::find(runtime.calls.begin(), runtime.calls.end(), call) - runtime.calls.begin();
    };
    EXPECT_LT(at("SetDefaultBackgroundColor #10203a"), at("Navigate https://velmora.localhost/index.html"));
    EXPECT_EQ((std::vector<std::string>{"environment WEBVIEW2_DEFAULT_BACKGROUND_COLOR=FF10203A",
                  "environment WEBVIEW2_DEFAULT_BACKGROUND_COLOR removed"}),
        desktop.calls)
        << "the controller keeps the colour";
    EXPECT_LT(at("Navigate https://velmora.localhost/index.html"), static_cast<long>(runtime.calls.size()));
}

TEST_F(CorvaneWebViewTest, AutoplayAddsItsSwitchToTheAppsArgumentsOnce)
{
    auto argumentsFor = [this](const std::string& package) {
        Configure(package);
        Create();
        runtime.calls.clear();
        host->Init();
        std::string call = runtime.calls.at(0);
        return call.substr(call.rfind(" | ") + 3);
    };
    EXPECT_EQ("--disable-gpu  --mute-audio --autoplay-policy=no-user-gesture-required",
        argumentsFor(R"({"name": "g", "chromium-args": "--disable-gpu  --mute-audio", "settings": {"autoplay": true}})"));
    EXPECT_EQ("--autoplay-policy=document-user-activation-required --x",
        argumentsFor(R"({"name": "g", "chromium-args": "--autoplay-policy=document-user-activation-required --x",
            "settings": {"autoplay": true}})"))
        << "the app's own value stays, and is not doubled";
    EXPECT_EQ("--autoplay-policy=no-user-gesture-required",
        argumentsFor(R"({"name": "g", "settings": {"autoplay": true}})"));
    EXPECT_EQ("--autoplay-policy-x --y", argumentsFor(R"({"name": "g", "chromium-args": "--autoplay-policy-x --y"})"));
    EXPECT_EQ("--autoplay-policy-x --y --autoplay-policy=no-user-gesture-required",
        argumentsFor(R"({"name": "g", "chromium-args": "--autoplay-policy-x --y", "settings": {"autoplay": true}})"))
        << "a longer switch that starts alike is another switch";
}

// Each key that becomes browser arguments merges with the app's own, in a
// fixed order, and the Wine arguments reach the runtime only under Wine.
TEST_F(CorvaneWebViewTest, ShippersKeysBecomeBrowserArgumentsInOrderAndWineOnesOnlyUnderWine)
{
    auto argumentsFor = [this](const std::string& package, bool underWine) {
        Configure(package);
        launch.underWine = underWine;
        Create();
        runtime.calls.clear();
        host->Init();
        std::string call = runtime.calls.at(0);
        return call.substr(call.rfind(" | ") + 3);
    };
    const std::string all = R"({"name": "g", "chromium-args": "--disable-frame-rate-limit --mute-audio",
        "window": {"frame-rate": "unlimited"}, "settings": {"autoplay": true, "run-in-background": true,
        "gpu": "high-performance", "wine-browser-arguments": "--disable-gpu --mute-audio  --disable-gpu-compositing"}})";
    const std::string windows = "--disable-frame-rate-limit --mute-audio --autoplay-policy=no-user-gesture-required "
                                "--disable-background-timer-throttling --disable-renderer-backgrounding "
                                "--disable-backgrounding-occluded-windows --disable-gpu-vsync --force_high_performance_gpu";
    EXPECT_EQ(windows, argumentsFor(all, false)) << "the app's switches stay, and none is doubled";
    EXPECT_EQ(windows + " --disable-gpu --disable-gpu-compositing", argumentsFor(all, true));
    EXPECT_EQ("", argumentsFor(R"({"name": "g", "window": {"frame-rate": "vsync"}, "settings": {"gpu": "default"}})", true))
        << "the defaults add nothing";
}

// "run-in-background": the WebView stays visible to the runtime while the
// window is minimised, from a minimised start too.
TEST_F(CorvaneWebViewTest, AGameThatRunsInTheBackgroundKeepsRenderingWhenMinimised)
{
    Configure(R"({"name": "g", "settings": {"run-in-background": true}})");
    window.launchedMinimized = true;
    Start();
    runtime.RaiseDomContentLoaded();
    EXPECT_EQ("show minimized", window.calls.back());
    host->OnWindowSized(true);
    host->OnWindowSized(false);
    host->OnWindowSized(true);
    std::vector<std::string> visibility;
    std::copy_if(runtime.calls.begin(), runtime.calls.end(), std::back_inserter(visibility),
        [](const std::string& call) { return call.rfind("SetIsVisible", 0) == 0; });
    EXPECT_EQ((std::vector<std::string> {"SetIsVisible false", "SetIsVisible true"}), visibility);
}

TEST_F(CorvaneWebViewTest, DevToolsFollowTheConfigurationAndOpenOncePerF12Stroke)
{
    using Kind = IAcceleratorKeyPressedArgs::KeyEventKind;
    Start();
    EXPECT_FALSE(runtime.RaiseAcceleratorKeyPressed(122));
    EXPECT_TRUE(runtime.RaiseAcceleratorKeyPressed(123, Kind::KeyDown));
    EXPECT_EQ("OpenDevToolsWindow", runtime.calls.back());
    EXPECT_TRUE(runtime.RaiseAcceleratorKeyPressed(123, Kind::KeyDown, true)) << "auto-repeat";
    EXPECT_TRUE(runtime.RaiseAcceleratorKeyPressed(123, Kind::KeyUp, true));
    EXPECT_TRUE(runtime.RaiseAcceleratorKeyPressed(123, Kind::SystemKeyDown));
    EXPECT_EQ(1, std::count(runtime.calls.begin(), runtime.calls.end(), "OpenDevToolsWindow"));

    WebViewDouble closed;
    Configure(R"({"name": "game", "settings": {"enable-devtools": false}})");
    host = std::make_unique<CorvaneWebView>(config, site, bodies, window, desktop, closed, extensions, WebViewFolders(), Launch());
    host->Init();
    closed.CompleteEnvironment();
    closed.CompleteController();
    EXPECT_FALSE(closed.RaiseAcceleratorKeyPressed(123)) << "the page keeps F12";
    EXPECT_EQ(0, std::count(closed.calls.begin(), closed.calls.end(), "OpenDevToolsWindow"));
    EXPECT_EQ(1, std::count(closed.calls.begin(), closed.calls.end(), "AreDevToolsEnabled false"));
    EXPECT_EQ(1, std::count(closed.calls.begin(), closed.calls.end(), "AreBrowserAcceleratorKeysEnabled false"));
    host.reset();
}

TEST_F(CorvaneWebViewTest, WithoutSettings3TheKeysStayOnAndF12IsNotWatched)
{
    runtime.hasSettings3 = false;
    Start();
    EXPECT_EQ(0, std::count(runtime.calls.begin(), runtime.calls.end(), "AreBrowserAcceleratorKeysEnabled false"));
    EXPECT_EQ("DocumentTitleChanged", runtime.handlers.front());
}

TEST_F(CorvaneWebViewTest, CreationFailuresEndTheRunWithOneMessageAfterTheCallback)
{
    struct Case {
        bool environmentOk, environmentObject, controllerOk, controllerObject, webView2;
        const char* text;
    };
    const Case cases[] = {
        {false, true, true, true, true, WebViewMessage::EnvironmentFailed},
        {true, false, true, true, true, WebViewMessage::EnvironmentFailed},
        {true, true, false, true, true, WebViewMessage::ControllerFailed},
        {true, true, true, false, true, WebViewMessage::ControllerFailed},
        {true, true, true, true, false, WebViewMessage::RuntimeTooOld},
    };
    for (const Case& c : cases) {
        WebViewDouble failing;
        DesktopModel failed;
        failing.hasWebView2 = c.webView2;
        CorvaneWebView webView(config, site, bodies, window, failed, failing, extensions, WebViewFolders(), Launch());
        webView.Init();
        failing.CompleteEnvironment(c.environmentOk, c.environmentObject);
        if (c.environmentOk && c.environmentObject)
            failing.CompleteController(c.controllerOk, c.controllerObject);
        EXPECT_TRUE(failed.calls.empty()) << "no message box inside the runtime's callback";
        for (; window.postedWork > 0; --window.postedWork)
            webView.OnPostedWork();
        EXPECT_EQ((std::vector<std::string>{std::string("fail ") + c.text}), failed.calls);
        EXPECT_TRUE(failing.handlers.empty());
        EXPECT_NE("Navigate", failing.calls.back().substr(0, 8));
    }
}

TEST_F(CorvaneWebViewTest, WindowFollowsTitleLoadFullScreenAndCloseEvents)
{
    Start();
    EXPECT_FALSE(window.visible);
    runtime.RaiseDomContentLoaded();
    EXPECT_TRUE(window.visible);
    EXPECT_EQ("SetIsVisible true", runtime.calls[runtime.calls.size() - 2]);
    EXPECT_EQ("MoveFocus", runtime.calls.back());
    size_t before = runtime.calls.size();
    window.calls.clear();
    runtime.RaiseDomContentLoaded();
    EXPECT_EQ(before, runtime.calls.size()) << "later documents neither show nor take the focus";
    EXPECT_TRUE(window.calls.empty());

    runtime.RaiseDocumentTitleChanged("https://velmora.localhost/index.html");
    runtime.RaiseDocumentTitleChanged("velmora.localhost/index.html");
    EXPECT_EQ("Windows Velmora", window.title) << "an untitled page keeps the configured title";
    runtime.RaiseDocumentTitleChanged("Level 1");
    EXPECT_EQ("Level 1", window.title);
    runtime.RaiseDocumentTitleChanged("");
    EXPECT_EQ("", window.title);

    runtime.RaiseContainsFullScreenElementChanged(true);
    EXPECT_TRUE(host->IsFullscreen());
    EXPECT_EQ(window.monitor, window.frame);
    runtime.RaiseContainsFullScreenElementChanged(false);
    EXPECT_FALSE(host->IsFullscreen());

    EXPECT_TRUE(runtime.RaisePermissionRequested());
}

TEST_F(CorvaneWebViewTest, APageCloseIsPostedAndTheControllerClosesWhileTheWindowExists)
{
    Start();
    runtime.RaiseWindowCloseRequested();
    EXPECT_EQ("close", window.calls.back());
    EXPECT_EQ(1, window.postedCloses) << "posted, so the window is not destroyed inside the runtime's callback";
    EXPECT_NE("Close", runtime.calls.back());

    DeliverClose(*host);
    EXPECT_EQ("Close", runtime.calls.back());
    size_t closed = runtime.calls.size();
    host->OnWindowSized(false);
    host->OnWindowActivated();
    host->PostJsonToPage("{}");
    host.reset();
    EXPECT_EQ(closed, runtime.calls.size()) << "nothing reaches a closed WebView, and it is closed once";
    EXPECT_TRUE(runtime.pageMessages.empty());
}

TEST_F(CorvaneWebViewTest, TheDoubleFaultsAControllerClosedAfterItsWindow)
{
    Start();
    window.destroyed = true;
    host.reset();
    EXPECT_EQ(std::vector<std::string>{"the controller was closed after its parent window was destroyed"},
        runtime.faults);
    runtime.faults.clear();
}

TEST_F(CorvaneWebViewTest, TheFocusGoesBackIntoTheWebViewWhenTheWindowIsActivated)
{
    Start();
    auto focusMoves = [this] { return std::count(runtime.calls.begin(), runtime.calls.end(), "MoveFocus"); };
    host->OnWindowActivated();
    EXPECT_EQ(0, focusMoves()) << "not before the window is shown";
    runtime.RaiseDomContentLoaded();
    EXPECT_EQ(1, focusMoves());
    host->OnWindowActivated();
    EXPECT_EQ(2, focusMoves());
    host->OnWindowSized(true);
    host->OnWindowActivated();
    EXPECT_EQ(2, focusMoves()) << "a minimised window's WebView is hidden";
    host->OnWindowSized(false);
    EXPECT_EQ(3, focusMoves()) << "restored";
    EXPECT_EQ("MoveFocus", runtime.calls.back());
}

TEST_F(CorvaneWebViewTest, AFailedRendererReloadsAFewTimesThenEndsTheRun)
{
    using Kind = IProcessFailedArgs::FailedKind;
    Start();
    size_t before = runtime.calls.size();
    runtime.RaiseProcessFailed(Kind::RenderProcessExited);
    EXPECT_EQ(before, runtime.calls.size()) << "not inside the runtime's callback";
    DeliverPostedWork(*host);
    EXPECT_EQ("Navigate https://velmora.localhost/index.html", runtime.calls.at(before))
        << "before the first document, the start page again, so that the window is still shown";
    runtime.RaiseDomContentLoaded();
    runtime.RaiseProcessFailed(Kind::RenderProcessExited);
    DeliverPostedWork(*host);
    EXPECT_EQ("Reload", runtime.calls.back());
    for (Kind other : {Kind::Other, Kind::Other, Kind::Other})
        runtime.RaiseProcessFailed(other);
    DeliverPostedWork(*host);
    EXPECT_EQ("Reload", runtime.calls.back());
    EXPECT_TRUE(desktop.calls.empty()) << "the runtime recovers from its other processes itself";

    runtime.RaiseProcessFailed(Kind::RenderProcessExited);
    runtime.RaiseProcessFailed(Kind::RenderProcessExited);
    DeliverPostedWork(*host);
    EXPECT_EQ(std::vector<std::string>{std::string("fail ") + WebViewMessage::PageKeepsFailing}, desktop.calls);
    EXPECT_EQ(2, std::count(runtime.calls.begin(), runtime.calls.end(), "Reload")) << "three in a minute, no more";
    runtime.RaiseProcessFailed(Kind::BrowserProcessExited);
    DeliverPostedWork(*host);
    EXPECT_EQ(1u, desktop.calls.size()) << "one box per run";
}

// The runtime repeats "unresponsive" every few seconds while the page runs
// long script: a busy game is neither reloaded nor counted as a failure;
// after a long spell the player is asked, and the answer is obeyed.
TEST_F(CorvaneWebViewTest, ABusyPageIsWaitedForAndAskedAboutOnlyAfterALongSpell)
{
    using namespace std::chrono_literals;
    Start();
    runtime.RaiseDomContentLoaded();
    auto busyFor = [&](std::chrono::seconds spell) {
        for (auto at = 0s; at <= spell; at += 3s) {
            desktop.now += 3s;
            runtime.RaiseProcessFailed(IProcessFailedArgs::FailedKind::RenderProcessUnresponsive);
            DeliverPostedWork(*host);
        }
    };
    size_t before = runtime.calls.size();
    for (int spell = 0; spell < 6; ++spell) {
        busyFor(12s);
        desktop.now += 15s;
    }
    EXPECT_EQ(before, runtime.calls.size()) << "six busy spells of 12 s: no reload";
    EXPECT_TRUE(desktop.calls.empty()) << "no question, no failure";

    busyFor(30s);
    EXPECT_EQ(std::vector<std::string> {"ask Windows Velmora"}, desktop.calls) << "once a spell, while still busy";
    EXPECT_EQ(before, runtime.calls.size()) << "the player said wait";
    desktop.now += 15s;
    desktop.reloadAnswer = true;
    busyFor(21s);
    EXPECT_EQ("ask Windows Velmora", desktop.calls.back());
    EXPECT_EQ("Reload", runtime.calls.back()) << "the player said reload";
    EXPECT_EQ(2u, desktop.calls.size());
    busyFor(15s);
    EXPECT_EQ(2u, desktop.calls.size()) << "a reloaded page starts a new spell";
}

TEST_F(CorvaneWebViewTest, ALostBrowserProcessEndsTheRunEvenBeforeTheWindowIsShown)
{
    Start();
    runtime.RaiseProcessFailed(IProcessFailedArgs::FailedKind::BrowserProcessExited);
    EXPECT_TRUE(desktop.calls.empty()) << "no message box inside the runtime's callback";
    DeliverPostedWork(*host);
    EXPECT_EQ(std::vector<std::string>{std::string("fail ") + WebViewMessage::RuntimeStopped}, desktop.calls);
}

TEST_F(CorvaneWebViewTest, ACreationReportedTwiceIsHandledOnce)
{
    Create();
    host->Init();
    runtime.CompleteEnvironment(false, false);
    runtime.CompleteEnvironment();
    EXPECT_EQ(0, std::count_if(runtime.calls.begin(), runtime.calls.end(),
                     [](const std::string& call) { return call.rfind("CreateController", 0) == 0; }));
    DeliverPostedWork(*host);
    EXPECT_EQ(std::vector<std::string>{std::string("fail ") + WebViewMessage::EnvironmentFailed}, desktop.calls);

    WebViewDouble twice;
    CorvaneWebView webView(config, site, bodies, window, desktop, twice, extensions, WebViewFolders(), Launch());
    webView.Init();
    twice.CompleteEnvironment();
    twice.CompleteController();
    twice.CompleteController(false, false);
    EXPECT_EQ(1, std::count_if(twice.calls.begin(), twice.calls.end(),
                     [](const std::string& call) { return call.rfind("Navigate", 0) == 0; }));
}

TEST_F(CorvaneWebViewTest, ARefusedWorkerFilterFallsBackToTheDocumentFilter)
{
    runtime.refused = "filter https://velmora.localhost/* all sources";
    Start();
    EXPECT_EQ("filter https://velmora.localhost/*", runtime.handlers[2]);
    EXPECT_EQ("Navigate https://velmora.localhost/index.html", runtime.calls.back());
}

TEST_F(CorvaneWebViewTest, NavigationStaysWithinTheVirtualOrigin)
{
    Start();
    EXPECT_FALSE(runtime.RaiseNavigationStarting("https://velmora.localhost/level2.html"));
    EXPECT_TRUE(runtime.RaiseNavigationStarting("https://example.com/"));
    EXPECT_TRUE(runtime.RaiseNavigationStarting("https://VELMORA.localhost/index.html"));
    EXPECT_TRUE(runtime.RaiseNavigationStarting("https://velmora.localhost"));
}

TEST_F(CorvaneWebViewTest, NewWindowsGoToTheShellOnlyForWebLinksAfterTheCallback)
{
    Start();
    for (const char* url : {"https://example.com/help", "mailto:team@example.com"}) {
        size_t before = desktop.calls.size();
        EXPECT_TRUE(runtime.RaiseNewWindowRequested(url));
        EXPECT_EQ(before, desktop.calls.size()) << "the shell may show a dialog: not inside the runtime's callback";
        DeliverPostedWork(*host);
        EXPECT_EQ(std::string("shell ") + url, desktop.calls.back());
    }
    desktop.calls.clear();
    for (const char* url : {"file:///C:/Windows/System32/calc.exe", "search-ms:query=x", "ms-msdt:/id x",
             "steam://run/1", "C:\\evil.exe", "relative/page.html", "", "https://velmora.localhost/index.html"}) {
        EXPECT_TRUE(runtime.RaiseNewWindowRequested(url)) << url;
    }
    DeliverPostedWork(*host);
    EXPECT_TRUE(desktop.calls.empty());
}

TEST_F(CorvaneWebViewTest, WebMessagesAreTakenOnlyFromTheOrigin)
{
    Start();
    const std::string resize = R"({"type":"set-window-size","windowWidth":400,"windowHeight":300})";
    runtime.RaiseWebMessage("https://elsewhere.example/", resize);
    runtime.RaiseWebMessage("https://velmora.localhost/index.html", std::nullopt);
    EXPECT_TRUE(window.calls.empty());
    runtime.RaiseWebMessage("https://velmora.localhost/index.html", resize);
    EXPECT_EQ("resize 416 339", window.calls.back());
}

TEST_F(CorvaneWebViewTest, RemoteOriginsMatchOnlyAtABoundary)
{
    Configure(R"({"name": "game", "main": "https://example.com", "settings": {"content-mode": "remote"}})");
    Start();
    const std::string move = R"({"type":"set-window-position","windowX":5,"windowY":6})";
    runtime.RaiseWebMessage("https://example.com.evil.net/", move);
    runtime.RaiseWebMessage("https://example.comx", move);
    EXPECT_TRUE(window.calls.empty());
    for (const char* source : {"https://example.com", "https://example.com/", "https://example.com?a", "https://example.com#b"})
        runtime.RaiseWebMessage(source, move);
    EXPECT_EQ(4u, window.calls.size());
}

TEST_F(CorvaneWebViewTest, ResourceRequestsAreAnsweredFromTheSite)
{
    folder.Write("www/img/a b.txt", "0123456789");
    Start();
    std::optional<RecordedResponse> whole = runtime.RaiseWebResourceRequested("https://velmora.localhost/img/a%20b.txt");
    ASSERT_TRUE(whole);
    EXPECT_EQ(200, whole->status);
    EXPECT_EQ("OK", whole->reason);
    EXPECT_EQ("Cache-Control: no-store\nContent-Type: text/plain; charset=utf-8\nAccept-Ranges: bytes\n"
              "Content-Length: 10",
        whole->headers);
    EXPECT_EQ("0123456789", whole->body);

    std::optional<RecordedResponse> part =
        runtime.RaiseWebResourceRequested("https://velmora.localhost/img/a%20b.txt", {{"Range", "bytes=2-4"}});
    ASSERT_TRUE(part);
    EXPECT_EQ(206, part->status);
    EXPECT_EQ("234", part->body);

    std::optional<RecordedResponse> root = runtime.RaiseWebResourceRequested("https://velmora.localhost/");
    ASSERT_TRUE(root);
    EXPECT_EQ(404, root->status);
    EXPECT_EQ("File not found", root->body);

    std::optional<RecordedResponse> unsatisfiable =
        runtime.RaiseWebResourceRequested("https://velmora.localhost/img/a%20b.txt", {{"Range", "bytes=10-"}});
    ASSERT_TRUE(unsatisfiable);
    EXPECT_EQ(416, unsatisfiable->status);
    EXPECT_EQ(std::nullopt, unsatisfiable->body);
}

TEST_F(CorvaneWebViewTest, OnlyRequestsWithinTheOriginAreAnswered)
{
    folder.Write("www/index.html", "<p>");
    Start();
    for (const char* uri : {"https://elsewhere.example/index.html", "https://velmora.localhost", "",
             "https://VELMORA.localhost/index.html", "https://evil.example/https://velmora.localhost/index.html"})
        EXPECT_EQ(std::nullopt, runtime.RaiseWebResourceRequested(uri)) << uri;
    EXPECT_EQ("<p>", runtime.RaiseWebResourceRequested("https://velmora.localhost/index.html")->body);
}

TEST_F(CorvaneWebViewTest, ABodyThatCannotBeMadeGivesAFreshInternalError)
{
    folder.Write("www/index.html", "<p>");
    Start();
    bodies.failing = true;
    std::optional<RecordedResponse> failed = runtime.RaiseWebResourceRequested("https://velmora.localhost/index.html");
    ASSERT_TRUE(failed);
    EXPECT_EQ(500, failed->status);
    EXPECT_EQ("Internal Server Error", failed->reason);
    EXPECT_EQ("Cache-Control: no-store\nContent-Type: text/html; charset=utf-8\nAccept-Ranges: bytes",
        failed->headers);
    EXPECT_EQ(std::nullopt, failed->body);
    bodies.failing = false;
    EXPECT_EQ(200, runtime.RaiseWebResourceRequested("https://velmora.localhost/index.html")->status);
}

TEST_F(CorvaneWebViewTest, ARefusedHandlerOrFilterEndsTheRunBeforeNavigating)
{
    for (const char* refused : {"filter", "WebResourceRequested", "DOMContentLoaded", "WebMessageReceived"}) {
        WebViewDouble refusing;
        DesktopModel failed;
        refusing.refused = refused;
        CorvaneWebView webView(config, site, bodies, window, failed, refusing, extensions, WebViewFolders(), Launch());
        webView.Init();
        refusing.CompleteEnvironment();
        refusing.CompleteController();
        for (; window.postedWork > 0; --window.postedWork)
            webView.OnPostedWork();
        EXPECT_EQ((std::vector<std::string>{std::string("fail ") + WebViewMessage::ControllerFailed}), failed.calls)
            << refused;
        EXPECT_EQ(0, std::count_if(refusing.calls.begin(), refusing.calls.end(),
                         [](const std::string& call) { return call.compare(0, 8, "Navigate") == 0; }))
            << refused;
    }
}

TEST_F(CorvaneWebViewTest, WindowChangesReachTheControllerOnlyOnceItExists)
{
    Create();
    host->OnWindowSized(false);
    host->OnWindowMoved();
    EXPECT_TRUE(runtime.calls.empty());

    host->Init();
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    window.frame = {0, 0, 516, 439};
    host->OnWindowSized(false);
    EXPECT_EQ("SetBounds 0 0 500 400", runtime.calls.back());
    host->OnWindowMoved();
    EXPECT_EQ("NotifyParentWindowPositionChanged", runtime.calls.back());
}

TEST_F(CorvaneWebViewTest, TheWebViewIsHiddenUntilShownAndWhileMinimized)
{
    Start();
    auto visibility = [this] {
        std::vector<std::string> seen;
        for (const std::string& call : runtime.calls)
            if (call.compare(0, 12, "SetIsVisible") == 0 || call.compare(0, 8, "Navigate") == 0)
                seen.push_back(call);
        return seen;
    };
    host->OnWindowSized(true);
    EXPECT_EQ((std::vector<std::string>{"SetIsVisible false", "Navigate https://velmora.localhost/index.html"}),
        visibility()) << "hidden before navigating; a minimise before the first show changes nothing";
    runtime.RaiseDomContentLoaded();
    host->OnWindowSized(true);
    host->OnWindowSized(true);
    host->OnWindowSized(false);
    host->OnWindowSized(false);
    EXPECT_EQ((std::vector<std::string>{"SetIsVisible false", "Navigate https://velmora.localhost/index.html",
                  "SetIsVisible true", "SetIsVisible false", "SetIsVisible true"}),
        visibility());
}

TEST_F(CorvaneWebViewTest, TheWindowStartsWhereThePlayerLeftItOrFullScreenWhenAskedFor)
{
    Configure(R"({"name": "game", "window": {"fullscreen": true, "remember-placement": true}})");
    Create();
    host->PlaceAtStart(SavedPlacement {{300, 200, 1100, 800}, true, false});
    EXPECT_FALSE(host->IsFullscreen()) << "the player left full screen last time";
    EXPECT_EQ("restore 300 200 1100 800", window.calls.back());
    host->Init();
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    runtime.RaiseDomContentLoaded();
    EXPECT_EQ("show maximized", window.calls.back());
    host.reset();

    window = MainWindowModel();
    Create();
    host->PlaceAtStart(std::nullopt);
    EXPECT_TRUE(host->IsFullscreen());
    EXPECT_EQ(window.monitor, window.frame);
    EXPECT_FALSE(window.visible);
    host->OnWindowDestroying();
    ASSERT_TRUE(host->PlacementToRemember());
    EXPECT_TRUE(host->PlacementToRemember()->fullscreen);
    EXPECT_EQ(800 + 16, host->PlacementToRemember()->normal.Width()) << "the windowed frame full screen restores";
    EXPECT_EQ((1920 - 816) / 2, host->PlacementToRemember()->normal.left);
    host.reset();

    window = MainWindowModel();
    Create();
    host->PlaceAtStart(SavedPlacement {{10, 20, 810, 620}, false, true});
    EXPECT_TRUE(host->IsFullscreen());
    host->OnWindowDestroying();
    EXPECT_EQ((WindowRect {10, 20, 810, 620}), host->PlacementToRemember()->normal);
}

// A shortcut set to "Minimized": the window starts minimised and the
// WebView stays hidden (not rendering) until the player restores it.
TEST_F(CorvaneWebViewTest, AMinimisedStartKeepsTheWebViewHiddenUntilRestored)
{
    window.launchedMinimized = true;
    Start();
    runtime.RaiseDomContentLoaded();
    EXPECT_EQ("show minimized", window.calls.back());
    auto visibility = [this] {
        std::vector<std::string> calls;
        std::copy_if(runtime.calls.begin(), runtime.calls.end(), std::back_inserter(calls),
            [](const std::string& call) { return call.rfind("SetIsVisible", 0) == 0; });
        return calls;
    };
    EXPECT_EQ(std::vector<std::string> {"SetIsVisible false"}, visibility());
    host->OnWindowSized(true);
    host->OnWindowActivated();
    EXPECT_EQ(std::vector<std::string> {"SetIsVisible false"}, visibility());
    host->OnWindowSized(false);
    EXPECT_EQ((std::vector<std::string> {"SetIsVisible false", "SetIsVisible true"}), visibility());
    EXPECT_EQ("MoveFocus", runtime.calls.back());
}

// Each combination of maximised and full screen comes back as it was left,
// leaves full screen as it was before, and is remembered so again.
TEST_F(CorvaneWebViewTest, MaximisedAndFullScreenComeBackInEveryCombination)
{
    Configure(R"({"name": "game", "window": {"remember-placement": true}})");
    const WindowRect normal {10, 20, 810, 620};
    for (bool maximized : {false, true}) {
        for (bool fullscreen : {false, true}) {
            std::string combination = std::string(maximized ? "maximised" : "normal") + (fullscreen ? ", full screen" : "");
            host.reset();
            window = MainWindowModel();
            Create();
            host->PlaceAtStart(SavedPlacement {normal, maximized, fullscreen});
            host->Init();
            runtime.CompleteEnvironment();
            runtime.CompleteController();
            runtime.RaiseDomContentLoaded();
            EXPECT_EQ(fullscreen, host->IsFullscreen()) << combination;
            EXPECT_EQ(maximized && !fullscreen, window.maximized) << combination << ": shown so";
            host->OnWindowDestroying();
            ASSERT_TRUE(host->PlacementToRemember()) << combination;
            EXPECT_EQ(normal, host->PlacementToRemember()->normal) << combination;
            EXPECT_EQ(maximized, host->PlacementToRemember()->maximized) << combination << ": remembered again";
            EXPECT_EQ(fullscreen, host->PlacementToRemember()->fullscreen) << combination;
        }
    }
    host.reset();
    window = MainWindowModel();
    Start();
    host->PlaceAtStart(SavedPlacement {normal, true, true});
    runtime.RaiseDomContentLoaded();
    runtime.RaiseContainsFullScreenElementChanged(false);
    EXPECT_FALSE(host->IsFullscreen());
    EXPECT_TRUE(window.maximized) << "full screen is left for the maximised window it covered";
    EXPECT_EQ(normal, window.normalFrame);
}

TEST_F(CorvaneWebViewTest, NothingIsRememberedUnlessAskedForAndPerMonitorDpiSizesForTheWindowsOwnMonitor)
{
    Configure(R"({"name": "game", "window": {"width": 400, "height": 300, "dpi-awareness": "per-monitor"}})");
    window.dpiFactor = 2.0f;
    Create();
    host->PlaceAtStart(std::nullopt);
    EXPECT_EQ("resize 816 639", window.calls.back());
    host->OnWindowDestroying();
    EXPECT_FALSE(host->PlacementToRemember());
}
