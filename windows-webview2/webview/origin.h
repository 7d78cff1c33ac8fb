#pragma once

#include <string>

// The fixed origin under which the host serves the app's files.
inline constexpr const char* VirtualOrigin = "https://velmora.localhost/";

// Whether url lies within origin: a case-sensitive byte prefix that, when
// origin does not end in "/", also ends at a boundary ("/", "?", "#" or the
// end), so "https://example.com" does not admit "https://example.com.evil.net".
bool IsWithinOrigin(const std::string& url, const std::string& origin);
