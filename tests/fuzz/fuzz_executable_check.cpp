#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "Quorvel/export_folder.h"
#include "tests/unit/Quorvel/resource_model.h"

namespace {

// Whether the check lets an update of the file go ahead.
bool Accepted(IExportFiles& files, const std::string& exePath)
{
    try {
        CheckNoOverlay(files, exePath);
        return true;
    } catch (const std::runtime_error&) {
        return false;
    }
}

}

// The input is the export's executable. A file the check refuses (not a PE
// image, a damaged section table, bytes after the last section) is never
// opened for update; one it accepts is updated.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string file(reinterpret_cast<const char*>(data), size);
    MemoryExportFiles files;
    files.files["C:\\app\\package.json"] = R"({"q7-app-icons": [{"src": "icon.png", "width": 16, "height": 16}]})";
    files.files["C:\\app\\icon.png"] = "png bytes";
    files.files["C:\\app\\game.exe"] = file;
    files.executables["C:\\app\\"] = {"game.exe"};
    ResourceModel updater;

    std::string updated = ProcessFolder(files, updater, "C:\\app\\", "");
    bool accepted = Accepted(files, "C:\\app\\game.exe");
    bool opened = std::find(updater.calls.begin(), updater.calls.end(), "begin C:\\app\\game.exe") != updater.calls.end();
    if (accepted != (updated == "game.exe") || accepted != opened)
        __builtin_trap();
    return 0;
}
