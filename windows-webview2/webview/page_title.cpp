#include "webview/page_title.h"

bool IsTitleMadeFromUrl(const std::string& title, const std::string& url)
{
    if (url.empty() || title.empty())
        return false;
    if (title == url)
        return true;
    std::string::size_type authority = url.find("://");
    return authority != std::string::npos && title == url.substr(authority + 3);
}
