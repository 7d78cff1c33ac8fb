#include "assets/range_header.h"

#include <algorithm>

#include "common/ascii.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Leading white space, one optional sign, then digits up to the first
// non-digit; the rest is ignored. No digits, a negative value or one past
// 2^63 - 1 gives nothing.
std::optional<uint64_t> ReadNumber(const std::string& text)
{
    std::string::size_type i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const uint64_t max = static_cast<uint64_t>(INT64_MAX);
    uint64_t value = 0;
    std::string::size_type digits = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        uint64_t digit = static_cast<uint64_t>(text[i] - '0');
        if (value > (max - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
    }
    if (digits == 0 || (negative && value != 0))
        return std::nullopt;
    return value;
}

}

std::string TrimHeaderValue(const std::string& value)
{
    std::string::size_type begin = 0, end = value.size();
    while (begin < end && IsSpace(value[begin]))
        ++begin;
    while (end > begin && IsSpace(value[end - 1]))
        --end;
    return value.substr(begin, end - begin);
}

std::optional<ByteRange> ParseRangeHeader(const std::string& value, uint64_t size)
{
    const std::string unit = "bytes=";
    if (size == 0 || AsciiLower(value.substr(0, unit.size())) != unit)
        return std::nullopt;
    std::string ranges = value.substr(unit.size());
    std::string::size_type dash = ranges.find('-');
    if (ranges.empty() || dash == std::string::npos)
        return std::nullopt;

    if (dash == ranges.size() - 1) {
        auto first = ReadNumber(ranges.substr(0, dash));
        if (!first || *first >= size)
            return std::nullopt;
        return ByteRange{*first, size - 1, true};
    }
    if (dash != 0) {
        auto first = ReadNumber(ranges.substr(0, dash));
        auto last = ReadNumber(ranges.substr(dash + 1));
        if (!first || !last || *first >= size || *first > *last)
            return std::nullopt;
        return ByteRange{*first, std::min(*last, size - 1), false};
    }
    auto count = ReadNumber(ranges.substr(1));
    if (!count || *count == 0)
        return std::nullopt;
    return ByteRange{size - std::min(*count, size), size - 1, true};
}
