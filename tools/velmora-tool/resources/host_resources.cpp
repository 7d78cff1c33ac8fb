#include "tools/velmora-tool/resources/host_resources.h"

#include <algorithm>
#include <vector>

#include "Quorvel/export_folder.h"
#include "Quorvel/icon_writer.h"
#include "Quorvel/pe_file_updater.h"
#include "Quorvel/std_export_files.h"
#include "tools/velmora-tool/resources/version_resource.h"

namespace {

ExportError CannotWrite(const std::string& what, const ExportPlan& plan, const PeFileUpdater& updater)
{
    // The icon writer gives no reason of its own for an image it cannot read.
    std::string reason = updater.lastError.empty() ? "an icon image cannot be read" : updater.lastError;
    return ExportError("cannot write the " + what + " into " + plan.executableName + ": " + reason);
}

// An app without an icon list keeps the host's own icon. Images named with
// Windows' separator are read here with "/".
std::vector<IconEntry> IconsOf(IExportFiles& files, const std::string& folder)
{
    std::vector<IconEntry> icons;
    try {
        icons = LoadFolderIconList(files, folder);
    } catch (const std::exception&) {
        return {};
    }
    for (IconEntry& icon : icons)
        std::replace(icon.src.begin(), icon.src.end(), '\\', '/');
    return icons;
}

void WriteVersion(PeFileUpdater& updater, const ExportPlan& plan, const std::string& exe)
{
    std::string resource = VersionResource(VersionFieldsOf(plan.packageText, plan.windowTitle, plan.executableName));
    if (!updater.Begin(exe))
        throw CannotWrite("version information", plan, updater);
    // One version resource only: whatever the host carried goes.
    std::vector<ResourceKey> old;
    for (const auto& [key, data] : updater.Staged()) {
        if (key.type.isInteger && key.type.id == RtVersion)
            old.push_back(key);
    }
    for (const ResourceKey& key : old)
        updater.Update(RtVersion, key.name, key.language, nullptr);
    updater.Update(RtVersion, ResourceName::Number(1), EnglishUsLanguage, &resource);
    if (!updater.End(false))
        throw CannotWrite("version information", plan, updater);
}

}

void WriteHostResources(const ExportPlan& plan, const std::string& stagingFolder)
{
    std::string folder = stagingFolder + "/";
    std::string exe = folder + plan.executableName;
    StdExportFiles files;
    PeFileUpdater updater;
    std::vector<IconEntry> icons = IconsOf(files, folder);
    if (!icons.empty() && !WriteIconResources(updater, files, exe, folder, icons))
        throw CannotWrite("icons", plan, updater);
    WriteVersion(updater, plan, exe);
}
