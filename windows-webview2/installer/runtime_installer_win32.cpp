#include "installer/runtime_installer_win32.h"

#include <commctrl.h>
#include <process.h>
#include <urlmon.h>

#include "common/message_box_win32.h"
#include "common/paths_win32.h"
#include "installer/bootstrapper_link.h"
#include "installer/download_progress_win32.h"
#include "installer/installer_messages.h"
#include "installer/signature_check_win32.h"
#include "window/dpi_win32.h"
#include "window/window_class_win32.h"

namespace {

// Handed to the download worker; complete before it starts. The worker
// writes only `downloaded`, which the UI thread reads after joining it.
struct DownloadJob {
    std::wstring url;
    std::wstring targetPath;
    HWND window;
    HWND progressBar;
    bool downloaded = false;
};

const DWORD SetupWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

LRESULT CALLBACK SetupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

unsigned __stdcall DownloadWorker(void* argument)
{
    DownloadJob& job = *static_cast<DownloadJob*>(argument);
    DownloadProgress progress(job.progressBar);
    job.downloaded = SUCCEEDED(URLDownloadToFileW(nullptr, job.url.c_str(), job.targetPath.c_str(), 0, &progress));
    // Fails at once when the user has closed the window already.
    SendMessageW(job.window, WM_CLOSE, 0, 0);
    _endthreadex(0);
    return 0;
}

HWND CreateSetupWindow(HINSTANCE instance, const std::string& caption)
{
    int width = ScaleForDpi(300);
    int height = ScaleForDpi(90);
    int x = GetSystemMetrics(SM_CXSCREEN) / 2 - width / 2;
    int y = GetSystemMetrics(SM_CYSCREEN) / 2 - height / 2;
    return CreateWindowExW(0, L"WebView2Setup", Utf8ToWide(caption).c_str(), SetupWindowStyle, x, y, width, height,
        nullptr, nullptr, instance, nullptr);
}

HWND CreateProgressBar(HINSTANCE instance, HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    HWND bar = CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.left + ScaleForDpi(10),
        client.top + ScaleForDpi(10), client.right - client.left - ScaleForDpi(20),
        client.bottom - client.top - ScaleForDpi(20), window, nullptr, instance, nullptr);
    SendMessageW(bar, PBM_SETRANGE, 0, MAKELPARAM(0, 100));
    return bar;
}

// Downloads while the window's own loop runs; true when the file arrived.
bool Download(DownloadJob& job)
{
    HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DownloadWorker, &job, 0, nullptr));
    if (!worker) {
        DestroyWindow(job.window);
        return false;
    }
    MSG msg = {};
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    return job.downloaded;
}

void RunInstaller(const std::wstring& installerPath, const std::wstring& userDataFolder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // No switches: the bootstrapper shows its own user interface.
    wchar_t commandLine[1] = L"";
    if (!CreateProcessW(installerPath.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr,
            userDataFolder.c_str(), &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

}

void InstallRuntime(HINSTANCE instance, const std::string& userDataFolder, const AppConfig& config)
{
    std::wstring folder = PlatformPath(userDataFolder);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    if (!InitCommonControlsEx(&controls)) {
        ShowMessage(InstallerMessage::CommonControlsFailed, config.title, MB_ICONERROR);
        return;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
        ShowMessage(InstallerMessage::UserDataFolderFailed, config.title, MB_ICONERROR);
        return;
    }
    if (!RegisterAppWindowClass(instance, L"WebView2Setup", SetupWindowProc, static_cast<HICON>(config.iconHandle),
            COLOR_MENU)) {
        ShowMessage(InstallerMessage::RegisterClassFailed, config.title, MB_ICONERROR);
        return;
    }
    HWND window = CreateSetupWindow(instance, config.downloadingMessage);
    if (!window) {
        ShowMessage(InstallerMessage::CreateWindowFailed, config.title, MB_ICONERROR);
        return;
    }
    HWND progressBar = CreateProgressBar(instance, window);
    std::wstring installerPath = PlatformPath(userDataFolder + "\\Webview2Setup.exe");
    // Whatever lies there from an earlier run, or was put there, is never run.
    DeleteFileW(installerPath.c_str());
    DownloadJob job {BootstrapperLink, installerPath, window, progressBar};
    if (!Download(job))
        return;
    if (BootstrapperMustBeSignedByMicrosoft && !IsSignedByMicrosoft(installerPath))
        return;
    RunInstaller(installerPath, Utf8ToWide(userDataFolder));
}
