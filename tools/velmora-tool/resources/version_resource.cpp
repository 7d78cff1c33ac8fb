#include "tools/velmora-tool/resources/version_resource.h"

#include <stdexcept>

#include <nlohmann/json.hpp>

#include "common/json_readers.h"
#include "common/little_endian.h"

namespace {

constexpr uint16_t TextBlock = 1;
constexpr uint16_t BinaryBlock = 0;

// "1", "1.2", "1.2.3" or "1.2.3.4", each part a 16-bit number.
bool ParseDottedVersion(const std::string& text, std::array<uint16_t, 4>& parts)
{
    std::array<uint16_t, 4> read = {0, 0, 0, 0};
    size_t part = 0, digits = 0;
    uint32_t value = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '.') {
            if (digits == 0 || part == 4)
                return false;
            read[part++] = static_cast<uint16_t>(value);
            value = 0;
            digits = 0;
            continue;
        }
        if (text[i] < '0' || text[i] > '9' || ++digits > 5)
            return false;
        value = value * 10 + static_cast<uint32_t>(text[i] - '0');
        if (value > 0xFFFF)
            return false;
    }
    parts = read;
    return true;
}

// UTF-16 units of valid UTF-8 (nlohmann checks what it parses).
std::u16string Utf16Of(const std::string& text)
{
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra && i + static_cast<size_t>(k) < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + static_cast<size_t>(k)]) & 0x3F);
        i += static_cast<size_t>(extra) + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

void PutText(std::string& out, const std::u16string& text)
{
    for (char16_t unit : text)
        AppendLittleEndian(out, unit, 2);
    AppendLittleEndian(out, 0, 2);
}

void PadTo4(std::string& out)
{
    while (out.size() % 4)
        out.push_back('\0');
}

// One block: length, value length, type, key, value, children, each
// starting on a 32-bit boundary. valueLength counts words for text values.
std::string Block(const std::string& key, uint16_t type, const std::string& value, uint16_t valueLength,
    const std::vector<std::string>& children)
{
    std::string out(6, '\0');
    PutText(out, Utf16Of(key));
    PadTo4(out);
    out += value;
    for (const std::string& child : children) {
        PadTo4(out);
        out += child;
    }
    // Block lengths are 16-bit.
    if (out.size() > 0xFFFF)
        throw std::runtime_error("version information too long");
    out[0] = static_cast<char>(out.size() & 0xFF);
    out[1] = static_cast<char>((out.size() >> 8) & 0xFF);
    out[2] = static_cast<char>(valueLength & 0xFF);
    out[3] = static_cast<char>(valueLength >> 8);
    out[4] = static_cast<char>(type);
    return out;
}

std::string FixedFileInfo(const std::array<uint16_t, 4>& version)
{
    std::string out;
    uint32_t high = static_cast<uint32_t>(version[0]) << 16 | version[1];
    uint32_t low = static_cast<uint32_t>(version[2]) << 16 | version[3];
    for (uint32_t value : {0xFEEF04BDu, 0x00010000u, high, low, high, low, 0x3Fu, 0u, 0x00040004u, 1u, 0u, 0u, 0u})
        AppendLittleEndian(out, value, 4);
    return out;
}

std::string OptionalString(const nlohmann::json& package, const char* key)
{
    auto member = package.find(key);
    return member != package.end() && member->is_string() ? member->get<std::string>() : std::string();
}

}

VersionFields VersionFieldsOf(const std::string& packageText, const std::string& title,
    const std::string& executableName)
{
    nlohmann::json package = ParseJsonText(packageText);
    VersionFields fields;
    std::string version = OptionalString(package, "version");
    if (!ParseDottedVersion(version, fields.version))
        version = "0.0.0.0";
    std::string name = OptionalString(package, "name");
    std::vector<std::pair<std::string, std::string>> strings = {
        {"CompanyName", OptionalString(package, "company")},
        {"FileDescription", title.empty() ? name : title},
        {"FileVersion", version},
        {"InternalName", name},
        {"LegalCopyright", OptionalString(package, "copyright")},
        {"OriginalFilename", executableName},
        {"ProductName", name},
        {"ProductVersion", version},
    };
    for (auto& entry : strings) {
        if (!entry.second.empty())
            fields.strings.push_back(std::move(entry));
    }
    return fields;
}

std::string VersionResource(const VersionFields& fields)
{
    std::vector<std::string> strings;
    for (const auto& [key, value] : fields.strings) {
        std::u16string text = Utf16Of(value);
        std::string bytes;
        PutText(bytes, text);
        strings.push_back(Block(key, TextBlock, bytes, static_cast<uint16_t>(text.size() + 1), {}));
    }
    std::string table = Block("040904B0", TextBlock, "", 0, strings);
    std::string translation;
    AppendLittleEndian(translation, 0x0409, 2);
    AppendLittleEndian(translation, 1200, 2);
    std::string variables = Block("VarFileInfo", TextBlock, "", 0, {Block("Translation", BinaryBlock, translation, 4, {})});
    return Block("VS_VERSION_INFO", BinaryBlock, FixedFileInfo(fields.version), 52,
        {Block("StringFileInfo", TextBlock, "", 0, {table}), variables});
}
