#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where an export goes, and how it gets there without ever losing the
// output that was there before.

// The output's absolute path, with "." parts and trailing separators gone
// ("out/", "out/." are "out").
std::filesystem::path OutputPathOf(const std::string& given);

// Refuses, before anything is written, an output that is a link, the
// user's home, the current folder or a folder around it, the root of a
// mount that is not empty, or a folder that is not empty and is either not
// to be replaced or not an earlier export. An earlier export holds
// "package.json", "Quorvel.exe" and "WebView2Loader.dll", and nothing but
// what an export writes: one more executable (the host), "Tandrel.dll",
// "icons.json", the "www" folder, and the icon images its own icon list
// names. Throws ExportError with the reason.
void CheckOutputFolder(const std::filesystem::path& out, bool replace);

// A hidden folder, ".<output name>.partial-<pid>", beside the output (or,
// for an empty mount point, inside it, as a folder cannot be renamed onto
// a mount) into which the export is written. Staging folders of processes
// that no longer run are swept first. The folder is removed when the
// object goes, unless PutInPlace has put it in place.
class StagingFolder {
public:
    explicit StagingFolder(const std::filesystem::path& out);
    ~StagingFolder();
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    const std::filesystem::path& Path() const { return path; }
    // Exchanges the staging folder with the output in one step, so that a
    // complete export is at the output path at every instant, then removes
    // the old output. A failure before the exchange leaves the old output
    // as it was.
    void PutInPlace();

private:
    std::filesystem::path out;
    std::filesystem::path path;
    bool insideMount;
    bool placed = false;
};

// Every file below a written export, relative, "/" between folders, in
// byte order: what its zip and its installer hold.
std::vector<std::string> FilesOf(const std::filesystem::path& folder);

// The name of this process's temporary file or folder for `target`, beside
// it, and the sweep of those of processes that no longer run.
std::filesystem::path PartialPathFor(const std::filesystem::path& target);
void SweepStalePartials(const std::filesystem::path& target);
