#include <cstdio>
#include <exception>

#include "Quorvel/export_folder.h"
#include "Quorvel/std_export_files.h"
#include "tools/velmora-tool/commands/commands.h"

// What the icon updater would write in one folder: the accepted entries
// and the executable it would choose.
int RunIconsCommand(const std::string& folder)
{
    std::string folderPath = folder;
    if (folderPath.back() != '/')
        folderPath += '/';
    StdExportFiles files;
    try {
        for (const IconEntry& icon : LoadFolderIconList(files, folderPath))
            std::printf("%u %d %s\n", static_cast<unsigned>(icon.id), icon.size, icon.src.c_str());
        std::string exe = ChooseTargetExecutable(files.ListExecutables(folderPath));
        std::printf("exe %s\n", exe.empty() ? "-" : exe.c_str());
        std::fflush(stdout);
        if (!exe.empty())
            CheckNoOverlay(files, folderPath + exe);
    } catch (const std::exception& failure) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", failure.what());
        return 1;
    }
    return 0;
}
