#include "extensions/steam/core/base64.h"

#include "extensions/steam/core/request_arguments.h"

// Written here: the kit is a Windows library built with mingw, where none of
// Debian's base64 libraries is at hand, and the code is a few lines.
namespace {

const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char c)
{
    const char* at = c ? std::char_traits<char>::find(Alphabet, 64, c) : nullptr;
    return at ? static_cast<int>(at - Alphabet) : -1;
}

}

std::string EncodeBase64(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        size_t left = bytes.size() - i;
        uint32_t group = static_cast<uint8_t>(bytes[i]) << 16;
        if (left > 1)
            group |= static_cast<uint8_t>(bytes[i + 1]) << 8;
        if (left > 2)
            group |= static_cast<uint8_t>(bytes[i + 2]);
        text += Alphabet[(group >> 18) & 63];
        text += Alphabet[(group >> 12) & 63];
        text += left > 1 ? Alphabet[(group >> 6) & 63] : '=';
        text += left > 2 ? Alphabet[group & 63] : '=';
    }
    return text;
}

std::string DecodeBase64(const std::string& text)
{
    if (text.size() % 4 != 0)
        throw SteamError("the data is not base64: its length is not a multiple of 4");
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int padding = last ? (text[i + 3] == '=') + (text[i + 2] == '=' && text[i + 3] == '=') : 0;
        uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            int value = k >= 4 - padding ? 0 : ValueOf(text[i + k]);
            if (value < 0)
                throw SteamError("the data is not base64: unexpected \"" + text.substr(i + k, 1) + "\"");
            group = group << 6 | static_cast<uint32_t>(value);
        }
        bytes += static_cast<char>(group >> 16);
        if (padding < 2)
            bytes += static_cast<char>(group >> 8 & 0xff);
        if (padding < 1)
            bytes += static_cast<char>(group & 0xff);
    }
    return bytes;
}
