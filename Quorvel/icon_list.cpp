#include "Quorvel/icon_list.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "common/json_readers.h"

namespace {

const nlohmann::json& Member(const nlohmann::json& element, const char* key)
{
    auto it = element.find(key);
    if (it == element.end())
        throw std::runtime_error(std::string("icon entry lacks \"") + key + "\"");
    return *it;
}

int32_t Dimension(const nlohmann::json& element, const char* key)
{
    const nlohmann::json& value = Member(element, key);
    if (value.is_boolean())
        return value.get<bool>() ? 1 : 0;
    if (!value.is_number())
        throw std::runtime_error(std::string("icon \"") + key + "\" is not a number");
    return NumberToInt32(value);
}

bool IsAllowedSize(int32_t width, int32_t height)
{
    return width == height && std::find(AllowedIconSizes.begin(), AllowedIconSizes.end(), width) != AllowedIconSizes.end();
}

}

std::vector<IconEntry> ReadIconList(const std::string& text)
{
    nlohmann::json root = ParseJsonText(text);
    if (root.is_null())
        root = nlohmann::json::object();
    if (!root.is_object())
        throw std::runtime_error("list root is not an object");
    auto list = root.find("q7-app-icons");
    if (list == root.end() || !list->is_array())
        throw std::runtime_error("no \"q7-app-icons\" array");

    std::vector<IconEntry> icons;
    for (const nlohmann::json& element : *list) {
        if (!element.is_object())
            throw std::runtime_error("icon entry is not an object");
        const nlohmann::json& src = Member(element, "src");
        if (!src.is_string())
            throw std::runtime_error("icon \"src\" is not a string");
        int32_t width = Dimension(element, "width");
        int32_t height = Dimension(element, "height");
        if (!IsAllowedSize(width, height))
            continue;
        // Resource numbers and the group's count are 16-bit.
        if (icons.size() == std::numeric_limits<uint16_t>::max())
            throw std::runtime_error("too many icons");
        icons.push_back({src.get<std::string>(), width, static_cast<uint16_t>(icons.size() + 1)});
    }
    return icons;
}
