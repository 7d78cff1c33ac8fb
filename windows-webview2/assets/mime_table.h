#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

// Content types by lower-case extension, "application/octet-stream" otherwise.
// A lookup builds no string: the type given is the table's own.
class MimeTable {
public:
    MimeTable();
    const std::string& MimeTypeFor(std::string_view path) const;

private:
    std::map<std::string, std::string, std::less<>> types;
    std::string fallback;
};

// The type the host serves a path with, from one table built on first use.
const std::string& MimeTypeFor(std::string_view path);
