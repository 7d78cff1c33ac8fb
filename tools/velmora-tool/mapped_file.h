#pragma once

#include <cstdint>
#include <string>

// A whole file mapped read-only, as the host maps "assets.dat".
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    const uint8_t* Data() const { return data; }
    uint64_t Size() const { return size; }

private:
    const uint8_t* data = nullptr;
    uint64_t size = 0;
};
