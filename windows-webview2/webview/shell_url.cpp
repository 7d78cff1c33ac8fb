#include "webview/shell_url.h"

#include <cctype>

#include "common/ascii.h"

namespace {

bool IsSchemeCharacter(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
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
