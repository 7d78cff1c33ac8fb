#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "common/path_below.h"
#include "tools/velmora-tool/commands.h"
#include "tools/velmora-tool/export_plan.h"
#include "tools/velmora-tool/host_resources.h"
#include "tools/velmora-tool/progress_bar.h"
#include "tools/velmora-tool/zip_writer.h"

namespace fs = std::filesystem;

namespace {

const char* const Programs[] = {"Velmora.exe", "Quorvel.exe", "WebView2Loader.dll"};

struct ExportOptions {
    std::string appFolder;
    std::string outFolder;
    bool replace = false;
    bool loose = false;
    std::string zipFile;
};

bool ParseOptions(const CommandArgs& args, ExportOptions& options)
{
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--replace")
            options.replace = true;
        else if (args[i] == "--loose")
            options.loose = true;
        else if (args[i] == "--zip" && i + 1 < args.size())
            options.zipFile = args[++i];
        else if (args[i].compare(0, 2, "--") == 0)
            return false;
        else
            positional.push_back(args[i]);
    }
    if (positional.size() != 2)
        return false;
    options.appFolder = positional[0];
    options.outFolder = positional[1];
    return true;
}

// The shipped programs lie beside the tool in dist/; VELMORA_PROGRAMS_DIR
// names another folder.
fs::path ProgramsFolder()
{
    if (const char* folder = std::getenv("VELMORA_PROGRAMS_DIR"))
        return folder;
    return fs::read_symlink("/proc/self/exe").parent_path();
}

bool Within(const fs::path& folder, const fs::path& path)
{
    return path == folder || IsPathBelow(folder, path);
}

// Where the output may go: not into the app folder, not around it, and
// into a non-empty folder only when asked.
void CheckOutput(const ExportOptions& options, const fs::path& app, const fs::path& out)
{
    if (Within(app, out))
        throw ExportError("the output folder lies inside the app folder");
    if (Within(out, app))
        throw ExportError("the output folder holds the app folder");
    if (!options.zipFile.empty()) {
        fs::path zip = fs::weakly_canonical(options.zipFile);
        if (Within(app, zip) || Within(out, zip))
            throw ExportError("the zip file must lie outside the app folder and the output folder");
    }
    bool empty = !fs::exists(out) || (fs::is_directory(out) && fs::is_empty(out));
    if (!empty && !options.replace)
        throw ExportError("the output folder is not empty: " + options.outFolder + " (--replace replaces it)");
}

void CopyInto(const fs::path& from, const fs::path& to)
{
    fs::create_directories(to.parent_path());
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

void WriteExport(const ExportPlan& plan, const ExportOptions& options, const fs::path& app, const fs::path& programs,
    const fs::path& staging)
{
    CopyInto(programs / "Velmora.exe", staging / plan.executableName);
    CopyInto(programs / "Quorvel.exe", staging / "Quorvel.exe");
    CopyInto(programs / "WebView2Loader.dll", staging / "WebView2Loader.dll");
    CopyInto(app / "package.json", staging / "package.json");
    for (const std::string& name : plan.copiedFiles)
        CopyInto(app / name, staging / name);
    WriteHostResources(plan, staging.string());
    fs::create_directories(staging / "www");
    if (options.loose) {
        for (const BundleSource& file : plan.webFiles)
            CopyInto(file.diskPath, staging / "www" / file.name);
        return;
    }
    ProgressBar bar("exporting");
    WriteBundle(plan.webFiles, (staging / "www" / "assets.dat").string(),
        [&bar](uint64_t done, uint64_t total) { bar.Update(done, total); });
}

std::vector<std::string> FilesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(entry.path().lexically_relative(folder).generic_string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteZip(const ExportOptions& options, const fs::path& out)
{
    fs::path zip = fs::weakly_canonical(options.zipFile);
    fs::path partial = zip.string() + ".partial";
    WriteStoredZip(out.string(), FilesOf(out), out.filename().string(), partial.string());
    fs::rename(partial, zip);
}

int Export(const ExportOptions& options)
{
    fs::path programs = ProgramsFolder();
    for (const char* program : Programs)
        if (!fs::is_regular_file(programs / program))
            throw ExportError(std::string("missing ") + program + " in " + programs.string());
    ExportPlan plan = PlanExport(options.appFolder);
    fs::path app = fs::canonical(options.appFolder);
    fs::path out = fs::weakly_canonical(options.outFolder);
    CheckOutput(options, app, out);
    // Written beside the output and renamed into place at the end, so an
    // interrupted export leaves the output as it was.
    fs::path staging = out.parent_path() / ("." + out.filename().string() + ".partial-" + std::to_string(getpid()));
    fs::remove_all(staging);
    try {
        WriteExport(plan, options, app, programs, staging);
        fs::remove_all(out);
        fs::rename(staging, out);
    } catch (...) {
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        throw;
    }
    if (!options.zipFile.empty())
        WriteZip(options, out);
    if (options.loose)
        std::printf("exported %s: %zu files copied into www", out.string().c_str(), plan.webFiles.size());
    else
        std::printf("exported %s: %zu files packed, bundle %llu bytes", out.string().c_str(), plan.webFiles.size(),
            static_cast<unsigned long long>(fs::file_size(out / "www" / "assets.dat")));
    std::printf("%s%s\n", options.zipFile.empty() ? "" : ", zipped into ", options.zipFile.c_str());
    return 0;
}

}

// Turns an app folder into a Windows export folder.
int RunExportCommand(const CommandArgs& args)
{
    ExportOptions options;
    if (!ParseOptions(args, options)) {
        std::fprintf(stderr, "usage: %s\n", ExportUsage);
        return 2;
    }
    try {
        return Export(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
