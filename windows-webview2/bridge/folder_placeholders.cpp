#include "bridge/folder_placeholders.h"

namespace {

using Source = FolderPlaceholder::Source;

}

const std::array<FolderPlaceholder, 13> FolderPlaceholders = {{
    {"<app>", Source::App, KnownFolder::LocalAppData},
    {"<web-resource>", Source::WebResource, KnownFolder::LocalAppData},
    {"<current-app-data>", Source::CurrentAppData, KnownFolder::LocalAppData},
    {"<local-app-data>", Source::Known, KnownFolder::LocalAppData},
    {"<roaming-app-data>", Source::Known, KnownFolder::RoamingAppData},
    {"<desktop>", Source::Known, KnownFolder::Desktop},
    {"<documents>", Source::Known, KnownFolder::Documents},
    {"<downloads>", Source::Known, KnownFolder::Downloads},
    {"<pictures>", Source::Known, KnownFolder::Pictures},
    {"<profile>", Source::Known, KnownFolder::Profile},
    {"<saved-games>", Source::Known, KnownFolder::SavedGames},
    {"<screenshots>", Source::Known, KnownFolder::Screenshots},
    {"<videos>", Source::Known, KnownFolder::Videos},
}};

std::string FolderPathFor(const FolderPlaceholder& row, const HostFolders& folders, IKnownFolders& knownFolders)
{
    switch (row.source) {
    case Source::App:
        return folders.appFolder;
    case Source::WebResource:
        return folders.webResourceFolder;
    case Source::CurrentAppData:
        return folders.userDataFolder;
    case Source::Known:
        return knownFolders.KnownFolderPath(row.known);
    }
    return {};
}
