#pragma once

#include <string>

// Standard base64 (RFC 4648, with padding), for cloud files that are not
// text. DecodeBase64 throws SteamError on anything but that alphabet.
std::string EncodeBase64(const std::string& bytes);
std::string DecodeBase64(const std::string& text);
