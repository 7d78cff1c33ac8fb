#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint16_t RtIcon = 3;
inline constexpr uint16_t RtGroupIcon = 14;
inline constexpr uint16_t NeutralLanguage = 0;
inline constexpr uint16_t EnglishUsLanguage = 0x409;

// A resource name: a number, or a string kept as the UTF-16 units the
// executable holds so that it can be named back exactly.
struct ResourceName {
    bool isInteger = true;
    uint16_t id = 0;
    std::u16string text;

    static ResourceName Number(uint16_t id) { return {true, id, {}}; }
    static ResourceName Text(std::u16string text) { return {false, 0, std::move(text)}; }
};

// One existing resource of an executable.
struct ResourceRecord {
    uint16_t type = 0;
    ResourceName name;
    uint16_t language = 0;
};

// The resource-update functions of the platform, for one executable at a
// time: Begin keeps every existing resource, Update with data adds or
// replaces and with no data deletes, End(true) discards everything.
class IResourceUpdater {
public:
    virtual ~IResourceUpdater() = default;
    // The executable's RT_ICON resources, then its RT_GROUP_ICON resources,
    // in enumeration order; empty when it cannot be loaded as data.
    virtual std::vector<ResourceRecord> ListIconResources(const std::string& exePath) = 0;
    virtual bool Begin(const std::string& exePath) = 0;
    virtual bool Update(uint16_t type, const ResourceName& name, uint16_t language, const std::string* data) = 0;
    virtual bool End(bool discard) = 0;
};
