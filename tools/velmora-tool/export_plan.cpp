#include "tools/velmora-tool/export_plan.h"

#include <algorithm>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "Quorvel/export_folder.h"
#include "Quorvel/icon_list.h"
#include "assets/request_path.h"
#include "common/ascii.h"
#include "common/file_reading.h"
#include "common/json_readers.h"
#include "common/path_below.h"
#include "tools/velmora-tool/safe_file_name.h"

namespace fs = std::filesystem;

namespace {

const char* const ExtensionLibrary = "tandrel.dll";

std::string ReadRequired(const fs::path& path, const std::string& missing)
{
    if (!fs::is_regular_file(path))
        throw ExportError(missing);
    return ReadWholeFile(path.string());
}

std::vector<std::string> ExcludedPaths(const nlohmann::json& root)
{
    std::vector<std::string> excluded;
    auto list = root.find("export-exclude");
    if (list == root.end())
        return excluded;
    if (!list->is_array())
        throw ExportError("package.json: \"export-exclude\" is not a list of paths");
    for (const nlohmann::json& path : *list) {
        if (!path.is_string())
            throw ExportError("package.json: \"export-exclude\" is not a list of paths");
        excluded.push_back(path.get<std::string>());
    }
    return excluded;
}

bool IsExcluded(const std::string& name, const std::vector<std::string>& excluded)
{
    return std::any_of(excluded.begin(), excluded.end(), [&name](const std::string& path) {
        return name == path || (!path.empty() && path.back() == '/' && name.compare(0, path.size(), path) == 0);
    });
}

// The icon list as the icon updater reads it: "package.json", else
// "icons.json", which then ships too.
std::vector<IconEntry> IconsOf(const fs::path& app, const nlohmann::json& root, const std::string& packageText,
    ExportPlan& plan)
{
    try {
        if (root.contains("q7-app-icons"))
            return ReadIconList(packageText);
        if (!fs::is_regular_file(app / "icons.json"))
            return {};
        plan.copiedFiles.push_back("icons.json");
        return ReadIconList(ReadWholeFile((app / "icons.json").string()));
    } catch (const std::exception& error) {
        throw ExportError(std::string("icon list: ") + error.what());
    }
}

// A name the icon updater skips, or its own, gets a "_".
std::string ExecutableNameFor(const std::string& appName)
{
    std::string name = SafeExecutableName(appName);
    std::string lower = AsciiLower(name);
    if (std::find(ExcludedExecutables.begin(), ExcludedExecutables.end(), lower) != ExcludedExecutables.end())
        name.insert(name.size() - 4, "_");
    return name;
}

// Every file below the app folder by relative name, links resolved: a link
// must end at a file inside the folder.
std::vector<BundleSource> FilesBelow(const fs::path& app)
{
    std::vector<BundleSource> files;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(app)) {
        std::string name = entry.path().lexically_relative(app).generic_string();
        fs::path real = entry.path();
        if (entry.is_symlink()) {
            std::error_code error;
            real = fs::canonical(entry.path(), error);
            if (error)
                throw ExportError("link to nothing: " + name);
            if (!IsPathBelow(app, real))
                throw ExportError("link out of the app folder: " + name + " -> " + real.string());
            if (fs::is_directory(real))
                throw ExportError("link to a folder, not followed: " + name);
        }
        if (fs::is_directory(real))
            continue;
        if (!fs::is_regular_file(real))
            throw ExportError("not a regular file: " + name);
        files.push_back({name, real.string(), fs::file_size(real)});
    }
    std::sort(files.begin(), files.end(), [](const BundleSource& a, const BundleSource& b) { return a.name < b.name; });
    return files;
}

}

ExportPlan PlanExport(const std::string& appFolder)
{
    if (!fs::is_directory(appFolder))
        throw ExportError("no app folder at " + appFolder);
    fs::path app = fs::canonical(appFolder);
    std::string packageText = ReadRequired(app / "package.json",
        "no package.json in " + appFolder + ": an app needs one with at least a \"name\"");
    ExportPlan plan;
    plan.packageText = packageText;
    nlohmann::json root;
    try {
        LoadAppConfig(packageText, plan.config);
        root = ParseJsonText(packageText);
    } catch (const std::exception& error) {
        throw ExportError(std::string("package.json: ") + error.what());
    }
    plan.executableName = ExecutableNameFor(plan.config.name);
    std::vector<std::string> left = ExcludedPaths(root);
    left.push_back("package.json");
    for (const IconEntry& icon : IconsOf(app, root, packageText, plan)) {
        std::string src = icon.src;
        std::replace(src.begin(), src.end(), '\\', '/');
        if (!IsSafeDiskPath(src))
            throw ExportError("icon image outside the app folder: " + icon.src);
        if (std::find(plan.copiedFiles.begin(), plan.copiedFiles.end(), src) == plan.copiedFiles.end())
            plan.copiedFiles.push_back(src);
    }
    std::vector<BundleSource> files = FilesBelow(app);
    auto has = [&files](const std::string& name) {
        return std::any_of(files.begin(), files.end(), [&name](const BundleSource& file) { return file.name == name; });
    };
    for (const std::string& copied : plan.copiedFiles) {
        if (!has(copied))
            throw ExportError("missing icon image: " + copied);
        left.push_back(copied);
    }
    for (const BundleSource& file : files) {
        if (AsciiLower(file.name) == ExtensionLibrary) {
            plan.copiedFiles.push_back(file.name);
            continue;
        }
        if (!IsExcluded(file.name, left))
            plan.webFiles.push_back(file);
    }
    if (plan.config.contentMode == ContentMode::Bundle) {
        std::string start = plan.config.main.substr(0, plan.config.main.find_first_of("?#"));
        bool found = std::any_of(plan.webFiles.begin(), plan.webFiles.end(),
            [&start](const BundleSource& file) { return file.name == start; });
        if (!found)
            throw ExportError("missing start page: " + start);
    }
    std::sort(plan.copiedFiles.begin(), plan.copiedFiles.end());
    return plan;
}
