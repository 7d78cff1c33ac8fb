#pragma once

#include <map>
#include <string>

// Content types by lower-case extension, "application/octet-stream" otherwise.
class MimeTable {
public:
    MimeTable();
    std::string mimeTypeFor(const std::string& path) const;
    const std::map<std::string, std::string>& Entries() const { return types; }

private:
    std::map<std::string, std::string> types;
};

// The table the host builds once and only reads.
const MimeTable& HostMimeTable();
std::string mimeTypeFor(const std::string& path);
