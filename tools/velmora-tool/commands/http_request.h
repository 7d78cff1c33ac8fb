#pragma once

#include <optional>
#include <string>

// The parts of an HTTP/1.x request head that the host's answer depends on.
struct HttpRequest {
    std::string method;
    std::string target; // as sent: "/" followed by the path, query and all
    std::optional<std::string> range;
};

// The request in a head that ends with an empty line; nothing for a head
// that is not one (no request line, a target that does not begin with "/").
std::optional<HttpRequest> ParseHttpRequest(const std::string& head);
