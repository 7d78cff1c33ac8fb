#include "config/config_warnings.h"

#include <optional>

#include "common/json_readers.h"
#include "config/app_config.h"

namespace {

enum class Expect { Bool, Count, Colour, Choice, Seconds, Text };

struct KeyRule {
    const char* section;
    const char* key;
    Expect expect;
    const char* fallback;
    const char* const* choices = nullptr; // the two names of a Choice
};

const KeyRule Rules[] = {
    {"window", "background-color", Expect::Colour, "the system's window colour"},
    {"window", "fullscreen", Expect::Bool, "false"},
    {"window", "min-width", Expect::Count, "no minimum"},
    {"window", "min-height", Expect::Count, "no minimum"},
    {"window", "remember-placement", Expect::Bool, "false"},
    {"window", "dpi-awareness", Expect::Choice, "\"system\"", DpiAwarenessNames},
    {"window", "frame-rate", Expect::Choice, "\"vsync\"", FrameRateNames},
    {"settings", "single-instance", Expect::Bool, "false"},
    {"settings", "close-request", Expect::Bool, "false"},
    {"settings", "close-request-timeout", Expect::Seconds, "5"},
    {"settings", "autoplay", Expect::Bool, "false"},
    {"settings", "run-in-background", Expect::Bool, "false"},
    {"settings", "gpu", Expect::Choice, "\"default\"", GpuPreferenceNames},
    {"settings", "wine-browser-arguments", Expect::Text, "none"},
};

std::string ChoiceProblem(const char* const* choices)
{
    return std::string("is neither \"") + choices[0] + "\" nor \"" + choices[1] + "\"";
}

// What is wrong with the value, or nothing when the host takes it.
std::optional<std::string> Problem(const nlohmann::json& value, const KeyRule& rule)
{
    switch (rule.expect) {
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
        if (value == rule.choices[0] || value == rule.choices[1])
            return std::nullopt;
        return ChoiceProblem(rule.choices);
    case Expect::Text:
        if (value.is_string())
            return std::nullopt;
        return "is not text";
    case Expect::Seconds:
        if (value.is_number() && IsCloseRequestSeconds(NumberToInt32(value)))
            return std::nullopt;
        return "is not a number of seconds from 1 to 60";
    }
    return std::nullopt;
}

std::string Shown(const nlohmann::json& value)
{
    std::string text = value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

}

std::vector<std::string> ConfigWarnings(const std::string& text)
{
    std::vector<std::string> warnings;
    nlohmann::json top;
    try {
        top = ParseJsonText(text);
    } catch (...) {
        return warnings;
    }
    if (!top.is_object())
        return warnings;
    for (const KeyRule& rule : Rules) {
        auto section = top.find(rule.section);
        if (section == top.end() || !section->is_object())
            continue;
        auto value = section->find(rule.key);
        if (value == section->end())
            continue;
        if (std::optional<std::string> problem = Problem(*value, rule))
            warnings.push_back(std::string("\"") + rule.section + "\" \u2192 \"" + rule.key + "\": " + Shown(*value) + " " +
                *problem + "; the host uses " + rule.fallback);
    }
    return warnings;
}
