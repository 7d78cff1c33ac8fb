#include "bridge/known_folders_win32.h"

#include "common/paths_win32.h"

namespace {

const KNOWNFOLDERID& FolderId(KnownFolder folder)
{
    switch (folder) {
    case KnownFolder::LocalAppData:
        return FOLDERID_LocalAppData;
    case KnownFolder::RoamingAppData:
        return FOLDERID_RoamingAppData;
    case KnownFolder::Desktop:
        return FOLDERID_Desktop;
    case KnownFolder::Documents:
        return FOLDERID_Documents;
    case KnownFolder::Downloads:
        return FOLDERID_Downloads;
    case KnownFolder::Pictures:
        return FOLDERID_Pictures;
    case KnownFolder::Profile:
        return FOLDERID_Profile;
    case KnownFolder::SavedGames:
        return FOLDERID_SavedGames;
    case KnownFolder::Screenshots:
        return FOLDERID_Screenshots;
    case KnownFolder::Videos:
        return FOLDERID_Videos;
    }
    return FOLDERID_LocalAppData;
}

}

std::string KnownFolderPathWin32(KnownFolder folder)
{
    return GetKnownFolderPath(FolderId(folder));
}
