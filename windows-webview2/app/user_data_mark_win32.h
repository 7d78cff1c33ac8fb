#pragma once

#include <string>

// Creates the user-data folder (its last level) and marks it as this app's
// (UserDataMark), once; failures are left to the runtime, which reports
// a folder it cannot use.
void MarkUserDataFolder(const std::string& userDataFolder, const std::string& appName);
