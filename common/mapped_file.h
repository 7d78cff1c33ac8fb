#pragma once

#include <cstdint>
#include <string>

// A whole file mapped read-only for as long as the object lives; an empty
// file has no view. Throws std::runtime_error when the file cannot be
// opened or mapped.
class MappedFile {
public:
    explicit MappedFile(const std::string& path);
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    const uint8_t* Data() const { return data; }
    uint64_t Size() const { return size; }
#ifdef _WIN32
    // The handle the view was made from, to ask where the file really is.
    void* FileHandle() const { return file; }
#endif

private:
    const uint8_t* data = nullptr;
    uint64_t size = 0;
#ifdef _WIN32
    // The file and the mapping stay open while viewed, so that the file
    // cannot be deleted or changed under the view.
    void* file = nullptr;
    void* mapping = nullptr;
#endif
};
