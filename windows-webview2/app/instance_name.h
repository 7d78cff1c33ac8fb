#pragma once

#include <cstdint>
#include <string>

// The name of the lock that one running copy of an executable holds, the
// same for every spelling of its path that Windows takes for one (ASCII
// case ignored); "Local\" keeps it to the user's own session.
std::string InstanceLockName(const std::string& executablePath);
// The hash in that name, which the running copy's window carries.
uint64_t InstanceHash(const std::string& executablePath);
