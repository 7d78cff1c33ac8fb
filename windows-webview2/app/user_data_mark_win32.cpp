#include "app/user_data_mark_win32.h"

#include <windows.h>

#include "common/paths_win32.h"
#include "config/user_data_mark.h"

void MarkUserDataFolder(const std::string& userDataFolder, const std::string& appName)
{
    CreateDirectoryW(PlatformPath(userDataFolder).c_str(), nullptr);
    std::wstring mark = PlatformPath(userDataFolder + "\\" + UserDataMark);
    HANDLE file = CreateFileW(mark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    std::string text = "The saved data of " + appName + ". Its uninstaller removes this folder only when asked.\r\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}
