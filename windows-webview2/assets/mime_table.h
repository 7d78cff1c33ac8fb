#pragma once

#include <map>
#include <string>

// Content types by lower-case extension, "application/octet-stream" otherwise.
class MimeTable {
public:
    MimeTable();
    std::string MimeTypeFor(const std::string& path) const;

private:
    std::map<std::string, std::string> types;
};

// The type the host serves a path with, from one table built on first use.
std::string MimeTypeFor(const std::string& path);
