#include <windows.h>
#include <shlobj.h>

#include "common/message_box_win32.h"
#include "common/paths_win32.h"
#include "Quorvel/export_files_win32.h"
#include "Quorvel/export_folder.h"
#include "Quorvel/quorvel_messages.h"
#include "Quorvel/resource_updater_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    ExportFilesWin32 files;
    ResourceUpdaterWin32 updater;
    std::vector<std::string> updated = ProcessExport(files, updater, ExecutableFolder());
    if (updated.empty()) {
        ShowMessage(NothingUpdatedText, QuorvelCaption, MB_ICONERROR);
        return 0;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    ShowMessage(UpdatedText(updated), QuorvelCaption, MB_ICONINFORMATION);
    return 0;
}
