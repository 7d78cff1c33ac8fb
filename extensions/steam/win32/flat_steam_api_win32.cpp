#include "extensions/steam/win32/flat_steam_api_win32.h"

#include <type_traits>

#include "extensions/steam/core/request_arguments.h"

// The names and signatures below are those of steam_api_flat.h and
// steam_api.h in Valve's Steamworks SDK 1.60. Interfaces are opaque
// pointers passed first; bool is one byte, as in Valve's C ABI.
namespace {

using Interface = void*;
using Accessor = Interface (*)();

// Call results, laid out as Steam writes them on Windows (8-byte packing,
// which for these members is their natural layout).
struct LeaderboardFindResult {
    uint64_t leaderboard;
    uint8_t found;
};
struct LeaderboardScoresDownloaded {
    uint64_t leaderboard;
    uint64_t entries;
    int32_t count;
};
struct LeaderboardScoreUploaded {
    uint8_t success;
    uint64_t leaderboard;
    int32_t score;
    uint8_t changed;
    int32_t rankNew;
    int32_t rankPrevious;
};
struct LeaderboardEntryData {
    uint64_t steamId;
    int32_t rank;
    int32_t score;
    int32_t details;
    uint64_t ugc;
};
static_assert(sizeof(LeaderboardFindResult) == 16 && sizeof(LeaderboardScoresDownloaded) == 24
        && sizeof(LeaderboardScoreUploaded) == 32 && sizeof(LeaderboardEntryData) == 32,
    "Steam's call results are 8-byte packed");

// k_iSteamUserStatsCallbacks (1100) plus each result's offset.
constexpr int LeaderboardFindResultId = 1104;
constexpr int LeaderboardScoresDownloadedId = 1105;
constexpr int LeaderboardScoreUploadedId = 1106;
// SteamErrMsg.
constexpr int ErrorMessageSize = 1024;

std::string Text(const char* text)
{
    return text ? text : "";
}

}

struct FlatSteamApi::Functions {
    int (*InitFlat)(char (*)[ErrorMessageSize]);
    void (*RunCallbacks)();
    void (*Shutdown)();
    Accessor User;
    Accessor Friends;
    Accessor Utils;
    Accessor UserStats;
    Accessor RemoteStorage;
    Accessor Apps;
    uint64_t (*GetSteamID)(Interface);
    const char* (*GetPersonaName)(Interface);
    const char* (*GetFriendPersonaName)(Interface, uint64_t);
    void (*ActivateGameOverlayToWebPage)(Interface, const char*, int);
    void (*ActivateGameOverlayToStore)(Interface, uint32_t, int);
    bool (*IsAPICallCompleted)(Interface, uint64_t, bool*);
    bool (*GetAPICallResult)(Interface, uint64_t, void*, int, int, bool*);
    bool (*RequestCurrentStats)(Interface);
    bool (*GetAchievement)(Interface, const char*, bool*);
    bool (*SetAchievement)(Interface, const char*);
    bool (*ClearAchievement)(Interface, const char*);
    bool (*IndicateAchievementProgress)(Interface, const char*, uint32_t, uint32_t);
    bool (*GetStatInt32)(Interface, const char*, int32_t*);
    bool (*GetStatFloat)(Interface, const char*, float*);
    bool (*SetStatInt32)(Interface, const char*, int32_t);
    bool (*SetStatFloat)(Interface, const char*, float);
    bool (*StoreStats)(Interface);
    uint64_t (*FindLeaderboard)(Interface, const char*);
    uint64_t (*UploadLeaderboardScore)(Interface, uint64_t, int, int32_t, const int32_t*, int);
    uint64_t (*DownloadLeaderboardEntries)(Interface, uint64_t, int, int, int);
    bool (*GetDownloadedLeaderboardEntry)(Interface, uint64_t, int, LeaderboardEntryData*, int32_t*, int);
    bool (*FileWrite)(Interface, const char*, const void*, int32_t);
    int32_t (*FileRead)(Interface, const char*, void*, int32_t);
    bool (*FileDelete)(Interface, const char*);
    bool (*FileExists)(Interface, const char*);
    int32_t (*GetFileSize)(Interface, const char*);
    int32_t (*GetFileCount)(Interface);
    const char* (*GetFileNameAndSize)(Interface, int, int32_t*);
    bool (*GetQuota)(Interface, uint64_t*, uint64_t*);
    const char* (*GetCurrentGameLanguage)(Interface);
};

FlatSteamApi::FlatSteamApi(const std::wstring& folder)
{
    library = LoadLibraryW((folder + L"steam_api64.dll").c_str());
    if (!library)
        throw SteamError("steam_api64.dll is missing beside the game (copy Valve's redistributable there)");
    functions = std::make_unique<Functions>();
    try {
        FindFunctions();
        Start();
    } catch (const SteamError&) {
        FreeLibrary(library);
        throw;
    }
}

FlatSteamApi::~FlatSteamApi()
{
    functions->Shutdown();
    FreeLibrary(library);
}

void FlatSteamApi::FindFunctions()
{
    auto find = [this](auto& slot, const char* name) {
        FARPROC address = GetProcAddress(library, name);
        if (!address)
            throw SteamError(std::string("steam_api64.dll lacks ") + name
                + " (the kit calls the flat API of Steamworks SDK 1.60)");
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(reinterpret_cast<void*>(address));
    };
    Functions& f = *functions;
    find(f.InitFlat, "SteamAPI_InitFlat");
    find(f.RunCallbacks, "SteamAPI_RunCallbacks");
    find(f.Shutdown, "SteamAPI_Shutdown");
    find(f.User, "SteamAPI_SteamUser_v023");
    find(f.Friends, "SteamAPI_SteamFriends_v017");
    find(f.Utils, "SteamAPI_SteamUtils_v010");
    find(f.UserStats, "SteamAPI_SteamUserStats_v012");
    find(f.RemoteStorage, "SteamAPI_SteamRemoteStorage_v016");
    find(f.Apps, "SteamAPI_SteamApps_v008");
    find(f.GetSteamID, "SteamAPI_ISteamUser_GetSteamID");
    find(f.GetPersonaName, "SteamAPI_ISteamFriends_GetPersonaName");
    find(f.GetFriendPersonaName, "SteamAPI_ISteamFriends_GetFriendPersonaName");
    find(f.ActivateGameOverlayToWebPage, "SteamAPI_ISteamFriends_ActivateGameOverlayToWebPage");
    find(f.ActivateGameOverlayToStore, "SteamAPI_ISteamFriends_ActivateGameOverlayToStore");
    find(f.IsAPICallCompleted, "SteamAPI_ISteamUtils_IsAPICallCompleted");
    find(f.GetAPICallResult, "SteamAPI_ISteamUtils_GetAPICallResult");
    find(f.RequestCurrentStats, "SteamAPI_ISteamUserStats_RequestCurrentStats");
    find(f.GetAchievement, "SteamAPI_ISteamUserStats_GetAchievement");
    find(f.SetAchievement, "SteamAPI_ISteamUserStats_SetAchievement");
    find(f.ClearAchievement, "SteamAPI_ISteamUserStats_ClearAchievement");
    find(f.IndicateAchievementProgress, "SteamAPI_ISteamUserStats_IndicateAchievementProgress");
    find(f.GetStatInt32, "SteamAPI_ISteamUserStats_GetStatInt32");
    find(f.GetStatFloat, "SteamAPI_ISteamUserStats_GetStatFloat");
    find(f.SetStatInt32, "SteamAPI_ISteamUserStats_SetStatInt32");
    find(f.SetStatFloat, "SteamAPI_ISteamUserStats_SetStatFloat");
    find(f.StoreStats, "SteamAPI_ISteamUserStats_StoreStats");
    find(f.FindLeaderboard, "SteamAPI_ISteamUserStats_FindLeaderboard");
    find(f.UploadLeaderboardScore, "SteamAPI_ISteamUserStats_UploadLeaderboardScore");
    find(f.DownloadLeaderboardEntries, "SteamAPI_ISteamUserStats_DownloadLeaderboardEntries");
    find(f.GetDownloadedLeaderboardEntry, "SteamAPI_ISteamUserStats_GetDownloadedLeaderboardEntry");
    find(f.FileWrite, "SteamAPI_ISteamRemoteStorage_FileWrite");
    find(f.FileRead, "SteamAPI_ISteamRemoteStorage_FileRead");
    find(f.FileDelete, "SteamAPI_ISteamRemoteStorage_FileDelete");
    find(f.FileExists, "SteamAPI_ISteamRemoteStorage_FileExists");
    find(f.GetFileSize, "SteamAPI_ISteamRemoteStorage_GetFileSize");
    find(f.GetFileCount, "SteamAPI_ISteamRemoteStorage_GetFileCount");
    find(f.GetFileNameAndSize, "SteamAPI_ISteamRemoteStorage_GetFileNameAndSize");
    find(f.GetQuota, "SteamAPI_ISteamRemoteStorage_GetQuota");
    find(f.GetCurrentGameLanguage, "SteamAPI_ISteamApps_GetCurrentGameLanguage");
}

void FlatSteamApi::Start()
{
    char message[ErrorMessageSize] = {};
    int result = functions->InitFlat(&message);
    if (result != 0) {
        message[ErrorMessageSize - 1] = 0;
        throw SteamError("steam did not start (SteamAPI_InitFlat gave " + std::to_string(result)
            + (message[0] ? ": " + std::string(message) : std::string()) + ")");
    }
    struct Wanted {
        Accessor accessor;
        void** slot;
        const char* name;
    };
    const Wanted wanted[] = {{functions->User, &user, "SteamAPI_SteamUser_v023"},
        {functions->Friends, &friends, "SteamAPI_SteamFriends_v017"},
        {functions->Utils, &utils, "SteamAPI_SteamUtils_v010"},
        {functions->UserStats, &userStats, "SteamAPI_SteamUserStats_v012"},
        {functions->RemoteStorage, &remoteStorage, "SteamAPI_SteamRemoteStorage_v016"},
        {functions->Apps, &apps, "SteamAPI_SteamApps_v008"}};
    for (const Wanted& each : wanted) {
        *each.slot = each.accessor();
        if (!*each.slot) {
            functions->Shutdown();
            throw SteamError(std::string("steam gave no interface from ") + each.name
                + " (is the steam client older than the kit's SDK 1.60?)");
        }
    }
    // Achievements and stats can be read and set once these have arrived.
    functions->RequestCurrentStats(userStats);
}

void FlatSteamApi::RunCallbacks()
{
    functions->RunCallbacks();
}

std::string FlatSteamApi::PersonaName()
{
    return Text(functions->GetPersonaName(friends));
}

uint64_t FlatSteamApi::SteamId()
{
    return functions->GetSteamID(user);
}

std::string FlatSteamApi::FriendName(uint64_t steamId)
{
    return Text(functions->GetFriendPersonaName(friends, steamId));
}

std::string FlatSteamApi::GameLanguage()
{
    return Text(functions->GetCurrentGameLanguage(apps));
}

bool FlatSteamApi::SetAchievement(const std::string& name)
{
    return functions->SetAchievement(userStats, name.c_str());
}

bool FlatSteamApi::ClearAchievement(const std::string& name)
{
    return functions->ClearAchievement(userStats, name.c_str());
}

std::optional<bool> FlatSteamApi::Achievement(const std::string& name)
{
    bool achieved = false;
    if (!functions->GetAchievement(userStats, name.c_str(), &achieved))
        return std::nullopt;
    return achieved;
}

bool FlatSteamApi::IndicateAchievementProgress(const std::string& name, uint32_t current, uint32_t max)
{
    return functions->IndicateAchievementProgress(userStats, name.c_str(), current, max);
}

std::optional<int32_t> FlatSteamApi::StatInt(const std::string& name)
{
    int32_t value = 0;
    if (!functions->GetStatInt32(userStats, name.c_str(), &value))
        return std::nullopt;
    return value;
}

std::optional<float> FlatSteamApi::StatFloat(const std::string& name)
{
    float value = 0;
    if (!functions->GetStatFloat(userStats, name.c_str(), &value))
        return std::nullopt;
    return value;
}

bool FlatSteamApi::SetStatInt(const std::string& name, int32_t value)
{
    return functions->SetStatInt32(userStats, name.c_str(), value);
}

bool FlatSteamApi::SetStatFloat(const std::string& name, float value)
{
    return functions->SetStatFloat(userStats, name.c_str(), value);
}

bool FlatSteamApi::StoreStats()
{
    return functions->StoreStats(userStats);
}

SteamCall FlatSteamApi::FindLeaderboard(const std::string& name)
{
    return functions->FindLeaderboard(userStats, name.c_str());
}

SteamCall FlatSteamApi::UploadScore(uint64_t leaderboard, UploadMethod method, int32_t score)
{
    return functions->UploadLeaderboardScore(userStats, leaderboard, static_cast<int>(method), score, nullptr, 0);
}

SteamCall FlatSteamApi::DownloadScores(uint64_t leaderboard, ScoreRange range, int32_t start, int32_t end)
{
    return functions->DownloadLeaderboardEntries(userStats, leaderboard, static_cast<int>(range), start, end);
}

CallState FlatSteamApi::StateOf(SteamCall call)
{
    bool failed = false;
    if (!functions->IsAPICallCompleted(utils, call, &failed))
        return CallState::Pending;
    return failed ? CallState::Failed : CallState::Done;
}

template <typename Result>
bool FlatSteamApi::ResultOf(SteamCall call, Result& result, int callbackId)
{
    bool failed = false;
    return functions->GetAPICallResult(utils, call, &result, sizeof result, callbackId, &failed) && !failed;
}

std::optional<FoundLeaderboard> FlatSteamApi::FoundLeaderboardOf(SteamCall call)
{
    LeaderboardFindResult result{};
    if (!ResultOf(call, result, LeaderboardFindResultId))
        return std::nullopt;
    return FoundLeaderboard{result.leaderboard, result.found != 0};
}

std::optional<UploadedScore> FlatSteamApi::UploadedScoreOf(SteamCall call)
{
    LeaderboardScoreUploaded result{};
    if (!ResultOf(call, result, LeaderboardScoreUploadedId))
        return std::nullopt;
    return UploadedScore{result.success != 0, result.changed != 0, result.score, result.rankNew, result.rankPrevious};
}

std::optional<std::vector<LeaderboardEntry>> FlatSteamApi::DownloadedScoresOf(SteamCall call)
{
    LeaderboardScoresDownloaded result{};
    if (!ResultOf(call, result, LeaderboardScoresDownloadedId))
        return std::nullopt;
    std::vector<LeaderboardEntry> entries;
    for (int32_t index = 0; index < result.count; ++index) {
        LeaderboardEntryData entry{};
        if (functions->GetDownloadedLeaderboardEntry(userStats, result.entries, index, &entry, nullptr, 0))
            entries.push_back({entry.steamId, entry.rank, entry.score});
    }
    return entries;
}

bool FlatSteamApi::FileWrite(const std::string& name, const std::string& bytes)
{
    return functions->FileWrite(remoteStorage, name.c_str(), bytes.data(), static_cast<int32_t>(bytes.size()));
}

std::optional<std::string> FlatSteamApi::FileRead(const std::string& name)
{
    if (!functions->FileExists(remoteStorage, name.c_str()))
        return std::nullopt;
    int32_t size = functions->GetFileSize(remoteStorage, name.c_str());
    if (size < 0)
        return std::nullopt;
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0 && functions->FileRead(remoteStorage, name.c_str(), &bytes[0], size) != size)
        return std::nullopt;
    return bytes;
}

bool FlatSteamApi::FileDelete(const std::string& name)
{
    return functions->FileDelete(remoteStorage, name.c_str());
}

std::vector<CloudFile> FlatSteamApi::Files()
{
    std::vector<CloudFile> files;
    int32_t count = functions->GetFileCount(remoteStorage);
    for (int32_t index = 0; index < count; ++index) {
        int32_t size = 0;
        const char* name = functions->GetFileNameAndSize(remoteStorage, index, &size);
        if (name)
            files.push_back({name, size});
    }
    return files;
}

std::optional<CloudQuota> FlatSteamApi::Quota()
{
    CloudQuota quota;
    if (!functions->GetQuota(remoteStorage, &quota.total, &quota.available))
        return std::nullopt;
    return quota;
}

void FlatSteamApi::OverlayToWebPage(const std::string& url, bool modal)
{
    functions->ActivateGameOverlayToWebPage(friends, url.c_str(), modal ? 1 : 0);
}

void FlatSteamApi::OverlayToStore(uint32_t appId, StoreFlag flag)
{
    functions->ActivateGameOverlayToStore(friends, appId, static_cast<int>(flag));
}
