#pragma once

#include <string>
#include <unordered_map>

// The names an export holds, checked as Windows will hold them: every part
// of every path must be a name Windows can hold, and no two files or
// folders may be the same name when case is ignored. Add throws
// ExportError naming the file and the reason.
class ExportNames {
public:
    // A file at this path in the export (relative, "/" between folders);
    // what says where it comes from ("the app file", "the icon image").
    void Add(const std::string& path, const std::string& what);
    void AddFolder(const std::string& path, const std::string& what);

private:
    struct Held {
        std::string path;
        std::string what;
        bool folder;
    };
    void Hold(const std::string& path, const std::string& what, bool folder);

    std::unordered_map<std::string, Held> held; // by case-folded path
};
