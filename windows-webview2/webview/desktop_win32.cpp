#include "webview/desktop_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "bridge/known_folders_win32.h"
#include "common/message_box_win32.h"
#include "common/text_win32.h"
#include "config/app_config.h"

// No error dialogs from the shell: a link that nothing handles just does
// nothing, as a page would expect.
void DesktopWin32::OpenWithShell(const std::string& url)
{
    std::wstring file = Utf8ToWide(url);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWDEFAULT;
    ShellExecuteExW(&info);
}

void DesktopWin32::SetEnvironmentValue(const std::string& name, const std::string& value)
{
    SetEnvironmentVariableW(Utf8ToWide(name).c_str(), Utf8ToWide(value).c_str());
}

void DesktopWin32::FailRun(const std::string& text)
{
    ShowMessage(text, DefaultWindowTitle, MB_ICONERROR);
    PostQuitMessage(1);
}

std::string DesktopWin32::KnownFolderPath(KnownFolder folder)
{
    return KnownFolderPathWin32(folder);
}
