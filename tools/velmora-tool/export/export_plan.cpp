#include "tools/velmora-tool/export/export_plan.h"

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
#include "config/config_warnings.h"
#include "tools/velmora-tool/export/export_exclusions.h"
#include "tools/velmora-tool/export/export_names.h"
#include "tools/velmora-tool/export/safe_file_name.h"
#include "tools/velmora-tool/export/steam_kit_plan.h"
#include "tools/velmora-tool/export/unity_build.h"

namespace fs = std::filesystem;

namespace {

const char* const IconListMember = "q7-app-icons";
// The resource writer keeps a section well inside 32 bits: 1 GiB.
const uint64_t MostIconBytes = uint64_t {1} << 30;

bool LooksLikeUtf16(const std::string& text)
{
    if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0)
        return true;
    // "{" or "[" with a zero byte beside it, as UTF-16 without a mark.
    return text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0');
}

std::string ReadPackage(const fs::path& app, const std::string& appFolder)
{
    fs::path path = app / "package.json";
    if (!fs::is_regular_file(path))
        throw ExportError("no package.json in " + appFolder + ": an app needs one with at least a \"name\"");
    std::string text = ReadWholeFile(path.string());
    if (LooksLikeUtf16(text))
        throw ExportError("package.json must be UTF-8 text; this one is UTF-16 (save it as UTF-8)");
    return text;
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

// Folders that Windows and its programs keep in the local application data
// folder: an app of such a name would keep its data among theirs, and its
// uninstaller could remove them with the player's saves.
const char* const LocalAppDataFolders[] = {"application data", "comms", "connecteddevicesplatform", "crashdumps",
    "d3dscache", "diagnostics", "elevateddiagnostics", "history", "microsoft", "packages", "placeholdertilelogofolder",
    "programs", "publishers", "temp", "temporary internet files", "virtualstore"};

// The host keeps the app's data in one folder of this name under the local
// application data folder.
void CheckAppName(const std::string& name)
{
    std::string problem = WindowsNameProblem(name);
    if (problem.empty() && (name == "." || name == ".."))
        problem = "it names a folder above";
    std::string folded = WindowsCaseFolded(name);
    if (problem.empty()
        && std::find(std::begin(LocalAppDataFolders), std::end(LocalAppDataFolders), folded) != std::end(LocalAppDataFolders))
        problem = "Windows keeps a folder of its own by that name there";
    if (!problem.empty())
        throw ExportError("package.json: \"name\" must be usable as a folder name on Windows, where the host keeps the "
                          "app's data in a folder of that name (" + problem + ")");
}

std::string WindowTitleOf(const nlohmann::json& root)
{
    auto window = root.find("window");
    if (window == root.end() || !window->is_object())
        return {};
    return GetStringOr(*window, "title", "");
}

// "icons.json"'s list, written into the exported "package.json" as its own
// member: the icon updater reads "package.json" first, and an export always
// has one, so a list left in "icons.json" would never be applied. The text
// is kept byte for byte but for the member added before the closing brace.
std::string WithIconList(const std::string& packageText, const nlohmann::json& root, const nlohmann::json& icons)
{
    // The root's closing brace: the text ends there, or at a NUL after it.
    std::string::size_type close = packageText.rfind('}', packageText.find('\0'));
    std::string member = "\"" + std::string(IconListMember) + "\": " + icons.dump(-1, ' ', false,
        nlohmann::json::error_handler_t::strict);
    std::string separator = root.empty() ? "" : ", ";
    return packageText.substr(0, close) + separator + member + packageText.substr(close);
}

// The icon list as the icon updater reads it: "package.json", else
// "icons.json", which then ships too and whose list the exported
// "package.json" takes in.
std::vector<IconEntry> IconsOf(const fs::path& app, const nlohmann::json& root, ExportPlan& plan)
{
    try {
        if (root.contains(IconListMember))
            return ReadIconList(plan.packageText);
        fs::path listFile = app / "icons.json";
        if (!fs::is_regular_file(listFile))
            return {};
        std::string listText = ReadWholeFile(listFile.string());
        std::vector<IconEntry> icons = ReadIconList(listText);
        plan.packageText = WithIconList(plan.packageText, root, ParseJsonText(listText).at(IconListMember));
        plan.copiedFiles.push_back({"icons.json", listFile.string(), fs::file_size(listFile)});
        return icons;
    } catch (const ExportError&) {
        throw;
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

// Where a link ends, which must be a file inside the app folder.
fs::path LinkTarget(const fs::path& app, const fs::path& link, const std::string& name)
{
    std::error_code error;
    fs::path real = fs::canonical(link, error);
    if (error == std::errc::too_many_symbolic_link_levels)
        throw ExportError("link loop: " + name);
    if (error)
        throw ExportError("link to nothing: " + name);
    if (real == app || fs::is_directory(real))
        throw ExportError("link to a folder, not followed: " + name);
    if (!IsPathBelow(app, real))
        throw ExportError("link out of the app folder: " + name + " -> " + real.string());
    return real;
}

// Every file below the app folder by relative name, links resolved.
std::vector<BundleSource> FilesBelow(const fs::path& app)
{
    std::vector<BundleSource> files;
    try {
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(app)) {
            std::string name = entry.path().lexically_relative(app).generic_string();
            fs::path real = entry.is_symlink() ? LinkTarget(app, entry.path(), name) : entry.path();
            if (fs::is_directory(real))
                continue;
            if (!fs::is_regular_file(real))
                throw ExportError("not a regular file: " + name);
            files.push_back({name, real.string(), fs::file_size(real)});
        }
    } catch (const fs::filesystem_error& error) {
        throw ExportError("cannot read " + error.path1().string() + ": " + error.code().message());
    }
    std::sort(files.begin(), files.end(), [](const BundleSource& a, const BundleSource& b) { return a.name < b.name; });
    return files;
}

bool Holds(const std::vector<BundleSource>& files, const std::string& name)
{
    return std::any_of(files.begin(), files.end(), [&name](const BundleSource& file) { return file.name == name; });
}


// An icon image copied over the export's own files would leave it without
// a loader or an icon updater, or serve it as the app's.
void CheckIconTarget(const IconEntry& icon, const std::string& src, const ExportPlan& plan)
{
    if (IsExportOwnPath(src) || AsciiLower(src) == AsciiLower(plan.executableName))
        throw ExportError("icon image " + icon.src + " would be written over the export's own " + src
            + ": list an image file of its own");
}

// The icon images, found among the app's files, not left out, and small
// enough for the resources, checked before any is read.
void PlanIcons(const std::vector<IconEntry>& icons, const std::vector<BundleSource>& files,
    ExportExclusions& exclusions, ExportPlan& plan)
{
    uint64_t total = 0;
    for (const IconEntry& icon : icons) {
        std::string src = icon.src;
        // The icon updater on Windows takes either separator.
        std::replace(src.begin(), src.end(), '\\', '/');
        if (!IsSafeDiskPath(src))
            throw ExportError("icon image outside the app folder: " + icon.src);
        CheckIconTarget(icon, src, plan);
        const BundleSource* file = FindSource(files, src);
        if (!file)
            throw ExportError("missing icon image: " + icon.src);
        if (exclusions.Excludes(src))
            throw ExportError("icon image " + icon.src + " is left out by \"export-exclude\", but the icon list needs it");
        if (file->size == 0)
            throw ExportError("icon image " + icon.src + " is empty");
        if (Holds(plan.copiedFiles, src))
            continue;
        total += file->size;
        if (total > MostIconBytes)
            throw ExportError("icon images too large: more than 1 GiB in all, at " + icon.src);
        plan.copiedFiles.push_back(*file);
    }
}

void CheckStartPage(const ExportPlan& plan)
{
    if (plan.config.contentMode != ContentMode::Bundle)
        return;
    // The host asks for the origin followed by "main", and looks it up as
    // any request.
    std::string start = RequestPathOf(plan.config.main);
    if (!FindSource(plan.webFiles, start))
        throw ExportError("missing start page: " + start
            + " (the host asks for \"main\" so: decoded, without its \"?\" or \"#\" part, a folder's index.html)");
}

// Every name the export writes, as Windows will hold them.
void CheckNames(const ExportPlan& plan, bool loose)
{
    ExportNames names;
    names.Add(plan.executableName, "the host executable");
    for (const char* program : ExportProgramNames)
        names.Add(program, "the export's");
    names.Add("package.json", "the export's");
    names.AddFolder("www", "the export's folder");
    if (!loose)
        names.Add("www/assets.dat", "the export's bundle");
    for (const BundleSource& copied : plan.copiedFiles)
        names.Add(copied.name, "the app's file");
    for (const BundleSource& file : plan.webFiles) {
        if (loose && AsciiLower(file.name) == "assets.dat")
            throw ExportError("cannot ship the app file " + file.name + " loose: the host would read www/" + file.name
                + " as its bundle");
        names.Add("www/" + file.name, "the app file");
    }
}

// Last, once everything else is known to be right: the only step that
// reads whole files.
void DecodeUnityBuildFiles(ExportPlan& plan)
{
    for (const EncodedBuildFile& encoded : UnityEncodedFiles(plan.webFiles)) {
        auto file = std::find_if(plan.webFiles.begin(), plan.webFiles.end(),
            [&encoded](const BundleSource& candidate) { return candidate.name == encoded.name; });
        try {
            auto decoded = std::make_shared<DecodedFile>(file->diskPath, encoded.encoding);
            file->diskPath = decoded->Path();
            file->size = decoded->Size();
            plan.decodedFiles.push_back(std::move(decoded));
        } catch (const std::runtime_error& error) {
            throw ExportError("cannot decode the Unity build file " + file->name + ": " + error.what()
                + " (the host serves Unity's compressed build files decoded)");
        }
    }
}

}

bool IsExportOwnPath(const std::string& path)
{
    std::string lower = AsciiLower(path);
    if (lower == "package.json" || lower == ExtensionLibrary || lower == "www" || lower.compare(0, 4, "www/") == 0)
        return true;
    return std::any_of(std::begin(ExportProgramNames), std::end(ExportProgramNames),
        [&lower](const char* program) { return lower == AsciiLower(program); });
}

ExportPlan PlanExport(const std::string& appFolder, bool loose)
{
    if (!fs::is_directory(appFolder))
        throw ExportError("no app folder at " + appFolder);
    fs::path app = fs::canonical(appFolder);
    ExportPlan plan;
    plan.packageText = ReadPackage(app, appFolder);
    nlohmann::json root;
    try {
        LoadAppConfig(plan.packageText, plan.config);
        root = ParseJsonText(plan.packageText);
    } catch (const std::exception& error) {
        throw ExportError(std::string("package.json: ") + error.what());
    }
    CheckAppName(plan.config.name);
    plan.warnings = ConfigWarnings(plan.packageText);
    plan.windowTitle = WindowTitleOf(root);
    plan.executableName = ExecutableNameFor(plan.config.name);
    ExportExclusions exclusions(ExcludedPaths(root));
    std::vector<IconEntry> icons = IconsOf(app, root, plan);
    std::vector<BundleSource> files = FilesBelow(app);
    PlanIcons(icons, files, exclusions, plan);
    for (const BundleSource& file : files) {
        if (file.name == "package.json" || exclusions.Excludes(file.name) || Holds(plan.copiedFiles, file.name))
            continue;
        if (AsciiLower(file.name) == ExtensionLibrary)
            plan.copiedFiles.push_back(file);
        else
            plan.webFiles.push_back(file);
    }
    PlanSteamKit(root, plan);
    std::vector<std::string> unmatched = exclusions.Unmatched();
    if (!unmatched.empty())
        throw ExportError("package.json: \"export-exclude\" entry \"" + unmatched.front()
            + "\" matches no file (paths are relative to the app folder, case counts; \"*\" and \"?\" match within "
              "one folder)");
    CheckStartPage(plan);
    CheckNames(plan, loose);
    DecodeUnityBuildFiles(plan);
    std::sort(plan.copiedFiles.begin(), plan.copiedFiles.end(),
        [](const BundleSource& a, const BundleSource& b) { return a.name < b.name; });
    return plan;
}
