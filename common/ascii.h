#pragma once

#include <string>

// Lower-cases A-Z only: names, extensions and schemes compare this way
// whatever the user's locale.
std::string AsciiLower(std::string text);

inline char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
