#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What the host executable of an export says of itself in Explorer's
// properties, Task Manager and the firewall prompt.
struct VersionFields {
    std::array<uint16_t, 4> version = {0, 0, 0, 0};
    // Name and value pairs of the string table, in order (UTF-8).
    std::vector<std::pair<std::string, std::string>> strings;
};

// From "package.json": ProductName and InternalName from "name",
// FileDescription from the window title, FileVersion and ProductVersion from
// "version" when it is a dotted number of one to four parts (else 0.0.0.0),
// CompanyName and LegalCopyright from the optional "company" and
// "copyright" strings, OriginalFilename from the executable's name.
VersionFields VersionFieldsOf(const std::string& packageText, const std::string& title,
    const std::string& executableName);

// The bytes of a VS_VERSIONINFO resource for these fields, in US English
// and Unicode. Throws "version information too long" past what its 16-bit
// lengths can say.
std::string VersionResource(const VersionFields& fields);
