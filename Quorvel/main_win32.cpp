#include <windows.h>
#include <shlobj.h>

#include "export_files_win32.h"
#include "export_folder.h"
#include "quorvel_messages.h"
#include "resource_updater_win32.h"
#include "text_win32.h"
#include "tool_folder_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ExportFilesWin32 files;
    ResourceUpdaterWin32 updater;
    std::vector<std::string> updated = ProcessExport(files, updater, ToolFolder());
    std::wstring caption = Utf8ToWide(QuorvelCaption);
    if (updated.empty()) {
        MessageBoxW(nullptr, Utf8ToWide(NothingUpdatedText).c_str(), caption.c_str(), MB_ICONERROR);
        return 0;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    MessageBoxW(nullptr, Utf8ToWide(UpdatedText(updated)).c_str(), caption.c_str(), MB_ICONINFORMATION);
    return 0;
}
