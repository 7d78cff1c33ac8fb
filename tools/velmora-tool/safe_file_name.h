#pragma once

#include <string>

// A Windows file name for the app's executable, made from its "name":
// characters Windows forbids in names (<>:"/\|?*, and control characters)
// become "_"; trailing dots and spaces, which Windows drops, are removed;
// a reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, in any case
// and with any extension) gets a "_" appended to its stem; a name longer
// than 200 bytes is cut at a character boundary; an empty result is "app".
// ".exe" is appended.
std::string SafeExecutableName(const std::string& appName);
