#include "assets/request_path.h"

#include <algorithm>
#include <cstdint>

#include "common/ascii.h"

namespace {

const char Replacement[] = "\xEF\xBF\xBD";
const std::string::size_type PlatformBufferUnits = 2048;

// Length of the valid UTF-8 sequence at i, or 0 with the length of its
// maximal invalid subpart in badLength.
size_t SequenceLength(const std::string& s, size_t i, size_t& badLength)
{
    uint8_t lead = static_cast<uint8_t>(s[i]);
    badLength = 1;
    if (lead < 0x80)
        return 1;
    size_t length;
    uint8_t low = 0x80, high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    for (size_t k = 1; k < length; ++k) {
        if (i + k >= s.size())
            return 0;
        uint8_t next = static_cast<uint8_t>(s[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
            return 0;
        badLength = k + 1;
    }
    return length;
}

std::string::size_type Utf16Units(const std::string& utf8)
{
    std::string::size_type units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++units;
        if (c >= 0xF0)
            ++units;
    }
    return units;
}

}

std::string RepairUtf8(const std::string& bytes)
{
    std::string result;
    result.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        size_t bad = 1;
        size_t length = SequenceLength(bytes, i, bad);
        if (length == 0) {
            result += Replacement;
            i += bad;
            continue;
        }
        result.append(bytes, i, length);
        i += length;
    }
    return result;
}

namespace {

bool IsValidUtf8(const std::string& text)
{
    for (size_t i = 0; i < text.size();) {
        size_t bad = 1;
        size_t length = SequenceLength(text, i, bad);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// ASCII without an escape: nothing to decode or repair.
bool IsPlainAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<uint8_t>(c) < 0x80 && c != '%'; });
}

}

std::string DecodeRequestPath(const std::string& relative)
{
    // Most paths have nothing to decode or repair: they are their own result.
    if (IsPlainAscii(relative) || (relative.find('%') == std::string::npos && IsValidUtf8(relative)))
        return relative;
    std::string bytes;
    bytes.reserve(relative.size());
    for (size_t i = 0; i < relative.size(); ++i) {
        if (relative[i] == '%' && i + 2 < relative.size() && AsciiHexValue(relative[i + 1]) >= 0 &&
            AsciiHexValue(relative[i + 2]) >= 0) {
            bytes += static_cast<char>(AsciiHexValue(relative[i + 1]) * 16 + AsciiHexValue(relative[i + 2]));
            i += 2;
        } else {
            bytes += relative[i];
        }
    }
    std::string decoded = RepairUtf8(bytes);
    return Utf16Units(decoded) < PlatformBufferUnits ? decoded : relative;
}

std::string RequestPathOf(const std::string& relative)
{
    std::string path = DecodeRequestPath(relative.substr(0, relative.find_first_of("?#")));
    if (path.empty() || path.back() == '/')
        path += "index.html";
    return path;
}

bool IsSafeDiskPath(const std::string& path)
{
    if (path.empty())
        return true;
    if (path[0] == '/' || path[0] == '\\')
        return false;
    if (path.find(':') != std::string::npos || path.find('\0') != std::string::npos)
        return false;
    std::string::size_type start = 0;
    while (start <= path.size()) {
        std::string::size_type end = path.find_first_of("/\\", start);
        if (end == std::string::npos)
            end = path.size();
        if (path.compare(start, end - start, "..") == 0)
            return false;
        // Windows drops a name's trailing dots and spaces, so "index.html."
        // would open another name than the one asked for.
        bool dotOnly = end - start == 1 && path[start] == '.';
        if (end > start && !dotOnly && (path[end - 1] == '.' || path[end - 1] == ' '))
            return false;
        start = end + 1;
    }
    return true;
}
