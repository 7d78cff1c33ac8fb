#include "startup_win32.h"

#include <cstdio>

#include <gdiplus.h>
#include <objbase.h>

#include "app_config.h"
#include "asset_bundle.h"
#include "bundle_file_win32.h"
#include "main_window_win32.h"
#include "message_box_win32.h"
#include "paths_win32.h"
#include "startup_messages.h"
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

    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    config.iconHandle = LoadWindowIcon(instance, config, appFolder);
    std::wstring titleWide = Utf8ToWide(config.title);

    const std::string webResourceFolder = "www\\";
    AssetBundle bundle;
    BundleFile bundleFile;
    OpenBundle(appFolder + webResourceFolder + "assets.dat", bundle, bundleFile);

    CreateWindowOrFail(instance, config, titleWide);
    int exitCode = static_cast<int>(RunMessageLoop());

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
