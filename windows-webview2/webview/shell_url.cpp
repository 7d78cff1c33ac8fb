#include "webview/shell_url.h"

#include "common/ascii.h"
#include "webview/origin.h"

bool MayOpenWithShell(const std::string& url)
{
    std::string::size_type colon = url.find(':');
    if (colon == std::string::npos)
        return false;
    std::string scheme = AsciiLower(url.substr(0, colon));
    if (scheme != "http" && scheme != "https" && scheme != "mailto")
        return false;
    std::string origin = VirtualOrigin;
    // Scheme and host name compare without regard to case.
    return AsciiLower(url.substr(0, origin.size())) != origin;
}
