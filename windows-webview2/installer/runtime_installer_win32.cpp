#include "installer/runtime_installer_win32.h"

#include <commctrl.h>
#include <process.h>
#include <urlmon.h>

#include "common/message_box_win32.h"
#include "common/paths_win32.h"
#include "installer/bootstrapper_link.h"
#include "installer/download_progress_win32.h"
#include "installer/installer_messages.h"
#include "installer/pumping_wait_win32.h"
#include "installer/signature_check_win32.h"
#include "window/dpi_win32.h"
#include "window/window_class_win32.h"

namespace {

// Handed to the download worker; complete before it starts. The worker
// writes only `downloaded`, which the UI thread reads after it has ended.
struct DownloadJob {
    std::wstring url;
    std::wstring targetPath;
    HWND progressBar;
    bool downloaded = false;
};

const DWORD SetupWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

unsigned __stdcall DownloadWorker(void* argument)
{
    DownloadJob& job = *static_cast<DownloadJob*>(argument);
    // The URL moniker is a COM object; a thread without a message loop
    // belongs in the multithreaded apartment.
    HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    DownloadProgress progress(job.progressBar);
    job.downloaded = SUCCEEDED(URLDownloadToFileW(nullptr, job.url.c_str(), job.targetPath.c_str(), 0, &progress));
    if (SUCCEEDED(com))
        CoUninitialize();
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

// Downloads while the window keeps answering (its progress bar is moved by
// messages the worker sends); true when the file arrived. Closing the
// window cancels nothing.
bool Download(DownloadJob& job, HWND window)
{
    HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, DownloadWorker, &job, 0, nullptr));
    if (worker) {
        WaitWhileDispatching(worker);
        CloseHandle(worker);
    }
    if (IsWindow(window))
        DestroyWindow(window);
    return worker && job.downloaded;
}

// Starts the bootstrapper from the file that was checked: the handle that
// was verified stays open, sharing only reading, until the process runs,
// so the file cannot be replaced in between.
void RunInstaller(const std::string& installerPath, const std::wstring& userDataFolder, const AppConfig& config,
    bool underWine)
{
    HANDLE file = CreateFileW(PlatformPath(installerPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::wstring applicationName = CompatiblePlatformPath(installerPath);
    bool trusted = !BootstrapperMustBeSignedByMicrosoft || IsSignedByMicrosoft(file, applicationName);
    PROCESS_INFORMATION process = {};
    bool started = false;
    if (trusted) {
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        // No switches: the bootstrapper shows its own user interface. Its
        // own quoted path is the first word, as programs expect.
        std::wstring commandLine = L"\"" + applicationName + L"\"";
        started = CreateProcessW(applicationName.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            userDataFolder.c_str(), &startup, &process);
    }
    CloseHandle(file);
    if (!started)
        return;
    CloseHandle(process.hThread);
    if (!WaitWhileDispatching(process.hProcess, underWine ? BootstrapperWaitUnderWine : INFINITE))
        ShowMessage(InstallerMessage::BootstrapperStalled, config.title, MB_ICONWARNING);
    CloseHandle(process.hProcess);
}

}

void InstallRuntime(HINSTANCE instance, const std::string& userDataFolder, const AppConfig& config, bool underWine)
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
    if (!RegisterAppWindowClass(instance, L"WebView2Setup", DefWindowProcW, static_cast<HICON>(config.iconHandle),
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
    std::string installerPath = userDataFolder + "\\Webview2Setup.exe";
    // Whatever lies there from an earlier run, or was put there, is never run.
    DeleteFileW(PlatformPath(installerPath).c_str());
    DownloadJob job {BootstrapperLink, CompatiblePlatformPath(installerPath), progressBar};
    if (!Download(job, window))
        return;
    RunInstaller(installerPath, Utf8ToWide(userDataFolder), config, underWine);
}
