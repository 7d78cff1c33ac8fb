#include "tools/velmora-tool/export/programs_folder.h"

#include <cstdlib>

std::filesystem::path ProgramsFolder()
{
    if (const char* folder = std::getenv("VELMORA_PROGRAMS_DIR"))
        return folder;
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}
