#pragma once

#include <cstdint>
#include <string>

// Whole-file reads over UTF-8 paths (long paths on Windows). A missing,
// unreadable or empty file reads as empty text and has size 0.

// At most maxBytes from the start of the file.
std::string ReadFileStart(const std::string& path, uint64_t maxBytes);
inline std::string ReadWholeFile(const std::string& path) { return ReadFileStart(path, UINT64_MAX); }
uint64_t FileSize(const std::string& path);
