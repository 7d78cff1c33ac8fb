#include "bundle_file_win32.h"

#include <stdexcept>

#include "paths_win32.h"

void BundleFile::Open(const std::string& path, AssetBundle& bundle)
{
    int64_t size = FileSize(path);
    file = CreateFileW(PlatformPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot open the bundle");
    mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping)
        throw std::runtime_error("cannot map the bundle");
    view = static_cast<const uint8_t*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
    if (!view)
        throw std::runtime_error("cannot view the bundle");
    bundle.AttachMemory(view, static_cast<uint64_t>(size));
    bundle.parse();
}

void BundleFile::Close()
{
    if (view)
        UnmapViewOfFile(view);
    if (mapping)
        CloseHandle(mapping);
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    *this = BundleFile();
}
