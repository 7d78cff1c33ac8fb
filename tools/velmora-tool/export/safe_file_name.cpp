#include "tools/velmora-tool/export/safe_file_name.h"

#include <cstdint>
#include <cstring>

#include "assets/request_path.h"
#include "common/ascii.h"

namespace {

const size_t MostBytes = 200;

bool IsForbidden(unsigned char c)
{
    return c < 32 || std::strchr("<>:\"/\\|?*", c) != nullptr;
}

bool IsReservedStem(const std::string& stem)
{
    std::string lower = AsciiLower(stem);
    if (lower == "con" || lower == "prn" || lower == "aux" || lower == "nul" || lower == "conin$"
        || lower == "conout$")
        return true;
    bool port = lower.compare(0, 3, "com") == 0 || lower.compare(0, 3, "lpt") == 0;
    if (!port)
        return false;
    std::string digit = lower.substr(3);
    // The superscript digits one, two and three count as digits here.
    return (digit.size() == 1 && digit[0] >= '0' && digit[0] <= '9') || digit == "\xC2\xB9" || digit == "\xC2\xB2"
        || digit == "\xC2\xB3";
}

// The code point of the UTF-8 sequence at text[at], moving at past it;
// the caller knows the text is valid UTF-8.
uint32_t NextCodePoint(const std::string& text, size_t& at)
{
    auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(at);
    int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    uint32_t point = length == 1 ? lead : lead & (0x7F >> length);
    for (int i = 1; i < length; ++i)
        point = (point << 6) | (byte(at + i) & 0x3F);
    at += length;
    return point;
}

void AppendUtf8(std::string& out, uint32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

uint32_t FoldedCodePoint(uint32_t point)
{
    bool latin1 = point >= 0xC0 && point <= 0xDE && point != 0xD7;
    bool greek = point >= 0x391 && point <= 0x3A9 && point != 0x3A2;
    bool cyrillic = point >= 0x410 && point <= 0x42F;
    if ((point >= 'A' && point <= 'Z') || latin1 || greek || cyrillic)
        return point + 0x20;
    if (point >= 0x400 && point <= 0x40F)
        return point + 0x50;
    // Latin Extended-A pairs capitals and small letters side by side.
    bool evenCapital = (point >= 0x100 && point <= 0x137) || (point >= 0x14A && point <= 0x177);
    bool oddCapital = (point >= 0x139 && point <= 0x148) || (point >= 0x179 && point <= 0x17E);
    if ((evenCapital && point % 2 == 0) || (oddCapital && point % 2 == 1))
        return point + 1;
    return point;
}

// Never cuts inside a UTF-8 sequence.
std::string CutAtCharacter(const std::string& text, size_t most)
{
    if (text.size() <= most)
        return text;
    size_t end = most;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

void DropTrailingDotsAndSpaces(std::string& name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
}

}

std::string SafeExecutableName(const std::string& appName)
{
    std::string name;
    for (unsigned char c : appName)
        name += IsForbidden(c) ? '_' : static_cast<char>(c);
    DropTrailingDotsAndSpaces(name);
    name = CutAtCharacter(name, MostBytes);
    DropTrailingDotsAndSpaces(name);
    std::string::size_type dot = name.find('.');
    std::string stem = name.substr(0, dot);
    if (IsReservedStem(stem))
        name.insert(stem.size(), "_");
    return (name.empty() ? "app" : name) + ".exe";
}

std::string WindowsNameProblem(const std::string& component)
{
    if (RepairUtf8(component) != component)
        return "not valid UTF-8";
    for (unsigned char c : component) {
        if (c < 32)
            return "a control character";
        if (IsForbidden(c))
            return std::string("the character ") + static_cast<char>(c);
    }
    if (!component.empty() && (component.back() == '.' || component.back() == ' '))
        return "a dot or a space at its end, which Windows drops";
    if (IsReservedStem(component.substr(0, component.find('.'))))
        return "a reserved device name";
    return {};
}

std::string WindowsCaseFolded(const std::string& name)
{
    std::string folded;
    folded.reserve(name.size());
    for (size_t at = 0; at < name.size();)
        AppendUtf8(folded, FoldedCodePoint(NextCodePoint(name, at)));
    return folded;
}
