#include "Quorvel/export_folder.h"

#include <algorithm>
#include <stdexcept>

#include "common/ascii.h"
#include "Quorvel/icon_writer.h"
#include "Quorvel/pe_image.h"

namespace {

bool IsExcluded(const std::string& name)
{
    std::string lower = AsciiLower(name);
    return std::any_of(ExcludedExecutables.begin(), ExcludedExecutables.end(),
        [&lower](const char* excluded) { return lower == excluded; });
}

}

std::vector<IconEntry> LoadFolderIconList(IExportFiles& files, const std::string& folderPath)
{
    std::string text = files.ReadWholeFile(folderPath + "package.json");
    if (text.empty())
        text = files.ReadWholeFile(folderPath + "icons.json");
    if (text.empty())
        throw std::runtime_error("no icon list file");
    std::vector<IconEntry> icons = ReadIconList(text);
    if (icons.empty())
        throw std::runtime_error("no accepted icon");
    return icons;
}

std::string ChooseTargetExecutable(const std::vector<std::string>& names)
{
    auto chosen = std::find_if(names.begin(), names.end(), [](const std::string& name) { return !IsExcluded(name); });
    return chosen == names.end() ? std::string() : *chosen;
}

void CheckNoOverlay(IExportFiles& files, const std::string& exePath)
{
    if (files.FileSize(exePath) > PeImageEnd(files.ReadFileStart(exePath, PeHeadBytes)))
        throw std::runtime_error("executable has data after its last section");
}

std::string ProcessFolder(IExportFiles& files, IResourceUpdater& updater, const std::string& toolFolder,
    const std::string& entry)
{
    std::string folderPath = toolFolder + entry;
    try {
        std::vector<IconEntry> icons = LoadFolderIconList(files, folderPath);
        std::string name = ChooseTargetExecutable(files.ListExecutables(folderPath));
        if (name.empty())
            return {};
        CheckNoOverlay(files, folderPath + name);
        if (!WriteIconResources(updater, files, folderPath + name, folderPath, icons))
            return {};
        return entry + name;
    } catch (const std::exception&) {
        // A folder that cannot be updated is skipped; the others go on.
        return {};
    }
}

std::vector<std::string> ProcessExport(IExportFiles& files, IResourceUpdater& updater, const std::string& toolFolder)
{
    std::vector<std::string> updated;
    for (const char* entry : ExportFolders) {
        std::string result = ProcessFolder(files, updater, toolFolder, entry);
        if (!result.empty())
            updated.push_back(result);
    }
    return updated;
}
