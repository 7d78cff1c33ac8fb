#include "app/startup_win32.h"

#include <gdiplus.h>
#include <objbase.h>

#include "app/launch_win32.h"
#include "app/single_instance_win32.h"
#include "app/startup_failure.h"
#include "app/startup_messages.h"
#include "app/user_data_mark_win32.h"
#include "assets/asset_bundle.h"
#include "assets/body_streams_win32.h"
#include "assets/bundle_image.h"
#include "assets/disk_files_win32.h"
#include "bridge/extension_library_win32.h"
#include "bridge/extension_manager.h"
#include "common/file_reading.h"
#include "common/message_box_win32.h"
#include "common/paths_win32.h"
#include "config/app_config.h"
#include "installer/installer_messages.h"
#include "installer/runtime_installer_win32.h"
#include "webview/browser_folder.h"
#include "webview/corvane_webview.h"
#include "webview/app_container_access_win32.h"
#include "webview/desktop_win32.h"
#include "webview/webview2_loader_win32.h"
#include "webview/webview_error.h"
#include "window/dpi_win32.h"
#include "window/main_window_win32.h"
#include "window/placement_store_win32.h"
#include "window/window_class_win32.h"
#include "window/window_icon_win32.h"

namespace {

AppConfig LoadConfig(const std::string& appFolder)
{
    std::string text = ReadWholeFile(appFolder + "package.json");
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

// The icon resource that the program's resource script embeds.
const WORD ApplicationIconId = 32512;

HICON LoadWindowIcon(HINSTANCE instance, const AppConfig& config, const std::string& appFolder)
{
    HICON icon = config.icon.empty() ? nullptr : LoadIconFromFile(appFolder + config.icon);
    return icon ? icon : LoadIconW(instance, MAKEINTRESOURCEW(ApplicationIconId));
}

// A missing evergreen runtime is installed after the user was told, then
// looked for once more; a fixed runtime must already be in place.
void CheckRuntime(HINSTANCE instance, IWebViewLoader& loader, const AppConfig& config,
    const std::optional<std::string>& browserFolder, const std::string& userDataFolder, bool underWine)
{
    if (config.distributionMode == DistributionMode::Fixed) {
        if (!loader.HasBrowserVersion(browserFolder))
            throw StartupFailure(StartupMessage::FixedRuntimeMissing, config.title);
        return;
    }
    if (loader.HasBrowserVersion(std::nullopt))
        return;
    ShowMessage(RuntimeOffer(config.installMessage, underWine), config.title, MB_ICONINFORMATION);
    InstallRuntime(instance, userDataFolder, config, underWine);
    if (!loader.HasBrowserVersion(std::nullopt))
        throw StartupFailure(config.installFailedMessage, config.title);
}

HWND CreateWindowOrFail(HINSTANCE instance, const AppConfig& config, const std::wstring& title)
{
    if (!RegisterMainWindowClass(instance, static_cast<HICON>(config.iconHandle), config.backgroundColor))
        throw StartupFailure(StartupMessage::RegisterClassFailed, DefaultWindowTitle);
    HWND window = CreateMainWindow(instance, config, title);
    if (!window)
        throw StartupFailure(StartupMessage::CreateWindowFailed, DefaultWindowTitle);
    return window;
}

// A damaged bundle only warns: the app still runs from whatever entries were
// read and from the loose files in "www".
void OpenBundle(const std::string& path, AssetBundle& bundle, std::shared_ptr<const MappedFile>& image)
{
    if (!FileExists(path))
        return;
    try {
        MapBundle(path, bundle, image);
    } catch (...) {
        ShowMessage(StartupMessage::BundleUnreadable, DefaultWindowTitle, MB_ICONERROR);
    }
}

std::unique_ptr<WebView2Loader> OpenLoader(const std::string& appFolder)
{
    try {
        return std::make_unique<WebView2Loader>(appFolder);
    } catch (const WebViewError& error) {
        throw StartupFailure(error.what(), DefaultWindowTitle);
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
    std::string appFolder = ExecutableFolder();
    AppConfig config = LoadConfig(appFolder);
    std::string executablePath = config.singleInstance ? GetExecutablePath() : std::string();
    if (config.singleInstance && HandOverToRunningCopy(executablePath))
        return 0;
    // Before any window: the windows take the thread's awareness.
    if (config.dpiAwareness == DpiAwareness::PerMonitor)
        UsePerMonitorDpi();
    std::string userDataFolder = GetKnownFolderPath(FOLDERID_LocalAppData) + "\\" + config.name;
    MarkUserDataFolder(userDataFolder, config.name);

    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    config.iconHandle = LoadWindowIcon(instance, config, appFolder);
    std::wstring titleWide = Utf8ToWide(config.title);

    const std::string webResourceFolder = "www\\";
    AssetBundle bundle;
    std::shared_ptr<const MappedFile> bundleImage;
    std::unique_ptr<WebView2Loader> loader = OpenLoader(appFolder);
    std::optional<std::string> browserFolder = BrowserFolderFor(config.distributionMode, appFolder);
    // Without these rights the fixed runtime cannot start on Windows 10; a
    // folder whose rights cannot be changed is left to the user.
    if (browserFolder)
        GrantAppContainerAccess(*browserFolder);
    Launch launch = LaunchOfThisProcess();
    CheckRuntime(instance, *loader, config, browserFolder, userDataFolder, launch.underWine);
    OpenBundle(appFolder + webResourceFolder + "assets.dat", bundle, bundleImage);
    // A missing or incomplete extension library is no error: the app runs
    // without components.
    ExtensionLibraryWin32 extensionLibrary;
    ExtensionManager extensions(extensionLibrary, appFolder, webResourceFolder, userDataFolder);
    extensions.LoadExtensionLibrary();

    MainWindowWin32 window(CreateWindowOrFail(instance, config, titleWide));
    if (config.singleInstance)
        MarkRunningCopy(static_cast<HWND>(window.Handle()), executablePath);
    extensions.OnMainWindowCreated(window.Handle());
    DesktopWin32 desktop;
    DiskFilesWin32 disk;
    BodyStreamsWin32 bodies(bundle, bundleImage, appFolder + webResourceFolder);
    ResourceSite site {bundle, disk, appFolder + webResourceFolder, '\\', config.crossOriginIsolation};
    CorvaneWebView webView(config, site, bodies, window, desktop, *loader, extensions,
        {appFolder, webResourceFolder, userDataFolder, browserFolder}, std::move(launch));
    webView.PlaceAtStart(config.rememberPlacement ? LoadReachablePlacement(userDataFolder) : std::nullopt);
    SetWindowEvents(&webView);
    webView.Init();
    int exitCode = static_cast<int>(RunMessageLoop());
    if (const std::optional<SavedPlacement>& placement = webView.PlacementToRemember())
        StorePlacement(userDataFolder, *placement);

    SetWindowEvents(nullptr);
    bodies.ReleaseOpenFiles();
    // While the host object still exists, so that the library may still
    // talk to the page from "Release".
    extensions.Release();
    extensions.FreeLibrary();
    bundle.Clear();
    bundleImage.reset();
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
