#pragma once

#include <cstdint>
#include <string>

#include "tools/velmora-tool/export/unity_build.h"

// A compressed file's decoded bytes in an anonymous temporary file: it has
// no name, so nothing is left behind however the export ends, and it is
// read back through its descriptor's path for as long as this object lives.
class DecodedFile {
public:
    // Throws std::runtime_error with the reason for data that is not of the
    // encoding, cut short or followed by other bytes, and for a failed read
    // or write.
    DecodedFile(const std::string& sourcePath, ContentEncoding encoding);
    ~DecodedFile();
    DecodedFile(const DecodedFile&) = delete;
    DecodedFile& operator=(const DecodedFile&) = delete;

    std::string Path() const;
    uint64_t Size() const { return size; }

private:
    int fd = -1;
    uint64_t size = 0;
};
