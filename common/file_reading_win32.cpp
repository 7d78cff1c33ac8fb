#include "common/file_reading.h"

#include <windows.h>

#include <algorithm>

#include "common/paths_win32.h"
#include "common/positional_read_win32.h"

namespace {

// An opened file that is closed when it goes out of scope; invalid when the
// path names no file that can be opened for reading: a folder (it needs
// FILE_FLAG_BACKUP_SEMANTICS), or a pipe, console or other device.
class ReadableFile {
public:
    explicit ReadableFile(const std::string& path, DWORD access)
    {
        handle = CreateFileW(PlatformPath(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_DISK) {
            CloseHandle(handle);
            handle = INVALID_HANDLE_VALUE;
        }
    }
    ~ReadableFile()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    ReadableFile(const ReadableFile&) = delete;
    ReadableFile& operator=(const ReadableFile&) = delete;

    bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
    uint64_t Size() const
    {
        LARGE_INTEGER size {};
        return IsOpen() && GetFileSizeEx(handle, &size) && size.QuadPart > 0 ? static_cast<uint64_t>(size.QuadPart) : 0;
    }
    // Fills bytes exactly from the start; false on any failure or a file
    // that ended early.
    bool ReadExactly(std::string& bytes) const { return ReadAtOffset(handle, 0, bytes.data(), bytes.size()); }

private:
    HANDLE handle = INVALID_HANDLE_VALUE;
};

}

std::string ReadFileStart(const std::string& path, uint64_t maxBytes)
{
    ReadableFile file(path, GENERIC_READ);
    uint64_t size = std::min(file.Size(), maxBytes);
    std::string bytes;
    if (size == 0 || size > bytes.max_size())
        return {};
    bytes.resize(static_cast<size_t>(size));
    // A read that fails part-way gives nothing rather than a cut text that
    // could parse as something else.
    return file.ReadExactly(bytes) ? bytes : std::string();
}

uint64_t FileSize(const std::string& path)
{
    return ReadableFile(path, FILE_READ_ATTRIBUTES).Size();
}
