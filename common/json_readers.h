#pragma once

#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

// Member readers that fall back to the caller's default for a value that is
// not an object, a missing member or a member of another type.
std::string GetStringOr(const nlohmann::json& value, const std::string& key, const std::string& fallback);
int32_t GetIntOr(const nlohmann::json& value, const std::string& key, int32_t fallback);
bool GetBoolOr(const nlohmann::json& value, const std::string& key, bool fallback);

// A number as a 32-bit signed integer: integers keep their low 32 bits,
// floating-point values are truncated toward zero and saturate at the ends
// of the range.
int32_t NumberToInt32(const nlohmann::json& number);

inline constexpr int MaxJsonDepth = 512;

// Strict parse of a JSON text up to its first NUL byte; a UTF-8 byte-order
// mark is accepted and the last of duplicate keys wins. Arrays and objects
// nested deeper than MaxJsonDepth fail like a syntax error.
nlohmann::json ParseJsonText(const std::string& text);
