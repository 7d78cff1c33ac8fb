#include "Quorvel/quorvel_messages.h"

std::string UpdatedText(const std::vector<std::string>& updated)
{
    std::string text = "Successfully updated icons for the following executable files:\n\n";
    for (const std::string& line : updated)
        text += line + "\n";
    return text;
}
