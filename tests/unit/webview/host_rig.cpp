#include "tests/unit/webview/host_rig.h"

#include "webview/browser_folder.h"

HostRig::HostRig()
{
    Configure(R"({"name": "game"})");
    runtime.parentExists = [this] { return !window.destroyed; };
}

void HostRig::Configure(const std::string& packageJson)
{
    config = AppConfig();
    LoadAppConfig(packageJson, config);
}

std::unique_ptr<CorvaneWebView> HostRig::MakeHost()
{
    WebViewFolders folders {"C:\\Games\\Game\\", "www\\", "C:\\Users\\u\\AppData\\Local\\game",
        BrowserFolderFor(config.distributionMode, "C:\\Games\\Game\\")};
    return std::make_unique<CorvaneWebView>(config, site, bodies, window, desktop, runtime, extensions, folders, launch);
}

std::unique_ptr<CorvaneWebView> HostRig::StartHost()
{
    std::unique_ptr<CorvaneWebView> host = MakeHost();
    host->Init();
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    return host;
}

void HostRig::DeliverPostedWork(CorvaneWebView& host)
{
    for (; window.postedWork > 0; --window.postedWork)
        host.OnPostedWork();
}

void HostRig::DeliverClose(CorvaneWebView& host)
{
    if (window.postedCloses == 0 || window.destroyed)
        return;
    window.postedCloses = 0;
    if (!host.OnCloseRequested())
        return;
    host.OnWindowDestroying();
    window.destroyed = true;
}
