#include "webview/origin.h"

bool IsWithinOrigin(const std::string& url, const std::string& origin)
{
    if (url.compare(0, origin.size(), origin) != 0 || url.size() < origin.size())
        return false;
    if (origin.empty() || origin.back() == '/' || url.size() == origin.size())
        return true;
    char next = url[origin.size()];
    return next == '/' || next == '?' || next == '#';
}
