#include "tools/velmora-tool/commands/http_request.h"

#include "common/ascii.h"

std::optional<HttpRequest> ParseHttpRequest(const std::string& head)
{
    std::string::size_type lineEnd = head.find("\r\n");
    if (lineEnd == std::string::npos)
        return std::nullopt;
    std::string requestLine = head.substr(0, lineEnd);
    std::string::size_type firstSpace = requestLine.find(' ');
    std::string::size_type secondSpace = requestLine.find(' ', firstSpace + 1);
    if (firstSpace == std::string::npos || secondSpace == std::string::npos)
        return std::nullopt;
    HttpRequest request;
    request.method = requestLine.substr(0, firstSpace);
    request.target = requestLine.substr(firstSpace + 1, secondSpace - firstSpace - 1);
    if (request.target.empty() || request.target[0] != '/')
        return std::nullopt;
    for (std::string::size_type start = lineEnd + 2; start < head.size();) {
        std::string::size_type end = head.find("\r\n", start);
        if (end == std::string::npos || end == start)
            break;
        std::string line = head.substr(start, end - start);
        std::string::size_type colon = line.find(':');
        if (colon != std::string::npos && AsciiLower(line.substr(0, colon)) == "range")
            request.range = line.substr(colon + 1);
        start = end + 2;
    }
    return request;
}
