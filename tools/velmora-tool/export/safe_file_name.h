#pragma once

#include <string>

// A Windows file name for the app's executable, made from its "name":
// characters Windows forbids in names (<>:"/\|?*, and control characters)
// become "_"; trailing dots and spaces, which Windows drops, are removed;
// a reserved device name (CON, PRN, AUX, NUL, COM0-9, LPT0-9 and their
// superscript forms, CONIN$, CONOUT$, in any case and with any extension)
// gets a "_" appended to its stem; a name longer
// than 200 bytes is cut at a character boundary; an empty result is "app".
// ".exe" is appended.
std::string SafeExecutableName(const std::string& appName);

// Why Windows cannot hold one file or folder name as it is, or empty when
// it can: not valid UTF-8, a control character or one of <>:"/\|?*, a
// reserved device name (as above), or a trailing dot or space.
std::string WindowsNameProblem(const std::string& component);

// The name as Windows compares names, ignoring case: ASCII, Latin-1,
// Latin Extended-A, Greek and Cyrillic letters folded to lower case (an
// approximation of the file system's upcase table for the common scripts).
std::string WindowsCaseFolded(const std::string& name);
