#include "webview/desktop_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "bridge/known_folders_win32.h"
#include "common/message_box_win32.h"
#include "common/text_win32.h"
#include "config/app_config.h"
#include "webview/webview_messages.h"

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

void DesktopWin32::RemoveEnvironmentValue(const std::string& name)
{
    SetEnvironmentVariableW(Utf8ToWide(name).c_str(), nullptr);
}

void DesktopWin32::FailRun(const std::string& text)
{
    ShowMessage(text, DefaultWindowTitle, MB_ICONERROR);
    PostQuitMessage(1);
}

std::chrono::steady_clock::time_point DesktopWin32::Now()
{
    return std::chrono::steady_clock::now();
}

namespace {

// The busy page's question while its box is open, for the thread timer that
// closes the box once the page answers: a timer procedure has no context of
// its own, and only the UI thread asks, one question at a time.
struct OpenQuestion {
    const std::function<bool()>* answered = nullptr;
    std::wstring caption;
};
OpenQuestion openQuestion;

BOOL CALLBACK EndQuestionBox(HWND window, LPARAM)
{
    wchar_t className[8] = {};
    wchar_t caption[512] = {};
    GetClassNameW(window, className, 8);
    GetWindowTextW(window, caption, 512);
    if (CompareStringOrdinal(className, -1, L"#32770", -1, FALSE) != CSTR_EQUAL || openQuestion.caption != caption)
        return TRUE;
    EndDialog(window, IDNO);
    return FALSE;
}

void CALLBACK CheckPageAnswered(HWND, UINT, UINT_PTR, DWORD)
{
    if (openQuestion.answered && (*openQuestion.answered)())
        EnumThreadWindows(GetCurrentThreadId(), EndQuestionBox, 0);
}

}

// The box's own message loop runs the thread timer and the runtime's events.
bool DesktopWin32::AskReloadBusyPage(const std::string& title, const std::function<bool()>& answered)
{
    openQuestion = {&answered, Utf8ToWide(title)};
    UINT_PTR timer = SetTimer(nullptr, 0, 500, CheckPageAnswered);
    int choice = ShowMessage(WebViewMessage::BusyPage, title, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
    KillTimer(nullptr, timer);
    openQuestion = {};
    return choice == IDYES;
}

std::string DesktopWin32::KnownFolderPath(KnownFolder folder)
{
    return KnownFolderPathWin32(folder);
}
