#include "tools/velmora-tool/safe_file_name.h"

#include <cstring>

#include "common/ascii.h"

namespace {

const size_t MostBytes = 200;

bool IsForbidden(unsigned char c)
{
    return c < 32 || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

bool IsReservedStem(const std::string& stem)
{
    std::string lower = AsciiLower(stem);
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul")
        return true;
    return lower.size() == 4 && (lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0) &&
           lower[3] >= '1' && lower[3] <= '9';
}

// Never cuts inside a UTF-8 sequence.
std::string CutAtCharacter(const std::string& text, size_t most)
{
    if (text.size() <= most)
        return text;
    size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void DropTrailingDotsAndSpaces(std::string& name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

}

std::string SafeExecutableName(const std::string& appName)
{
    std::string name;
    for (unsigned char c : appName)
        name += IsForbidden(c) ? '_' : static_cast<char>(c);
    DropTrailingDotsAndSpaces(name);
    name = CutAtCharacter(name, MostBytes);
    DropTrailingDotsAndSpaces(name);
    std::string::size_type dot = name.find('.');
    std::string stem = name.substr(0, dot);
    if (IsReservedStem(stem))
        name.insert(stem.size(), "_");
    return (name.empty() ? "app" : name) + ".exe";
}
