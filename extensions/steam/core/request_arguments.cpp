#include "extensions/steam/core/request_arguments.h"

#include <cmath>
#include <limits>

using nlohmann::json;

namespace {

const json* Member(const json& request, const char* key)
{
    auto found = request.find(key);
    return found == request.end() ? nullptr : &*found;
}

const json& Required(const json& request, const char* key)
{
    const json* value = Member(request, key);
    if (!value)
        throw SteamError(std::string("missing \"") + key + "\"");
    return *value;
}

// Whole numbers only: 3.0 is taken, 3.5 is not.
int64_t WholeNumber(const json& value, const char* key, int64_t least, int64_t most)
{
    std::string range = std::to_string(least) + " to " + std::to_string(most);
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        int64_t number = value.get<int64_t>();
        if (number >= least && number <= most)
            return number;
    } else if (value.is_number_unsigned()) {
        uint64_t number = value.get<uint64_t>();
        if (number <= static_cast<uint64_t>(most) && static_cast<int64_t>(number) >= least)
            return static_cast<int64_t>(number);
    } else if (value.is_number_float()) {
        double number = value.get<double>();
        if (std::floor(number) == number && number >= static_cast<double>(least) && number <= static_cast<double>(most))
            return static_cast<int64_t>(number);
    }
    throw SteamError(std::string("\"") + key + "\" must be a whole number from " + range);
}

}

std::string TextArgument(const json& request, const char* key)
{
    const json& value = Required(request, key);
    if (!value.is_string() || value.get_ref<const std::string&>().empty())
        throw SteamError(std::string("\"") + key + "\" must be a non-empty text");
    return value.get<std::string>();
}

int32_t Int32Argument(const json& request, const char* key)
{
    return static_cast<int32_t>(WholeNumber(Required(request, key), key, std::numeric_limits<int32_t>::min(),
        std::numeric_limits<int32_t>::max()));
}

int32_t Int32Argument(const json& request, const char* key, int32_t fallback)
{
    return Member(request, key) ? Int32Argument(request, key) : fallback;
}

uint32_t Uint32Argument(const json& request, const char* key)
{
    return static_cast<uint32_t>(WholeNumber(Required(request, key), key, 0, std::numeric_limits<uint32_t>::max()));
}

uint32_t Uint32Argument(const json& request, const char* key, uint32_t fallback)
{
    return Member(request, key) ? Uint32Argument(request, key) : fallback;
}

float FloatArgument(const json& request, const char* key)
{
    const json& value = Required(request, key);
    double number = value.is_number() ? value.get<double>() : NAN;
    if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max())
        throw SteamError(std::string("\"") + key + "\" must be a finite number");
    return static_cast<float>(number);
}

bool BoolArgument(const json& request, const char* key, bool fallback)
{
    const json* value = Member(request, key);
    if (!value)
        return fallback;
    if (!value->is_boolean())
        throw SteamError(std::string("\"") + key + "\" must be true or false");
    return value->get<bool>();
}

int ChoiceArgument(const json& request, const char* key, std::initializer_list<const char*> names, int fallback)
{
    const json* value = Member(request, key);
    if (!value)
        return fallback;
    int position = 0;
    std::string choices;
    for (const char* name : names) {
        if (value->is_string() && value->get_ref<const std::string&>() == name)
            return position;
        choices += std::string(position ? ", " : "") + "\"" + name + "\"";
        ++position;
    }
    throw SteamError(std::string("\"") + key + "\" must be one of " + choices);
}
