#include "bridge/known_folders_win32.h"

#include "common/paths_win32.h"

namespace {

// In the order of KnownFolder.
const KNOWNFOLDERID* const FolderIds[] = {&FOLDERID_LocalAppData, &FOLDERID_RoamingAppData, &FOLDERID_Desktop,
    &FOLDERID_Documents, &FOLDERID_Downloads, &FOLDERID_Pictures, &FOLDERID_Profile, &FOLDERID_SavedGames,
    &FOLDERID_Screenshots, &FOLDERID_Videos};
static_assert(sizeof(FolderIds) / sizeof(FolderIds[0]) == static_cast<size_t>(KnownFolder::Videos) + 1);

}

std::string KnownFolderPathWin32(KnownFolder folder)
{
    return GetKnownFolderPath(*FolderIds[static_cast<size_t>(folder)]);
}
