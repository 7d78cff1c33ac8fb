#include "startup_win32.h"

#include <cstdio>

#include <gdiplus.h>
#include <objbase.h>

#include "app_config.h"
#include "asset_bundle.h"
#include "browser_folder.h"
#include "bundle_file_win32.h"
#include "corvane_webview.h"
#include "desktop_win32.h"
#include "main_window_ops_win32.h"
#include "main_window_win32.h"
#include "message_box_win32.h"
#include "paths_win32.h"
#include "resource_server_win32.h"
#include "startup_messages.h"
#include "webview2_loader_win32.h"
#include "window_icon_win32.h"

namespace {

std::string FolderOf(const std::string& path)
{
    std::string::size_type slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(0, slash + 1);
}

std::string ReadPackageText(const std::string& path)
{
    std::string text;
    FILE* file = _wfopen(PlatformPath(path).c_str(), L"rbS");
    if (!file)
        return text;
    int64_t size = FileSize(path);
    if (size > 0) {
        text.resize(static_cast<size_t>(size));
        text.resize(fread(text.data(), 1, text.size(), file));
    }
    fclose(file);
    return text;
}

AppConfig LoadConfig(const std::string& appFolder)
{
    std::string text = ReadPackageText(appFolder + "package.json");
    if (text.empty())
        throw StartupFailure(StartupMessage::LoadPackage, DefaultWindowTitle);
    AppConfig config;
    try {
        LoadAppConfig(text, config);
    } catch (...) {
        throw StartupFailure(StartupMessage::ParsePackage, DefaultWindowTitle);
    }
    return config;
}

HICON LoadWindowIcon(HINSTANCE instance, const AppConfig& config, const std::string& appFolder)
{
    HICON icon = config.icon.empty() ? nullptr : LoadIconFromFile(appFolder + config.icon);
    return icon ? icon : LoadIconW(instance, MAKEINTRESOURCEW(32512));
}

// The evergreen runtime is looked for once more after the user was told;
// a fixed runtime must already be in place.
void CheckRuntime(IWebViewLoader& loader, const AppConfig& config, const std::optional<std::string>& browserFolder)
{
    if (config.distributionMode == DistributionMode::Fixed) {
        if (!loader.HasBrowserVersion(browserFolder))
            throw StartupFailure(StartupMessage::FixedRuntimeMissing, config.title);
        return;
    }
    if (loader.HasBrowserVersion(std::nullopt))
        return;
    ShowMessage(config.installMessage, config.title, MB_ICONINFORMATION);
    if (!loader.HasBrowserVersion(std::nullopt))
        throw StartupFailure(config.installFailedMessage, config.title);
}

HWND CreateWindowOrFail(HINSTANCE instance, const AppConfig& config, const std::wstring& title)
{
    if (!RegisterMainWindowClass(instance, static_cast<HICON>(config.iconHandle)))
        throw StartupFailure(StartupMessage::RegisterClassFailed, DefaultWindowTitle);
    HWND window = CreateMainWindow(instance, config, title);
    if (!window)
        throw StartupFailure(StartupMessage::CreateWindowFailed, DefaultWindowTitle);
    return window;
}

// A damaged bundle only warns: the app still runs from whatever entries were
// read and from the loose files in "www".
void OpenBundle(const std::string& path, AssetBundle& bundle, BundleFile& file)
{
    if (!FileExists(path))
        return;
    try {
        file.Open(path, bundle);
    } catch (...) {
        ShowMessage(StartupMessage::BundleUnreadable, DefaultWindowTitle, MB_ICONERROR);
    }
}

WPARAM RunMessageLoop()
{
    MSG msg = {};
    // GetMessageW gives -1 only for arguments this loop never passes; end the
    // loop then rather than spin on an error.
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return msg.wParam;
}

int Run(HINSTANCE instance)
{
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    std::string appFolder = FolderOf(GetExecutablePath());
    AppConfig config = LoadConfig(appFolder);
    std::string userDataFolder = GetKnownFolderPath(FOLDERID_LocalAppData) + "\\" + config.name;

    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    config.iconHandle = LoadWindowIcon(instance, config, appFolder);
    std::wstring titleWide = Utf8ToWide(config.title);

    const std::string webResourceFolder = "www\\";
    AssetBundle bundle;
    BundleFile bundleFile;
    ResourceServer resources(bundle, appFolder, webResourceFolder);
    WebView2Loader loader(appFolder, resources);
    std::optional<std::string> browserFolder = BrowserFolderFor(config.distributionMode, appFolder);
    CheckRuntime(loader, config, browserFolder);
    OpenBundle(appFolder + webResourceFolder + "assets.dat", bundle, bundleFile);

    Win32MainWindow window(CreateWindowOrFail(instance, config, titleWide));
    Win32Desktop desktop;
    ResourceSite site = resources.Site();
    CorvaneWebView webView(config, site, window, desktop, loader,
        {appFolder, webResourceFolder, userDataFolder, browserFolder});
    SetWindowHost(&webView);
    webView.Init();
    int exitCode = static_cast<int>(RunMessageLoop());

    resources.releaseMappedFiles();
    SetWindowHost(nullptr);
    bundle.clear();
    bundleFile.Close();
    Gdiplus::GdiplusShutdown(gdiplusToken);
    return exitCode;
}

}

int RunHost(HINSTANCE instance)
{
    try {
        return Run(instance);
    } catch (const StartupFailure& failure) {
        ShowMessage(failure.what(), failure.caption, MB_ICONERROR);
        return 1;
    }
}
