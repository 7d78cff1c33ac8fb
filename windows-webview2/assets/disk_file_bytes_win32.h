#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "assets/body_reader.h"

// A disk file opened for the bodies read from it. It shares only reading,
// so that nobody can change, replace or delete it while a body is served
// from it. Throws std::runtime_error when it cannot be opened.
class OpenedDiskFile {
public:
    explicit OpenedDiskFile(const std::string& path);
    ~OpenedDiskFile();
    OpenedDiskFile(const OpenedDiskFile&) = delete;
    OpenedDiskFile& operator=(const OpenedDiskFile&) = delete;

    HANDLE Handle() const { return handle; }
    uint64_t Size() const { return size; }
    // Reads at a position of its own, so that any number of threads may
    // read at once; false on any failure or a file that ended early.
    bool ReadAt(uint64_t offset, void* into, size_t count) const;

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
    uint64_t size = 0;
};

// The bytes [offset, offset + length) of an opened file. Read with
// ReadFile rather than through a mapped view: a view whose file can no
// longer be read (a network share that went away, a removed drive) raises
// an in-page exception in whichever thread touches it, which only
// structured exception handling could catch.
class DiskFileBytes : public IBodyBytes {
public:
    // Throws std::runtime_error when the range does not lie in the file.
    DiskFileBytes(std::shared_ptr<const OpenedDiskFile> opened, uint64_t rangeOffset, uint64_t rangeLength);
    uint64_t Length() const override { return length; }
    bool ReadAt(uint64_t at, void* into, size_t count) const override;

private:
    std::shared_ptr<const OpenedDiskFile> file;
    uint64_t offset;
    uint64_t length;
};
