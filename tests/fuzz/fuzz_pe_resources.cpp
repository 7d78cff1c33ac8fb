#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <unistd.h>

#include "common/file_reading.h"
#include "Quorvel/pe_file_updater.h"
#include "Quorvel/resource_section_rewrite.h"

namespace {

std::string FilePath()
{
    const char* folder = std::getenv("TMPDIR");
    return std::string(folder ? folder : "/tmp") + "/fuzz-pe-resources-" + std::to_string(getpid()) + ".exe";
}

void AddIcon(IResourceUpdater& updater)
{
    std::string image = "icon image";
    updater.Update(RtIcon, ResourceName::Number(1), NeutralLanguage, &image);
    updater.Update(RtGroupIcon, ResourceName::Text(u"MAINICON"), NeutralLanguage, &image);
}

// Through the file: a refused update leaves it byte for byte as it was.
void CheckFile(const std::string& original)
{
    static const std::string path = FilePath();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(original.data(), static_cast<std::streamsize>(original.size()));
    PeFileUpdater updater;
    updater.ListIconResources(path);
    if (updater.Begin(path)) {
        AddIcon(updater);
        if (!updater.End(false) && ReadWholeFile(path) != original)
            __builtin_trap();
    }
    std::remove((path + ".resources-tmp").c_str());
    std::remove(path.c_str());
}

}

// Damaged executables through the reader and the writer: an update either
// yields an image that parses and whose resources read back as written, or
// is refused with an error. One input in eight also goes through a file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string original(reinterpret_cast<const char*>(data), size);
    if (size > 0 && data[size - 1] % 8 == 0)
        CheckFile(original);
    ResourceTree tree;
    try {
        tree = ReadResourceTree(original, ReadPeLayout(original));
    } catch (const std::runtime_error&) {
        return 0;
    }
    tree[{ResourceName::Number(RtIcon), ResourceName::Number(1), NeutralLanguage}] = "icon image";
    std::string rewritten;
    try {
        rewritten = ReplaceResourceSection(original, tree);
    } catch (const std::runtime_error&) {
        return 0;
    }
    if (ReadResourceTree(rewritten, ReadPeLayout(rewritten)) != tree)
        __builtin_trap();
    return 0;
}
