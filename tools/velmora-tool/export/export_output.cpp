#include "tools/velmora-tool/export/export_output.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <set>

#include "Quorvel/icon_list.h"
#include "common/ascii.h"
#include "common/file_reading.h"
#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/export/steam_kit_plan.h"

namespace fs = std::filesystem;

namespace {

const std::string PartialMark = ".partial-";

bool IsMountPoint(const fs::path& folder)
{
    struct stat self = {}, parent = {};
    if (stat(folder.c_str(), &self) != 0 || stat(folder.parent_path().c_str(), &parent) != 0)
        return false;
    return self.st_dev != parent.st_dev || folder == folder.parent_path();
}

bool Around(const fs::path& folder, const fs::path& path)
{
    auto mismatch = std::mismatch(folder.begin(), folder.end(), path.begin(), path.end());
    return mismatch.first == folder.end();
}

// The icon images an earlier export's own list names.
std::set<std::string> IconImagesOf(const fs::path& out)
{
    std::set<std::string> images;
    for (const char* list : {"package.json", "icons.json"}) {
        try {
            for (IconEntry icon : ReadIconList(ReadWholeFile((out / list).string()))) {
                std::replace(icon.src.begin(), icon.src.end(), '\\', '/');
                images.insert(icon.src);
            }
        } catch (const std::exception&) {
        }
    }
    return images;
}

// A name an earlier export may hold at its top, or below it for icons.
bool ExportWrote(const std::string& name, bool folder, const std::set<std::string>& icons, int& executables)
{
    std::string lower = AsciiLower(name);
    if (lower == "www" && folder)
        return true;
    if (lower == "package.json" || lower == "quorvel.exe" || lower == "webview2loader.dll" || lower == ExtensionLibrary
        || lower == "icons.json" || lower == SteamLibrary)
        return true;
    if (!folder && lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".exe") == 0)
        return ++executables == 1;
    return std::any_of(icons.begin(), icons.end(), [&name, folder](const std::string& icon) {
        return folder ? icon.compare(0, name.size() + 1, name + "/") == 0 : icon == name;
    });
}

// A folder of the old output that could not be removed once the new one is
// in place: another file system mounted there (its files would be removed
// with it), or one this user may not change.
void CheckRemovable(const fs::path& folder, dev_t device)
{
    struct stat status = {};
    if (lstat(folder.c_str(), &status) != 0 || status.st_dev != device)
        throw ExportError("will not replace the output: " + folder.string() + " is another file system mounted there");
    if (access(folder.c_str(), W_OK | X_OK) != 0)
        throw ExportError("will not replace the output: " + folder.string() + " cannot be changed by you");
}

// Anything in the folder that an export would not have written there, or
// that could not be removed.
void CheckEarlierExport(const fs::path& out)
{
    for (const char* needed : {"package.json", "Quorvel.exe", "WebView2Loader.dll"}) {
        if (!fs::is_regular_file(out / needed))
            throw ExportError("will not replace " + out.string() + ": it is not an earlier export (it has no " + needed
                + ")");
    }
    struct stat top = {};
    stat(out.c_str(), &top);
    CheckRemovable(out, top.st_dev);
    std::set<std::string> icons = IconImagesOf(out);
    int executables = 0;
    for (fs::recursive_directory_iterator walk(out), end; walk != end; ++walk) {
        std::string name = walk->path().lexically_relative(out).generic_string();
        bool folder = walk->is_directory() && !walk->is_symlink();
        if (folder)
            CheckRemovable(walk->path(), top.st_dev);
        bool web = name.compare(0, 4, "www/") == 0 || (folder && AsciiLower(name) == "www");
        if (!web && !ExportWrote(name, folder, icons, executables))
            throw ExportError("will not replace " + out.string() + ": it holds " + name
                + ", which no export writes (remove it, or export elsewhere)");
    }
}

bool ProcessRuns(pid_t pid)
{
    return kill(pid, 0) == 0 || errno == EPERM;
}

// The pid in "<prefix><pid>" or "<prefix>old-<pid>", or 0.
pid_t PidAfter(const std::string& name, const std::string& prefix)
{
    if (name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    std::string digits = name.substr(prefix.size());
    if (digits.compare(0, 4, "old-") == 0)
        digits.erase(0, 4);
    if (digits.empty())
        return 0;
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9)
        return 0;
    return static_cast<pid_t>(std::atol(digits.c_str()));
}

}

fs::path OutputPathOf(const std::string& given)
{
    fs::path path = fs::absolute(given).lexically_normal();
    while (path.filename().empty() && path != path.root_path())
        path = path.parent_path();
    // The folders on the way are resolved; the output itself is not, so
    // that a link there is seen.
    return fs::weakly_canonical(path.parent_path()) / path.filename();
}

void CheckOutputFolder(const fs::path& out, bool replace)
{
    if (fs::is_symlink(out))
        throw ExportError("will not write through the link " + out.string() + ": name the folder it leads to");
    if (const char* home = std::getenv("HOME"); home && fs::exists(home) && fs::equivalent(home, out))
        throw ExportError("will not export into " + out.string() + ": it is your home folder");
    if (Around(out, fs::current_path()))
        throw ExportError("will not export into " + out.string() + ": it is the current folder or holds it");
    if (!fs::exists(out))
        return;
    if (!fs::is_directory(out))
        throw ExportError("the output " + out.string() + " is a file, not a folder");
    if (fs::is_empty(out))
        return;
    if (!replace)
        throw ExportError("the output folder is not empty: " + out.string() + " (--replace replaces it)");
    if (IsMountPoint(out))
        throw ExportError("will not replace " + out.string() + ": it is the root of a mount");
    CheckEarlierExport(out);
}

std::vector<std::string> FilesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            names.push_back(entry.path().lexically_relative(folder).generic_string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

fs::path PartialPathFor(const fs::path& target)
{
    return target.parent_path() / ("." + target.filename().string() + PartialMark + std::to_string(getpid()));
}

void SweepStalePartials(const fs::path& target)
{
    std::string prefix = "." + target.filename().string() + PartialMark;
    std::error_code error;
    for (fs::directory_iterator walk(target.parent_path(), error), end; !error && walk != end; walk.increment(error)) {
        pid_t pid = PidAfter(walk->path().filename().string(), prefix);
        if (pid > 0 && pid != getpid() && !ProcessRuns(pid)) {
            std::error_code ignored;
            fs::remove_all(walk->path(), ignored);
        }
    }
}

StagingFolder::StagingFolder(const fs::path& output) : out(output)
{
    insideMount = fs::is_directory(out) && IsMountPoint(out);
    fs::path beside = insideMount ? out / ".export" : out;
    SweepStalePartials(beside);
    path = PartialPathFor(beside);
    fs::remove_all(path);
    fs::create_directories(path);
}

StagingFolder::~StagingFolder()
{
    if (placed)
        return;
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

void StagingFolder::PutInPlace()
{
    if (insideMount) {
        // The mount was empty: its entries come in one by one.
        for (const fs::directory_entry& entry : fs::directory_iterator(path))
            fs::rename(entry.path(), out / entry.path().filename());
        fs::remove(path);
        placed = true;
        return;
    }
    if (!fs::exists(out)) {
        fs::rename(path, out);
        placed = true;
        return;
    }
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, out.c_str(), RENAME_EXCHANGE) != 0) {
        // A file system without the exchange: the old output goes aside
        // under the staging name first, then the new one comes in.
        fs::path aside = out.parent_path() / ("." + out.filename().string() + PartialMark + "old-"
            + std::to_string(getpid()));
        fs::rename(out, aside);
        fs::rename(path, out);
        path = aside;
    }
    placed = true;
    // The old output now lies under the staging name; a failure to remove
    // it leaves it there for the next export's sweep.
    std::error_code ignored;
    fs::remove_all(path, ignored);
}
