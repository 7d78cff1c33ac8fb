#pragma once

#include <cstdint>
#include <string>

// Whole-file reads over UTF-8 paths (long paths on Windows). A missing,
// unreadable or empty file reads as empty text and has size 0.
std::string ReadWholeFile(const std::string& path);
// At most maxBytes from the start of the file.
std::string ReadFileStart(const std::string& path, uint64_t maxBytes);
uint64_t FileSize(const std::string& path);
