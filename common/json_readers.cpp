#include "common/json_readers.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const nlohmann::json* FindMember(const nlohmann::json& value, const std::string& key)
{
    if (!value.is_object())
        return nullptr;
    auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
}

}

int32_t NumberToInt32(const nlohmann::json& number)
{
    if (number.is_number_integer() || number.is_number_unsigned())
        return static_cast<int32_t>(static_cast<uint32_t>(number.get<uint64_t>()));
    double v = std::trunc(number.get<double>());
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

std::string GetStringOr(const nlohmann::json& value, const std::string& key, const std::string& fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_string() ? member->get<std::string>() : fallback;
}

int32_t GetIntOr(const nlohmann::json& value, const std::string& key, int32_t fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_number() ? NumberToInt32(*member) : fallback;
}

bool GetBoolOr(const nlohmann::json& value, const std::string& key, bool fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_boolean() ? member->get<bool>() : fallback;
}

nlohmann::json ParseJsonText(const std::string& text)
{
    std::string::size_type end = text.find('\0');
    if (end == std::string::npos)
        end = text.size();
    // Copying, comparing and printing a value recurse once per level, so a
    // deeper text is refused before it can exhaust the stack.
    auto boundDepth = [](int depth, nlohmann::json::parse_event_t event, nlohmann::json&) {
        bool opens = event == nlohmann::json::parse_event_t::object_start ||
                     event == nlohmann::json::parse_event_t::array_start;
        if (opens && depth >= MaxJsonDepth)
            throw std::runtime_error("json nested too deeply");
        return true;
    };
    return nlohmann::json::parse(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), boundDepth, true, false);
}
