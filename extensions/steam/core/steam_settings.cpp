#include "extensions/steam/core/steam_settings.h"

#include <limits>
#include <stdexcept>

std::optional<uint32_t> SteamAppIdIn(const nlohmann::json& package)
{
    auto steam = package.find("steam");
    if (steam == package.end())
        return std::nullopt;
    const char* expected = "\"steam\" must be {\"app-id\": <the app's Steam id, a whole number>}";
    if (!steam->is_object())
        throw std::invalid_argument(expected);
    auto id = steam->find("app-id");
    if (id == steam->end() || !id->is_number_unsigned() || id->get<uint64_t>() == 0
        || id->get<uint64_t>() > std::numeric_limits<uint32_t>::max())
        throw std::invalid_argument(expected);
    return static_cast<uint32_t>(id->get<uint64_t>());
}
