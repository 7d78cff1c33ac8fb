#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "extensions/steam/core/steam_api.h"

// Steam through the flat C API of steam_api64.dll (Steamworks SDK 1.60),
// loaded at run time: nothing of Steam is linked. Every function is looked
// up by its exported name; the versioned accessors carry their interface's
// version in the name.
class FlatSteamApi final : public ISteamApi {
public:
    // Loads steam_api64.dll from the folder (ending in a backslash), finds
    // every function the kit calls and starts Steam; throws SteamError naming
    // a missing library or function, or why Steam did not start.
    explicit FlatSteamApi(const std::wstring& folder);
    // Shuts Steam down and unloads the library.
    ~FlatSteamApi() override;
    FlatSteamApi(const FlatSteamApi&) = delete;
    FlatSteamApi& operator=(const FlatSteamApi&) = delete;

    void RunCallbacks() override;
    std::string PersonaName() override;
    uint64_t SteamId() override;
    std::string FriendName(uint64_t steamId) override;
    std::string GameLanguage() override;
    bool SetAchievement(const std::string& name) override;
    bool ClearAchievement(const std::string& name) override;
    std::optional<bool> Achievement(const std::string& name) override;
    bool IndicateAchievementProgress(const std::string& name, uint32_t current, uint32_t max) override;
    std::optional<int32_t> StatInt(const std::string& name) override;
    std::optional<float> StatFloat(const std::string& name) override;
    bool SetStatInt(const std::string& name, int32_t value) override;
    bool SetStatFloat(const std::string& name, float value) override;
    bool StoreStats() override;
    SteamCall FindLeaderboard(const std::string& name) override;
    SteamCall UploadScore(uint64_t leaderboard, UploadMethod method, int32_t score) override;
    SteamCall DownloadScores(uint64_t leaderboard, ScoreRange range, int32_t start, int32_t end) override;
    CallState StateOf(SteamCall call) override;
    std::optional<FoundLeaderboard> FoundLeaderboardOf(SteamCall call) override;
    std::optional<UploadedScore> UploadedScoreOf(SteamCall call) override;
    std::optional<std::vector<LeaderboardEntry>> DownloadedScoresOf(SteamCall call) override;
    bool FileWrite(const std::string& name, const std::string& bytes) override;
    std::optional<std::string> FileRead(const std::string& name) override;
    bool FileDelete(const std::string& name) override;
    std::vector<CloudFile> Files() override;
    std::optional<CloudQuota> Quota() override;
    void OverlayToWebPage(const std::string& url, bool modal) override;
    void OverlayToStore(uint32_t appId, StoreFlag flag) override;

private:
    struct Functions;
    void FindFunctions();
    void Start();
    template <typename Result>
    bool ResultOf(SteamCall call, Result& result, int callbackId);

    HMODULE library = nullptr;
    std::unique_ptr<Functions> functions;
    void* user = nullptr;
    void* friends = nullptr;
    void* utils = nullptr;
    void* userStats = nullptr;
    void* remoteStorage = nullptr;
    void* apps = nullptr;
};
