#pragma once

#include <string>
#include <unordered_map>
#include <vector>

// The app's "export-exclude" list: paths relative to the app folder ("./"
// and a leading "/" are allowed), each naming a file or a whole folder (with
// or without a trailing "/"). A path with "*", "?" or "[" is a wildcard
// pattern over the whole relative path, in which "*" never crosses a "/".
// Plain paths are looked up in sets, so the cost grows with a name's depth,
// not with the length of the list.
class ExportExclusions {
public:
    explicit ExportExclusions(const std::vector<std::string>& entries);

    // Whether the file (relative, "/" between folders) is left out; the
    // entry that matched is remembered.
    bool Excludes(const std::string& name);
    // The entries, as written, that matched no file.
    std::vector<std::string> Unmatched() const;

private:
    struct Entry {
        std::string written;
        std::string path;
        bool matched = false;
    };
    std::vector<Entry> entries;
    // Indexes into entries, by normalised path.
    std::unordered_multimap<std::string, size_t> plain;
    std::vector<size_t> patterns;
};
