#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "common/ascii.h"
#include "common/path_below.h"
#include "tools/velmora-tool/shipping/code_signing.h"
#include "tools/velmora-tool/commands/commands.h"
#include "tools/velmora-tool/export/export_output.h"
#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/resources/host_resources.h"
#include "tools/velmora-tool/shipping/installer_build.h"
#include "tools/velmora-tool/export/interruption.h"
#include "tools/velmora-tool/export/planned_copy.h"
#include "tools/velmora-tool/export/programs_folder.h"
#include "tools/velmora-tool/commands/progress_bar.h"
#include "tools/velmora-tool/export/safe_file_name.h"
#include "tools/velmora-tool/shipping/zip_writer.h"

namespace fs = std::filesystem;

namespace {

const char* const Programs[] = {"Velmora.exe", "Quorvel.exe", "WebView2Loader.dll"};

// The certificate's password: from its file (first line) or from
// VELMORA_SIGN_PASSWORD, never from the command line, where others see it.
std::string SigningPassword(const ExportOptions& options)
{
    if (!options.passwordFile.empty()) {
        std::ifstream file(options.passwordFile);
        if (!file)
            throw ExportError("cannot read the password file " + options.passwordFile);
        std::string password;
        std::getline(file, password);
        return password;
    }
    const char* password = std::getenv(PasswordVariable);
    return password ? password : "";
}

// Signing is the last change to each program the app owns; Microsoft's
// loader is signed already.
void SignPrograms(const SigningOptions& signing, const ExportPlan& plan, const fs::path& staging)
{
    SignProgram(signing, staging / plan.executableName);
    SignProgram(signing, staging / "Quorvel.exe");
    for (const BundleSource& copied : plan.copiedFiles) {
        if (AsciiLower(copied.name) == ExtensionLibrary)
            SignProgram(signing, staging / copied.name);
    }
}

bool Within(const fs::path& folder, const fs::path& path)
{
    return path == folder || IsPathBelow(folder, path);
}

// The zip and the installer go to a new file, or replace a file (never a
// folder or what a link leads to) when asked; their folder must exist.
void CheckFileTarget(const fs::path& file, const std::string& what, const ExportOptions& options, const fs::path& app,
    const fs::path& out)
{
    if (file.filename().empty() || fs::is_directory(file))
        throw ExportError(what == "zip" ? "--zip needs a file name, not the folder " + file.string()
                                        : "will not replace the folder " + file.string() + " with the " + what);
    if (Within(app, file) || Within(out, file))
        throw ExportError("the " + what + " file must lie outside the app folder and the output folder");
    // The output's own folder is made by the export.
    if (!fs::is_directory(file.parent_path()) && file.parent_path() != out.parent_path())
        throw ExportError("cannot write the " + what + " file " + file.string() + ": its folder does not exist");
    if (fs::is_symlink(file))
        throw ExportError("will not write the " + what + " through the link " + file.string());
    if (fs::exists(file) && !fs::is_regular_file(file))
        throw ExportError("will not replace " + file.string() + ": it is not a regular file");
    if (fs::exists(file) && !options.replace)
        throw ExportError("the " + what + " file exists: " + file.string() + " (--replace replaces it)");
}

// Where the output may go: not into the app folder, not around it, and
// into a non-empty folder only when it is an earlier export to replace.
void CheckOutput(const ExportOptions& options, const fs::path& app, const fs::path& out)
{
    if (Within(app, out))
        throw ExportError("the output folder lies inside the app folder");
    if (Within(out, app))
        throw ExportError("the output folder holds the app folder");
    CheckOutputFolder(out, options.replace);
}

// What the export will hold, in bytes, before a byte of it is written (the
// host grows by its icons and version information, a few kilobytes).
uint64_t PlannedExportBytes(const ExportPlan& plan, const ExportOptions& options, const fs::path& programs)
{
    uint64_t bytes = plan.packageText.size();
    for (const char* program : Programs)
        bytes += fs::file_size(programs / program);
    for (const BundleSource& copied : plan.copiedFiles)
        bytes += copied.size;
    if (!options.loose)
        return bytes + BundleSize(plan.webFiles);
    for (const BundleSource& file : plan.webFiles)
        bytes += file.size;
    return bytes;
}

void WriteProgramsAndFiles(const ExportPlan& plan, const fs::path& programs, const fs::path& staging)
{
    for (const char* program : Programs) {
        fs::path to = staging / (program == Programs[0] ? plan.executableName : program);
        fs::copy_file(programs / program, to, fs::copy_options::overwrite_existing);
    }
    WriteTextFile(staging / "package.json", plan.packageText);
    for (const BundleSource& copied : plan.copiedFiles)
        CopyPlannedFile(copied, staging / copied.name, ThrowIfInterrupted);
}

void WriteExport(const ExportPlan& plan, const ExportOptions& options, const fs::path& programs,
    const fs::path& staging)
{
    WriteProgramsAndFiles(plan, programs, staging);
    WriteHostResources(plan, staging.string());
    fs::create_directories(staging / "www");
    if (options.loose) {
        for (const BundleSource& file : plan.webFiles)
            CopyPlannedFile(file, staging / "www" / file.name, ThrowIfInterrupted);
        return;
    }
    ProgressBar bar("exporting");
    WriteBundle(plan.webFiles, (staging / "www" / "assets.dat").string(), [&bar](uint64_t done, uint64_t total) {
        ThrowIfInterrupted();
        bar.Update(done, total);
    });
}

// A file written beside its target and renamed onto it at the end; removed
// on every other way out.
class PartialFile {
public:
    explicit PartialFile(const fs::path& target) : path(PartialPathFor(target)) { SweepStalePartials(target); }
    ~PartialFile()
    {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    const fs::path path;
};

void Report(const ExportPlan& plan, const ExportOptions& options, const fs::path& out)
{
    if (options.loose)
        std::printf("exported %s: %zu files copied into www", out.string().c_str(), plan.webFiles.size());
    else
        std::printf("exported %s: %zu files packed, bundle %llu bytes", out.string().c_str(), plan.webFiles.size(),
            static_cast<unsigned long long>(fs::file_size(out / "www" / "assets.dat")));
    if (!plan.decodedFiles.empty())
        std::printf(" (%zu compressed Unity build files decoded)", plan.decodedFiles.size());
    std::printf("%s%s", options.zipFile ? ", zipped into " : "", options.zipFile ? options.zipFile->c_str() : "");
    std::printf("%s\n", options.installer ? ", with its installer beside it" : "");
}

int Export(const ExportOptions& options)
{
    fs::path programs = ProgramsFolder();
    for (const char* program : Programs)
        if (!fs::is_regular_file(programs / program))
            throw ExportError(std::string("missing ") + program + " in " + programs.string());
    // Everything is checked before anything is written.
    ExportPlan plan = PlanExport(options.appFolder, options.loose);
    for (const std::string& warning : plan.warnings)
        std::fprintf(stderr, "warning: package.json: %s\n", warning.c_str());
    fs::path app = fs::canonical(options.appFolder);
    fs::path out = OutputPathOf(options.outFolder);
    CheckOutput(options, app, out);
    std::optional<fs::path> zip;
    if (options.zipFile) {
        zip = OutputPathOf(*options.zipFile);
        CheckFileTarget(*zip, "zip", options, app, out);
        // Every entry of the zip lies below a folder of this name.
        std::string problem = WindowsNameProblem(out.filename().string());
        if (!problem.empty())
            throw ExportError("cannot zip the export under the name " + out.filename().string() + ": " + problem);
    }
    std::optional<SigningOptions> signing;
    if (options.certificate) {
        signing = SigningOptions {*options.certificate, SigningPassword(options), options.timestampUrl};
        CheckSigning(*signing);
    }
    // "<name>-setup.exe" beside the export folder.
    std::optional<fs::path> setup;
    if (options.installer) {
        CheckInstallerTools();
        CheckInstallerSize(PlannedExportBytes(plan, options, programs));
        std::string stem = plan.executableName.substr(0, plan.executableName.size() - 4);
        setup = out.parent_path() / (stem + "-setup.exe");
        CheckFileTarget(*setup, "installer", options, app, out);
    }

    InterruptionGuard guard;
    StagingFolder staging(out);
    WriteExport(plan, options, programs, staging.Path());
    if (signing)
        SignPrograms(*signing, plan, staging.Path());
    // The zip is made from the staged export, so that a failure leaves the
    // old output and the old zip as they were.
    std::optional<PartialFile> partialZip;
    if (zip) {
        partialZip.emplace(*zip);
        WriteStoredZip(staging.Path().string(), FilesOf(staging.Path()), out.filename().string(),
            partialZip->path.string(), ThrowIfInterrupted);
    }
    std::optional<PartialFile> partialSetup;
    if (setup) {
        partialSetup.emplace(*setup);
        ProgressBar bar("making the installer");
        BuildInstaller(plan, staging.Path(), partialSetup->path, [&bar](uint64_t done, uint64_t total) {
            bar.Update(done, total);
        });
        if (signing)
            SignProgram(*signing, partialSetup->path);
    }
    ThrowIfInterrupted();
    if (zip)
        fs::rename(partialZip->path, *zip);
    if (setup)
        fs::rename(partialSetup->path, *setup);
    staging.PutInPlace();
    Report(plan, options, out);
    return 0;
}

}

// Turns an app folder into a Windows export folder.
int RunExportCommand(const ExportOptions& options)
{
    try {
        return Export(options);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        EndIfInterrupted();
        return 1;
    }
}
