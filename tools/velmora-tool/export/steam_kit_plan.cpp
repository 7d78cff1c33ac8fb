#include "tools/velmora-tool/export/steam_kit_plan.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "common/ascii.h"
#include "extensions/steam/core/steam_settings.h"
#include "tools/velmora-tool/export/programs_folder.h"

namespace fs = std::filesystem;

namespace {

std::vector<BundleSource>::iterator Named(std::vector<BundleSource>& files, const std::string& lower)
{
    return std::find_if(files.begin(), files.end(),
        [&lower](const BundleSource& file) { return AsciiLower(file.name) == lower; });
}

void InsertSorted(std::vector<BundleSource>& files, BundleSource file)
{
    auto at = std::lower_bound(files.begin(), files.end(), file.name,
        [](const BundleSource& each, const std::string& name) { return each.name < name; });
    files.insert(at, std::move(file));
}

// One of the kit's files in the programs folder.
BundleSource KitFile(const std::string& name, const std::string& shippedAs)
{
    fs::path path = ProgramsFolder() / name;
    std::error_code error;
    uint64_t size = fs::file_size(path, error);
    if (error)
        throw ExportError("the Steam kit's " + name + " is missing from " + path.parent_path().string());
    return {shippedAs, path.string(), size};
}

}

void PlanSteamKit(const nlohmann::json& package, ExportPlan& plan)
{
    std::optional<uint32_t> appId;
    try {
        appId = SteamAppIdIn(package);
    } catch (const std::invalid_argument& error) {
        throw ExportError(std::string("package.json: ") + error.what());
    }
    if (!appId)
        return;
    auto own = Named(plan.copiedFiles, ExtensionLibrary);
    if (own != plan.copiedFiles.end())
        throw ExportError("package.json asks for the Steam kit (\"steam\"), and the app brings its own " + own->name
            + ": the host loads one extension library only, so remove one of them");
    if (Named(plan.webFiles, SteamModule) != plan.webFiles.end())
        throw ExportError(std::string("the app holds a file at ") + SteamModule
            + ", where the export puts the Steam kit's module: move it");
    auto valve = Named(plan.webFiles, SteamLibrary);
    if (valve == plan.webFiles.end()) {
        plan.warnings.push_back(std::string("\"steam\": ") + SteamLibrary
            + " is missing from the app folder, so every Steam call will answer an error: copy Valve's "
              "redistributable (from the Steamworks SDK's redistributable_bin/win64) beside package.json");
    } else {
        InsertSorted(plan.copiedFiles, *valve);
        plan.webFiles.erase(valve);
    }
    InsertSorted(plan.copiedFiles, KitFile("SteamKit.dll", "Tandrel.dll"));
    InsertSorted(plan.webFiles, KitFile("steam.mjs", SteamModule));
}
