#pragma once

#include <cstdint>
#include <string>

// Little-endian fields; an offset past the end throws "not a pe image".
// Offsets are 64-bit so that a damaged header cannot wrap them on 32-bit.
uint32_t ReadU32At(const std::string& bytes, uint64_t offset);
uint16_t ReadU16At(const std::string& bytes, uint64_t offset);
void WriteU16At(std::string& bytes, uint64_t offset, uint16_t value);
void WriteU32At(std::string& bytes, uint64_t offset, uint32_t value);
