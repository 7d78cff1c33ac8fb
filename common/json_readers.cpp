#include "common/json_readers.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

const nlohmann::json* FindMember(const nlohmann::json& value, const std::string& key)
{
    if (!value.is_object())
        return nullptr;
    auto it = value.find(key);
    return it == value.end() ? nullptr : &*it;
}

// The library's own tree builder, refusing to open a level past
// MaxJsonDepth: copying, comparing and printing a value recurse once per
// level, so a deeper text must not exhaust the stack later. Parsing with a
// builder of its own, instead of json::parse with a callback, leaves the
// library's callback parser out of the programs (about 11 KB in each).
class DepthBoundTreeBuilder : public nlohmann::detail::json_sax_dom_parser<nlohmann::json> {
public:
    using json_sax_dom_parser::json_sax_dom_parser;

    bool start_object(std::size_t elements)
    {
        Open();
        return json_sax_dom_parser::start_object(elements);
    }
    bool end_object()
    {
        --depth;
        return json_sax_dom_parser::end_object();
    }
    bool start_array(std::size_t elements)
    {
        Open();
        return json_sax_dom_parser::start_array(elements);
    }
    bool end_array()
    {
        --depth;
        return json_sax_dom_parser::end_array();
    }

private:
    void Open()
    {
        if (depth >= MaxJsonDepth)
            throw std::runtime_error("json nested too deeply");
        ++depth;
    }

    int depth = 0;
};

}

int32_t NumberToInt32(const nlohmann::json& number)
{
    if (number.is_number_integer() || number.is_number_unsigned())
        return static_cast<int32_t>(static_cast<uint32_t>(number.get<uint64_t>()));
    double v = std::trunc(number.get<double>());
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

std::string GetStringOr(const nlohmann::json& value, const std::string& key, const std::string& fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_string() ? member->get<std::string>() : fallback;
}

int32_t GetIntOr(const nlohmann::json& value, const std::string& key, int32_t fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_number() ? NumberToInt32(*member) : fallback;
}

bool GetBoolOr(const nlohmann::json& value, const std::string& key, bool fallback)
{
    const nlohmann::json* member = FindMember(value, key);
    return member && member->is_boolean() ? member->get<bool>() : fallback;
}

nlohmann::json ParseJsonText(const std::string& text)
{
    std::string::size_type end = text.find('\0');
    if (end == std::string::npos)
        end = text.size();
    nlohmann::json root;
    DepthBoundTreeBuilder builder(root);
    nlohmann::json::sax_parse(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), &builder);
    return root;
}
