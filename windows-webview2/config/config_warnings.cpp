#include "config/config_warnings.h"

#include "common/json_readers.h"
#include "config/app_config.h"

namespace {

enum class Expect { Bool, Count, Colour, Awareness, Seconds };

struct KeyRule {
    const char* section;
    const char* key;
    Expect expect;
    const char* fallback;
};

const KeyRule Rules[] = {
    {"window", "background-color", Expect::Colour, "the system's window colour"},
    {"window", "fullscreen", Expect::Bool, "false"},
    {"window", "min-width", Expect::Count, "no minimum"},
    {"window", "min-height", Expect::Count, "no minimum"},
    {"window", "remember-placement", Expect::Bool, "false"},
    {"window", "dpi-awareness", Expect::Awareness, "\"system\""},
    {"settings", "single-instance", Expect::Bool, "false"},
    {"settings", "close-request", Expect::Bool, "false"},
    {"settings", "close-request-timeout", Expect::Seconds, "5"},
    {"settings", "autoplay", Expect::Bool, "false"},
};

// What is wrong with the value, or nothing when the host takes it.
const char* Problem(const nlohmann::json& value, Expect expect)
{
    switch (expect) {
    case Expect::Bool:
        return value.is_boolean() ? nullptr : "is not true or false";
    case Expect::Count:
        return value.is_number() && NumberToInt32(value) >= 0 ? nullptr : "is not a number of 0 or more";
    case Expect::Colour:
        return value.is_string() && ParseColour(value.get<std::string>()) ? nullptr
                                                                           : "is not a colour of the form \"#rrggbb\"";
    case Expect::Awareness:
        return value == "system" || value == "per-monitor" ? nullptr : "is neither \"system\" nor \"per-monitor\"";
    case Expect::Seconds:
        return value.is_number() && IsCloseRequestSeconds(NumberToInt32(value)) ? nullptr
                                                                                 : "is not a number of seconds from 1 to 60";
    }
    return nullptr;
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
        if (const char* problem = Problem(*value, rule.expect))
            warnings.push_back(std::string("\"") + rule.section + "\" \u2192 \"" + rule.key + "\": " + Shown(*value) + " " +
                problem + "; the host uses " + rule.fallback);
    }
    return warnings;
}
