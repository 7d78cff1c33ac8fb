#include "webview/app_container_access.h"

#include <algorithm>

namespace {

bool Grants(const AccessEntry& entry, const std::string& sid)
{
    return entry.allows && entry.inheritable && !entry.inheritOnly &&
           (entry.mask & ReadAndExecuteMask) == ReadAndExecuteMask && entry.sid == sid;
}

}

std::vector<std::string> MissingAppContainerGrants(const std::optional<std::vector<AccessEntry>>& entries)
{
    std::vector<std::string> missing;
    if (!entries)
        return missing;
    for (const std::string& sid : AppContainerGroups) {
        bool granted = std::any_of(entries->begin(), entries->end(),
            [&sid](const AccessEntry& entry) { return Grants(entry, sid); });
        if (!granted)
            missing.push_back(sid);
    }
    return missing;
}
