#include "config/config_warnings.h"

#include <optional>

#include "common/json_readers.h"
#include "config/app_config.h"
#include "config/config_keys.h"

namespace {

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
    for (const ConfigKey& rule : ConfigKeys()) {
        auto section = top.find(rule.section);
        if (section == top.end() || !section->is_object())
            continue;
        auto value = section->find(rule.key);
        if (value == section->end())
            continue;
        if (std::optional<std::string> problem = ProblemWith(*value, rule))
            warnings.push_back(std::string("\"") + rule.section + "\" \u2192 \"" + rule.key + "\": " + Shown(*value) + " " +
                *problem + "; the host uses " + rule.fallback);
    }
    return warnings;
}
