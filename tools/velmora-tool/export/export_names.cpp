#include "tools/velmora-tool/export/export_names.h"

#include "tools/velmora-tool/export/export_plan.h"
#include "tools/velmora-tool/export/safe_file_name.h"

void ExportNames::AddFolder(const std::string& path, const std::string& what)
{
    Add(path + "/", what);
}

void ExportNames::Add(const std::string& path, const std::string& what)
{
    for (size_t from = 0;;) {
        size_t slash = path.find('/', from);
        std::string part = path.substr(from, slash == std::string::npos ? std::string::npos : slash - from);
        std::string problem = WindowsNameProblem(part);
        if (!problem.empty())
            throw ExportError("cannot ship " + what + " " + path + ": Windows cannot hold its name (" + problem + ")");
        if (slash == std::string::npos)
            break;
        Hold(path.substr(0, slash), what, true);
        from = slash + 1;
        // A path ending in "/" names the folder alone.
        if (from == path.size())
            return;
    }
    Hold(path, what, false);
}

void ExportNames::Hold(const std::string& path, const std::string& what, bool folder)
{
    auto [found, added] = held.try_emplace(WindowsCaseFolded(path), Held {path, what, folder});
    if (added || (found->second.path == path && found->second.folder == folder))
        return;
    throw ExportError("cannot ship " + what + " " + path + " beside " + found->second.what + " " + found->second.path
        + ": Windows takes them for the same name, as it ignores case");
}
