#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <optional>
#include <string>

// "steam": {"app-id": <number>} of "package.json": nothing when the app does
// not ask for the Steam kit; throws std::invalid_argument with the reason for
// a value that is no Steam app id (a whole number from 1 to 4294967295).
std::optional<uint32_t> SteamAppIdIn(const nlohmann::json& package);
