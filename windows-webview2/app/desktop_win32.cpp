#include "desktop_win32.h"

#include <windows.h>
#include <shellapi.h>

#include "app_config.h"
#include "message_box_win32.h"
#include "text_win32.h"

void Win32Desktop::OpenWithShell(const std::string& url)
{
    ShellExecuteW(nullptr, L"open", Utf8ToWide(url).c_str(), nullptr, nullptr, SW_SHOWDEFAULT);
}

void Win32Desktop::SetEnvironmentValue(const std::string& name, const std::string& value)
{
    SetEnvironmentVariableW(Utf8ToWide(name).c_str(), Utf8ToWide(value).c_str());
}

void Win32Desktop::FailRun(const std::string& text)
{
    ShowMessage(text, DefaultWindowTitle, MB_ICONERROR);
    PostQuitMessage(1);
}
