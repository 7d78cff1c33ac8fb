#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One entry of a folder's access list, as far as the check below needs it.
struct AccessEntry {
    std::string sid; // in its "S-1-..." text form
    uint32_t mask = 0;
    bool allows = false;      // an access-allowed entry
    bool inheritable = false; // by both files and folders below
    bool inheritOnly = false; // applies only to what is below
};

// FILE_GENERIC_READ | FILE_GENERIC_EXECUTE.
inline constexpr uint32_t ReadAndExecuteMask = 0x001200A9;

// Since runtime 120 the renderer runs in an app container, and on Windows 10
// a fixed-version runtime's loose files must be readable and executable by
// ALL APPLICATION PACKAGES and ALL RESTRICTED APPLICATION PACKAGES, or it
// fails at launch.
inline const std::vector<std::string> AppContainerGroups = {"S-1-15-2-1", "S-1-15-2-2"};

// The groups of AppContainerGroups that no inheritable entry of the list
// allows to read and execute; none for a null list, which allows everyone.
std::vector<std::string> MissingAppContainerGrants(const std::optional<std::vector<AccessEntry>>& entries);
