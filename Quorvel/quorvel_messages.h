#pragma once

#include <string>
#include <vector>

inline constexpr const char* QuorvelCaption = "Quorvel";

inline constexpr const char* NothingUpdatedText =
    "Failed to find or update any executable file icons. Check the folder structure is correct. (Try running this "
    "tool immediately after extracting an export, since Corvane exports with the expected folder structure.) Also "
    "check that you have write access to the executable files.";

// The success text: a sentence, a blank line, then one line per updated
// executable, each ending with a line feed.
std::string UpdatedText(const std::vector<std::string>& updated);
