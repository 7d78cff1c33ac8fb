#include "tools/velmora-tool/installer_build.h"

#include <algorithm>
#include <fstream>

#include "Quorvel/export_folder.h"
#include "Quorvel/std_export_files.h"
#include "common/file_reading.h"
#include "tools/velmora-tool/export_output.h"
#include "tools/velmora-tool/helper_process.h"
#include "tools/velmora-tool/installer_script.h"

namespace fs = std::filesystem;

namespace {

const char* const Maker = "makensis";

// The app's icon images as one .ico, or nothing without an icon list.
std::string IconOf(const fs::path& staging)
{
    StdExportFiles files;
    std::vector<std::pair<int32_t, std::string>> images;
    try {
        for (IconEntry icon : LoadFolderIconList(files, staging.string() + "/")) {
            std::replace(icon.src.begin(), icon.src.end(), '\\', '/');
            images.emplace_back(icon.size, ReadWholeFile((staging / icon.src).string()));
        }
    } catch (const std::exception&) {
        return {};
    }
    return IcoFile(images);
}

void WriteText(const fs::path& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    if (!out.write(text.data(), static_cast<std::streamsize>(text.size())))
        throw ExportError("cannot write " + path.string());
}

}

void CheckInstallerTools()
{
    if (!ProgramFound(Maker))
        throw ExportError(std::string("--installer needs ") + Maker + ", which is not installed (Debian package nsis)");
}

void BuildInstaller(const ExportPlan& plan, const fs::path& staging, const fs::path& out)
{
    // The script and the icon lie beside the installer being made, not in
    // the export it installs.
    fs::path script = out.string() + ".nsi";
    fs::path icon = out.string() + ".ico";
    InstallerFacts facts;
    facts.appName = plan.config.name;
    facts.title = plan.windowTitle.empty() ? plan.config.name : plan.windowTitle;
    facts.executableName = plan.executableName;
    facts.version = VersionFieldsOf(plan.packageText, plan.windowTitle, plan.executableName);
    facts.sourceFolder = staging.string();
    facts.files = FilesOf(staging);
    facts.outFile = out.string();
    std::string iconBytes = IconOf(staging);
    if (!iconBytes.empty()) {
        WriteText(icon, iconBytes);
        facts.iconFile = icon.string();
    }
    WriteText(script, InstallerScript(facts));
    std::string said;
    int code = RunHelper({Maker, "-V2", "-NOCD", script.string()}, "", said);
    std::error_code ignored;
    fs::remove(script, ignored);
    fs::remove(icon, ignored);
    if (code != 0)
        throw ExportError("cannot make the installer: " + HelperReason(said));
}
