#pragma once

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

#include "config/app_config.h"

// The keys of "package.json" that players and shippers asked for, in one
// table that the loader and the export's warnings both read: a new key is
// added here only. Each is off (or its default) unless asked for, and a
// value the host cannot use gives the default, as for every other key.
struct ConfigKey {
    enum class Expect { Bool, Count, Colour, Choice, Seconds, Text };

    const char* section; // "window" or "settings"
    const char* key;
    Expect expect;
    const char* fallback; // the default, as the warnings name it
    // Sets the field from a value the host takes, or to its default (null).
    void (*apply)(AppConfig& config, const nlohmann::json* value);
    const char* const* choices = nullptr; // the two names of a Choice, the default first
};

const std::vector<ConfigKey>& ConfigKeys();

// Why the host cannot use the value for this key, or nothing when it can.
std::optional<std::string> ProblemWith(const nlohmann::json& value, const ConfigKey& key);

// Every key of the table, from the sections of "package.json".
void ApplyConfigKeys(const nlohmann::json& window, const nlohmann::json& settings, AppConfig& config);
