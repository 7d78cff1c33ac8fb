#include "config/config_keys.h"

#include "common/json_readers.h"

namespace {

using Expect = ConfigKey::Expect;
using Json = nlohmann::json;

// Two names: the value is the second one's enumerator when it names it.
template <typename Enum>
Enum Chosen(const Json* value, const char* const (&names)[2])
{
    return value && *value == names[1] ? static_cast<Enum>(1) : static_cast<Enum>(0);
}

const std::vector<ConfigKey> Keys = {
    {"window", "background-color", Expect::Colour, "the system's window colour",
        [](AppConfig& c, const Json* v) { c.backgroundColor = v ? ParseColour(v->get<std::string>()) : std::nullopt; }},
    {"window", "fullscreen", Expect::Bool, "false", [](AppConfig& c, const Json* v) { c.fullscreen = v && v->get<bool>(); }},
    {"window", "min-width", Expect::Count, "no minimum",
        [](AppConfig& c, const Json* v) { c.minWidth = v ? NumberToInt32(*v) : 0; }},
    {"window", "min-height", Expect::Count, "no minimum",
        [](AppConfig& c, const Json* v) { c.minHeight = v ? NumberToInt32(*v) : 0; }},
    {"window", "remember-placement", Expect::Bool, "false",
        [](AppConfig& c, const Json* v) { c.rememberPlacement = v && v->get<bool>(); }},
    {"window", "dpi-awareness", Expect::Choice, "\"system\"",
        [](AppConfig& c, const Json* v) { c.dpiAwareness = Chosen<DpiAwareness>(v, DpiAwarenessNames); },
        DpiAwarenessNames},
    {"window", "frame-rate", Expect::Choice, "\"vsync\"",
        [](AppConfig& c, const Json* v) { c.frameRate = Chosen<FrameRate>(v, FrameRateNames); }, FrameRateNames},
    {"settings", "single-instance", Expect::Bool, "false",
        [](AppConfig& c, const Json* v) { c.singleInstance = v && v->get<bool>(); }},
    {"settings", "close-request", Expect::Bool, "false",
        [](AppConfig& c, const Json* v) { c.closeRequest = v && v->get<bool>(); }},
    {"settings", "close-request-timeout", Expect::Seconds, "5",
        [](AppConfig& c, const Json* v) { c.closeRequestSeconds = v ? NumberToInt32(*v) : DefaultCloseRequestSeconds; }},
    {"settings", "autoplay", Expect::Bool, "false", [](AppConfig& c, const Json* v) { c.autoplay = v && v->get<bool>(); }},
    {"settings", "run-in-background", Expect::Bool, "false",
        [](AppConfig& c, const Json* v) { c.runInBackground = v && v->get<bool>(); }},
    {"settings", "gpu", Expect::Choice, "\"default\"",
        [](AppConfig& c, const Json* v) { c.gpu = Chosen<GpuPreference>(v, GpuPreferenceNames); }, GpuPreferenceNames},
    {"settings", "wine-browser-arguments", Expect::Text, "none",
        [](AppConfig& c, const Json* v) { c.wineBrowserArguments = v ? v->get<std::string>() : ""; }},
};

}

const std::vector<ConfigKey>& ConfigKeys()
{
    return Keys;
}

std::optional<std::string> ProblemWith(const Json& value, const ConfigKey& key)
{
    switch (key.expect) {
    case Expect::Bool:
        if (value.is_boolean())
            return std::nullopt;
        return "is not true or false";
    case Expect::Count:
        if (value.is_number() && NumberToInt32(value) >= 0)
            return std::nullopt;
        return "is not a number of 0 or more";
    case Expect::Colour:
        if (value.is_string() && ParseColour(value.get<std::string>()))
            return std::nullopt;
        return "is not a colour of the form \"#rrggbb\"";
    case Expect::Choice:
        if (value == key.choices[0] || value == key.choices[1])
            return std::nullopt;
        return std::string("is neither \"") + key.choices[0] + "\" nor \"" + key.choices[1] + "\"";
    case Expect::Seconds:
        if (value.is_number() && IsCloseRequestSeconds(NumberToInt32(value)))
            return std::nullopt;
        return "is not a number of seconds from 1 to 60";
    case Expect::Text:
        if (value.is_string())
            return std::nullopt;
        return "is not text";
    }
    return std::nullopt;
}

void ApplyConfigKeys(const Json& window, const Json& settings, AppConfig& config)
{
    for (const ConfigKey& key : Keys) {
        const Json& section = std::string(key.section) == "window" ? window : settings;
        const Json* value = nullptr;
        if (section.is_object()) {
            auto found = section.find(key.key);
            if (found != section.end() && !ProblemWith(*found, key))
                value = &*found;
        }
        key.apply(config, value);
    }
}
