#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Content types by lower-case extension, "application/octet-stream" otherwise;
// a ".br" or ".gz" name is typed by the extension before it.
// A lookup builds no string: the extension, lower-cased, and its length are
// one integer key, and the type given is the table's own.
class MimeTable {
public:
    MimeTable();
    const std::string& MimeTypeFor(std::string_view path) const;

private:
    static uint64_t KeyOf(std::string_view extension);

    std::vector<std::pair<uint64_t, std::string>> types;
    std::string fallback;
};

// The type the host serves a path with, from one table built on first use.
const std::string& MimeTypeFor(std::string_view path);
