#include "common/positional_read_win32.h"

#include <algorithm>

bool ReadAtOffset(HANDLE file, uint64_t offset, void* into, size_t count)
{
    auto* bytes = static_cast<uint8_t*>(into);
    while (count > 0) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD wanted = static_cast<DWORD>(std::min<size_t>(count, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, bytes, wanted, &got, &at) || got == 0)
            return false;
        bytes += got;
        offset += got;
        count -= got;
    }
    return true;
}
