#include "tools/velmora-tool/shipping/installer_build.h"

#include <zlib.h>

#include <algorithm>
#include <numeric>
#include <fstream>

#include "Quorvel/export_folder.h"
#include "Quorvel/std_export_files.h"
#include "common/file_reading.h"
#include "tools/velmora-tool/export/export_output.h"
#include "tools/velmora-tool/export/planned_copy.h"
#include "tools/velmora-tool/shipping/helper_process.h"
#include "tools/velmora-tool/shipping/installer_script.h"

namespace fs = std::filesystem;

namespace {

const char* const Maker = "makensis";
// Inside the staged export, so that the sweep of a killed export takes it
// too; gone before the export is put in place.
const char* const WorkFolder = ".installer";

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

// The work folder and what lies in it, removed on every way out.
struct WorkFiles {
    explicit WorkFiles(fs::path at) : path(std::move(at)) { fs::create_directories(path); }
    ~WorkFiles()
    {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    WorkFiles(const WorkFiles&) = delete;
    WorkFiles& operator=(const WorkFiles&) = delete;
    const fs::path path;
};

// Each file by a plain name in the work folder (a hard link, else a copy),
// so that makensis never reads one of the app's names; its size in `sizes`.
std::vector<InstalledFile> Sources(const std::vector<std::string>& names, const fs::path& staging,
    const fs::path& work, std::vector<uint64_t>& sizes)
{
    std::vector<InstalledFile> files;
    for (const std::string& name : names) {
        fs::path from = staging / name;
        std::string source = "f" + std::to_string(files.size());
        std::error_code linked;
        fs::create_hard_link(from, work / source, linked);
        if (linked)
            fs::copy_file(from, work / source);
        uint64_t size = fs::file_size(from);
        sizes.push_back(size);
        files.push_back({name, source, WorthCompressing(from, size)});
    }
    return files;
}

// makensis says "File: "f<n>" ..." as it takes each file (at -V3), in the
// order of the script.
struct FileFollower {
    const std::vector<uint64_t>& sizes;
    uint64_t total;
    const PackProgress& progress;
    size_t next = 0;
    size_t searched = 0;
    uint64_t done = 0;

    void Follow(const std::string& said)
    {
        static const std::string Mark = "File: \"f";
        size_t at = said.find(Mark, searched);
        for (; at != std::string::npos; at = said.find(Mark, at + 1)) {
            if (next < sizes.size())
                done += sizes[next++];
            progress(done, total);
        }
        searched = said.size() < Mark.size() ? 0 : said.size() - Mark.size() + 1;
    }
};

void MoveFile(const fs::path& from, const fs::path& to)
{
    std::error_code moved;
    fs::rename(from, to, moved);
    if (!moved)
        return;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing);
}

}

bool WorthCompressing(const fs::path& path, uint64_t size)
{
    const size_t samples = 8;
    const size_t sampleBytes = 32 * 1024;
    std::ifstream in(path, std::ios::binary);
    size_t count = size <= sampleBytes ? 1 : samples;
    size_t shrinking = 0;
    for (size_t i = 0; i < count; ++i) {
        uint64_t at = count == 1 ? 0 : i * ((size - sampleBytes) / (count - 1));
        std::string sample(static_cast<size_t>(std::min<uint64_t>(sampleBytes, size)), '\0');
        in.seekg(static_cast<std::streamoff>(at));
        in.read(sample.data(), static_cast<std::streamsize>(sample.size()));
        uLongf deflated = compressBound(static_cast<uLong>(sample.size()));
        std::string out(deflated, '\0');
        compress2(reinterpret_cast<Bytef*>(out.data()), &deflated, reinterpret_cast<const Bytef*>(sample.data()),
            static_cast<uLong>(sample.size()), 1);
        if (deflated * 6 < sample.size() * 5)
            ++shrinking;
    }
    return shrinking * 2 > count;
}

void CheckInstallerTools()
{
    if (!ProgramFound(Maker))
        throw ExportError(std::string("--installer needs ") + Maker + ", which is not installed (Debian package nsis)");
}

void CheckInstallerSize(uint64_t exportBytes)
{
    if (exportBytes <= MostInstallerBytes)
        return;
    throw ExportError("--installer: the export holds " + std::to_string(exportBytes)
        + " bytes, more than an NSIS installer can hold (" + std::to_string(MostInstallerBytes)
        + " bytes, just under 2 GiB); ship this game as its zip (--zip) or its export folder instead");
}

void BuildInstaller(const ExportPlan& plan, const fs::path& staging, const fs::path& out, const PackProgress& progress)
{
    // Listed before the work folder exists in the staging.
    std::vector<std::string> names = FilesOf(staging);
    WorkFiles work(staging / WorkFolder);
    InstallerFacts facts;
    facts.appName = plan.config.name;
    facts.title = plan.windowTitle.empty() ? plan.config.name : plan.windowTitle;
    facts.shortcutName = ShortcutNameFor(facts.title);
    facts.executableName = plan.executableName;
    facts.version = VersionFieldsOf(plan.packageText, plan.windowTitle, plan.executableName);
    std::vector<uint64_t> sizes;
    facts.files = Sources(names, staging, work.path, sizes);
    // Windows applies its installer heuristics to a name with "setup" in
    // it; this one is only makensis's.
    facts.outFile = "made.exe";
    std::string iconBytes = IconOf(staging);
    if (!iconBytes.empty()) {
        WriteTextFile(work.path / "icon.ico", iconBytes);
        facts.iconFile = "icon.ico";
    }
    WriteTextFile(work.path / "setup.nsi", InstallerScript(facts));
    std::string said;
    FileFollower follower {sizes, std::accumulate(sizes.begin(), sizes.end(), uint64_t {0}), progress};
    // makensis runs in the work folder, where the script names its files.
    int code = RunHelper({Maker, "-V3", (work.path / "setup.nsi").string()}, "", said,
        [&follower](const std::string& saidSoFar) { follower.Follow(saidSoFar); });
    if (code != 0)
        throw ExportError("cannot make the installer: " + HelperReason(said));
    MoveFile(work.path / facts.outFile, out);
}
