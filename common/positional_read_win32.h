#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Reads exactly count bytes at offset through a handle opened without
// overlapped I/O: the offset makes each read positional, so any number of
// threads may read at once. False on any failure or a file that ended early.
bool ReadAtOffset(HANDLE file, uint64_t offset, void* into, size_t count);
