#pragma once

#include <array>
#include <map>
#include <string>

// The user's well-known folders that a placeholder can name.
enum class KnownFolder {
    LocalAppData,
    RoamingAppData,
    Desktop,
    Documents,
    Downloads,
    Pictures,
    Profile,
    SavedGames,
    Screenshots,
    Videos,
};

// Looks the known folders up for the current user.
class IKnownFolders {
public:
    virtual ~IKnownFolders() = default;
    // The folder's current path without a trailing separator, or empty when
    // the system has none.
    virtual std::string KnownFolderPath(KnownFolder folder) = 0;
};

// The host's own folders behind the first three placeholders (UTF-8).
struct HostFolders {
    std::string appFolder;         // ends with the separator
    std::string webResourceFolder; // absolute: appFolder followed by "www\"
    std::string userDataFolder;
};

struct FolderPlaceholder {
    enum class Source { App, WebResource, CurrentAppData, Known };
    const char* placeholder;
    Source source;
    KnownFolder known; // for Source::Known
};

// In the order of the handles that the page receives.
extern const std::array<FolderPlaceholder, 13> FolderPlaceholders;

// Placeholder text to folder path, filled as the page asks for handles.
using FolderMap = std::map<std::string, std::string>;

std::string FolderPathFor(const FolderPlaceholder& row, const HostFolders& folders, IKnownFolders& knownFolders);
