/* A stand-in for Valve's steam_api64.dll: it exports the flat functions the
 * Steam kit calls, with the signatures of Steamworks SDK 1.60, keeps
 * achievements, stats, a leaderboard and cloud files in memory, and appends
 * each call to "steam-double-log.txt" beside it (SteamAPI_RunCallbacks only
 * as a count, at shutdown).
 * - "steam-double-init-fails.txt" beside it makes SteamAPI_InitFlat fail as
 *   when Steam is not running.
 * - Built with WITHOUT_APPS it lacks SteamAPI_SteamApps_v008, as a library
 *   of another SDK would.
 * - An asynchronous call finishes once SteamAPI_RunCallbacks has run twice
 *   after it began, so only the kit's timer can finish it. */
#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#define EXPORT __declspec(dllexport)

static WCHAR folder[MAX_PATH];
static int callbackRuns;
static int initialised;

static void Log(const char* format, ...)
{
    WCHAR path[MAX_PATH + 32];
    swprintf(path, MAX_PATH + 32, L"%lssteam-double-log.txt", folder);
    FILE* log = _wfopen(path, L"ab");
    if (!log)
        return;
    va_list arguments;
    va_start(arguments, format);
    vfprintf(log, format, arguments);
    va_end(arguments);
    fputc('\n', log);
    fclose(log);
}

/* Interfaces are opaque to the kit: one byte each, told apart by address. */
static char user, friends, utils, userStats, remoteStorage, apps;

EXPORT int SteamAPI_InitFlat(char (*message)[1024])
{
    WCHAR flag[MAX_PATH + 32];
    swprintf(flag, MAX_PATH + 32, L"%lssteam-double-init-fails.txt", folder);
    if (GetFileAttributesW(flag) != INVALID_FILE_ATTRIBUTES) {
        Log("SteamAPI_InitFlat failed");
        strcpy(*message, "Steam is not running (the double says so)");
        return 2;
    }
    Log("SteamAPI_InitFlat");
    initialised = 1;
    return 0;
}

EXPORT void SteamAPI_RunCallbacks(void)
{
    ++callbackRuns;
}

EXPORT void SteamAPI_Shutdown(void)
{
    Log("SteamAPI_RunCallbacks ran %s", callbackRuns >= 2 ? "twice or more" : callbackRuns ? "once" : "never");
    Log("SteamAPI_Shutdown");
}

EXPORT void* SteamAPI_SteamUser_v023(void) { Log("SteamAPI_SteamUser_v023"); return &user; }
EXPORT void* SteamAPI_SteamFriends_v017(void) { Log("SteamAPI_SteamFriends_v017"); return &friends; }
EXPORT void* SteamAPI_SteamUtils_v010(void) { Log("SteamAPI_SteamUtils_v010"); return &utils; }
EXPORT void* SteamAPI_SteamUserStats_v012(void) { Log("SteamAPI_SteamUserStats_v012"); return &userStats; }
EXPORT void* SteamAPI_SteamRemoteStorage_v016(void) { Log("SteamAPI_SteamRemoteStorage_v016"); return &remoteStorage; }
#ifndef WITHOUT_APPS
EXPORT void* SteamAPI_SteamApps_v008(void) { Log("SteamAPI_SteamApps_v008"); return &apps; }
#endif

EXPORT uint64_t SteamAPI_ISteamUser_GetSteamID(void* self)
{
    Log("GetSteamID %s", self == &user ? "user" : "?");
    return 76561197960287930ull;
}

EXPORT const char* SteamAPI_ISteamFriends_GetPersonaName(void* self)
{
    Log("GetPersonaName %s", self == &friends ? "friends" : "?");
    return "Double Player \xC3\xA9";
}

EXPORT const char* SteamAPI_ISteamFriends_GetFriendPersonaName(void* self, uint64_t steamId)
{
    Log("GetFriendPersonaName %llu", (unsigned long long)steamId);
    return steamId == 76561197960287931ull ? "Rival" : "[unknown]";
}

EXPORT void SteamAPI_ISteamFriends_ActivateGameOverlayToWebPage(void* self, const char* url, int mode)
{
    Log("ActivateGameOverlayToWebPage %s %d", url, mode);
}

EXPORT void SteamAPI_ISteamFriends_ActivateGameOverlayToStore(void* self, uint32_t appId, int flag)
{
    Log("ActivateGameOverlayToStore %u %d", appId, flag);
}

EXPORT const char* SteamAPI_ISteamApps_GetCurrentGameLanguage(void* self)
{
    Log("GetCurrentGameLanguage %s", self == &apps ? "apps" : "?");
    return "french";
}

/* Achievements and stats: ACH_WIN and ACH_TRAVEL, WINS and DISTANCE. */
static bool achieved[2];
static int32_t wins;
static float distance;

static int AchievementIndex(const char* name)
{
    return strcmp(name, "ACH_WIN") == 0 ? 0 : strcmp(name, "ACH_TRAVEL") == 0 ? 1 : -1;
}

EXPORT bool SteamAPI_ISteamUserStats_RequestCurrentStats(void* self)
{
    Log("RequestCurrentStats %s", self == &userStats ? "userStats" : "?");
    return true;
}

EXPORT bool SteamAPI_ISteamUserStats_GetAchievement(void* self, const char* name, bool* value)
{
    Log("GetAchievement %s", name);
    int index = AchievementIndex(name);
    if (index < 0)
        return false;
    *value = achieved[index];
    return true;
}

EXPORT bool SteamAPI_ISteamUserStats_SetAchievement(void* self, const char* name)
{
    Log("SetAchievement %s", name);
    int index = AchievementIndex(name);
    if (index >= 0)
        achieved[index] = true;
    return index >= 0;
}

EXPORT bool SteamAPI_ISteamUserStats_ClearAchievement(void* self, const char* name)
{
    Log("ClearAchievement %s", name);
    int index = AchievementIndex(name);
    if (index >= 0)
        achieved[index] = false;
    return index >= 0;
}

EXPORT bool SteamAPI_ISteamUserStats_IndicateAchievementProgress(void* self, const char* name, uint32_t current,
    uint32_t max)
{
    Log("IndicateAchievementProgress %s %u %u", name, current, max);
    return AchievementIndex(name) >= 0;
}

EXPORT bool SteamAPI_ISteamUserStats_GetStatInt32(void* self, const char* name, int32_t* value)
{
    Log("GetStatInt32 %s", name);
    *value = wins;
    return strcmp(name, "WINS") == 0;
}

EXPORT bool SteamAPI_ISteamUserStats_GetStatFloat(void* self, const char* name, float* value)
{
    Log("GetStatFloat %s", name);
    *value = distance;
    return strcmp(name, "DISTANCE") == 0;
}

EXPORT bool SteamAPI_ISteamUserStats_SetStatInt32(void* self, const char* name, int32_t value)
{
    Log("SetStatInt32 %s %d", name, value);
    wins = value;
    return strcmp(name, "WINS") == 0;
}

EXPORT bool SteamAPI_ISteamUserStats_SetStatFloat(void* self, const char* name, float value)
{
    Log("SetStatFloat %s %g", name, value);
    distance = value;
    return strcmp(name, "DISTANCE") == 0;
}

EXPORT bool SteamAPI_ISteamUserStats_StoreStats(void* self)
{
    Log("StoreStats");
    return true;
}

/* Asynchronous calls: handles from 1, each with the result it will give. */
enum { MaxCalls = 64 };
static struct {
    int callback;
    int finishAt;
    uint64_t leaderboard;
    int32_t score;
} calls[MaxCalls];
static int callCount;

static uint64_t Begin(int callback, uint64_t leaderboard, int32_t score)
{
    if (callCount == MaxCalls)
        return 0;
    calls[callCount].callback = callback;
    calls[callCount].finishAt = callbackRuns + 2;
    calls[callCount].leaderboard = leaderboard;
    calls[callCount].score = score;
    return (uint64_t)++callCount;
}

/* The one leaderboard, "Best", has handle 77. */
EXPORT uint64_t SteamAPI_ISteamUserStats_FindLeaderboard(void* self, const char* name)
{
    Log("FindLeaderboard %s", name);
    return Begin(1104, strcmp(name, "Best") == 0 ? 77 : 0, 0);
}

EXPORT uint64_t SteamAPI_ISteamUserStats_UploadLeaderboardScore(void* self, uint64_t leaderboard, int method,
    int32_t score, const int32_t* details, int detailCount)
{
    Log("UploadLeaderboardScore %llu %d %d %s %d", (unsigned long long)leaderboard, method, score,
        details ? "details" : "no details", detailCount);
    return Begin(1106, leaderboard, score);
}

EXPORT uint64_t SteamAPI_ISteamUserStats_DownloadLeaderboardEntries(void* self, uint64_t leaderboard, int request,
    int start, int end)
{
    Log("DownloadLeaderboardEntries %llu %d %d %d", (unsigned long long)leaderboard, request, start, end);
    return Begin(1105, leaderboard, 0);
}

EXPORT bool SteamAPI_ISteamUtils_IsAPICallCompleted(void* self, uint64_t call, bool* failed)
{
    *failed = false;
    return call >= 1 && call <= (uint64_t)callCount && callbackRuns >= calls[call - 1].finishAt;
}

/* The results, as Steam lays them out on Windows. */
struct FindResult { uint64_t leaderboard; uint8_t found; };
struct Uploaded { uint8_t success; uint64_t leaderboard; int32_t score; uint8_t changed; int32_t rankNew, rankPrevious; };
struct Downloaded { uint64_t leaderboard; uint64_t entries; int32_t count; };
struct Entry { uint64_t steamId; int32_t rank, score, details; uint64_t ugc; };

EXPORT bool SteamAPI_ISteamUtils_GetAPICallResult(void* self, uint64_t call, void* result, int size, int callback,
    bool* failed)
{
    *failed = false;
    if (call < 1 || call > (uint64_t)callCount || calls[call - 1].callback != callback) {
        Log("GetAPICallResult %llu wrong callback %d", (unsigned long long)call, callback);
        *failed = true;
        return false;
    }
    Log("GetAPICallResult %llu %d size %d", (unsigned long long)call, callback, size);
    if (callback == 1104 && size == sizeof(struct FindResult)) {
        struct FindResult found = {calls[call - 1].leaderboard, calls[call - 1].leaderboard != 0};
        memcpy(result, &found, sizeof found);
    } else if (callback == 1106 && size == sizeof(struct Uploaded)) {
        struct Uploaded uploaded = {1, calls[call - 1].leaderboard, calls[call - 1].score, 1, 2, 5};
        memcpy(result, &uploaded, sizeof uploaded);
    } else if (callback == 1105 && size == sizeof(struct Downloaded)) {
        struct Downloaded downloaded = {calls[call - 1].leaderboard, 900, 2};
        memcpy(result, &downloaded, sizeof downloaded);
    } else {
        *failed = true;
        return false;
    }
    return true;
}

EXPORT bool SteamAPI_ISteamUserStats_GetDownloadedLeaderboardEntry(void* self, uint64_t entries, int index,
    struct Entry* entry, int32_t* details, int detailsMax)
{
    Log("GetDownloadedLeaderboardEntry %llu %d %d", (unsigned long long)entries, index, detailsMax);
    if (entries != 900 || index < 0 || index > 1)
        return false;
    struct Entry rows[2] = {{76561197960287931ull, 1, 900, 0, 0}, {76561197960287930ull, 2, 700, 0, 0}};
    *entry = rows[index];
    return true;
}

/* Cloud files: a few, in memory. */
enum { MaxFiles = 8 };
static struct {
    char name[260];
    char* bytes;
    int32_t size;
} files[MaxFiles];

static int FileIndex(const char* name)
{
    for (int i = 0; i < MaxFiles; ++i)
        if (files[i].bytes && strcmp(files[i].name, name) == 0)
            return i;
    return -1;
}

EXPORT bool SteamAPI_ISteamRemoteStorage_FileWrite(void* self, const char* name, const void* data, int32_t size)
{
    Log("FileWrite %s %d", name, size);
    int index = FileIndex(name);
    for (int i = 0; index < 0 && i < MaxFiles; ++i)
        if (!files[i].bytes)
            index = i;
    if (index < 0 || strlen(name) >= sizeof files[0].name)
        return false;
    HeapFree(GetProcessHeap(), 0, files[index].bytes);
    files[index].bytes = HeapAlloc(GetProcessHeap(), 0, size ? (SIZE_T)size : 1);
    memcpy(files[index].bytes, data, (size_t)size);
    files[index].size = size;
    strcpy(files[index].name, name);
    return true;
}

EXPORT int32_t SteamAPI_ISteamRemoteStorage_FileRead(void* self, const char* name, void* data, int32_t size)
{
    Log("FileRead %s %d", name, size);
    int index = FileIndex(name);
    if (index < 0)
        return 0;
    int32_t read = size < files[index].size ? size : files[index].size;
    memcpy(data, files[index].bytes, (size_t)read);
    return read;
}

EXPORT bool SteamAPI_ISteamRemoteStorage_FileDelete(void* self, const char* name)
{
    Log("FileDelete %s", name);
    int index = FileIndex(name);
    if (index < 0)
        return false;
    HeapFree(GetProcessHeap(), 0, files[index].bytes);
    files[index].bytes = NULL;
    return true;
}

EXPORT bool SteamAPI_ISteamRemoteStorage_FileExists(void* self, const char* name)
{
    Log("FileExists %s", name);
    return FileIndex(name) >= 0;
}

EXPORT int32_t SteamAPI_ISteamRemoteStorage_GetFileSize(void* self, const char* name)
{
    Log("GetFileSize %s", name);
    int index = FileIndex(name);
    return index < 0 ? 0 : files[index].size;
}

EXPORT int32_t SteamAPI_ISteamRemoteStorage_GetFileCount(void* self)
{
    Log("GetFileCount");
    int32_t count = 0;
    for (int i = 0; i < MaxFiles; ++i)
        count += files[i].bytes != NULL;
    return count;
}

EXPORT const char* SteamAPI_ISteamRemoteStorage_GetFileNameAndSize(void* self, int file, int32_t* size)
{
    Log("GetFileNameAndSize %d", file);
    for (int i = 0; i < MaxFiles; ++i) {
        if (files[i].bytes && file-- == 0) {
            *size = files[i].size;
            return files[i].name;
        }
    }
    return NULL;
}

EXPORT bool SteamAPI_ISteamRemoteStorage_GetQuota(void* self, uint64_t* total, uint64_t* available)
{
    Log("GetQuota");
    *total = 1000000;
    *available = 999000;
    return true;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_DETACH && initialised)
        Log("unloaded");
    if (reason != DLL_PROCESS_ATTACH)
        return TRUE;
    DWORD length = GetModuleFileNameW(instance, folder, MAX_PATH);
    WCHAR* slash = wcsrchr(folder, L'\\');
    if (length == 0 || length >= MAX_PATH || !slash)
        folder[0] = 0;
    else
        slash[1] = 0;
    return TRUE;
}
