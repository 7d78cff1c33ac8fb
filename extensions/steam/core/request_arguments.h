#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <initializer_list>
#include <stdexcept>
#include <string>

// A request the kit refuses or Steam could not carry out, with the text the
// page receives as "error".
struct SteamError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The members of a page's request, each checked; a missing or unusable one
// throws SteamError naming it. The forms with a fallback take it when the
// member is missing.
std::string TextArgument(const nlohmann::json& request, const char* key);
int32_t Int32Argument(const nlohmann::json& request, const char* key);
int32_t Int32Argument(const nlohmann::json& request, const char* key, int32_t fallback);
uint32_t Uint32Argument(const nlohmann::json& request, const char* key);
uint32_t Uint32Argument(const nlohmann::json& request, const char* key, uint32_t fallback);
float FloatArgument(const nlohmann::json& request, const char* key);
bool BoolArgument(const nlohmann::json& request, const char* key, bool fallback);
// The position of the member's text among the names; the fallback's when missing.
int ChoiceArgument(const nlohmann::json& request, const char* key, std::initializer_list<const char*> names,
    int fallback);
