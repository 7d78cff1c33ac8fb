#include "shell_url.h"

#include <cctype>

namespace {

bool IsSchemeCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

std::string AsciiLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}

bool MayOpenWithShell(const std::string& url)
{
    std::string::size_type colon = url.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(url[0])))
        return false;
    for (std::string::size_type i = 1; i < colon; ++i) {
        if (!IsSchemeCharacter(url[i]))
            return false;
    }
    return AsciiLower(url.substr(0, colon)) != "file";
}
