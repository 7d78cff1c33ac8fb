#include "tools/velmora-tool/export/export_exclusions.h"

#include <fnmatch.h>

namespace {

std::string Normalised(std::string path)
{
    while (path.compare(0, 2, "./") == 0)
        path.erase(0, 2);
    while (!path.empty() && path.front() == '/')
        path.erase(0, 1);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    return path;
}

// Calls visit with the name, then with each folder it lies in, innermost
// first.
template <typename Visit>
void ForPathAndFolders(const std::string& name, Visit visit)
{
    for (size_t end = name.size(); end > 0;) {
        visit(name.substr(0, end));
        size_t slash = name.rfind('/', end - 1);
        end = slash == std::string::npos ? 0 : slash;
    }
}

bool IsPattern(const std::string& path)
{
    return path.find_first_of("*?[") != std::string::npos;
}

}

ExportExclusions::ExportExclusions(const std::vector<std::string>& written)
{
    for (const std::string& text : written) {
        size_t index = entries.size();
        entries.push_back({text, Normalised(text)});
        if (IsPattern(entries.back().path))
            patterns.push_back(index);
        else
            plain.emplace(entries.back().path, index);
    }
}

bool ExportExclusions::Excludes(const std::string& name)
{
    bool excluded = false;
    ForPathAndFolders(name, [this, &excluded](const std::string& path) {
        auto [first, last] = plain.equal_range(path);
        for (auto it = first; it != last; ++it)
            excluded = entries[it->second].matched = true;
        for (size_t index : patterns) {
            if (fnmatch(entries[index].path.c_str(), path.c_str(), FNM_PATHNAME) == 0)
                excluded = entries[index].matched = true;
        }
    });
    return excluded;
}

std::vector<std::string> ExportExclusions::Unmatched() const
{
    std::vector<std::string> unmatched;
    for (const Entry& entry : entries) {
        if (!entry.matched)
            unmatched.push_back(entry.written);
    }
    return unmatched;
}
