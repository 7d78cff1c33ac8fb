#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The part of Steam's flat API the kit uses, as the kit sees it: the
// Windows layer implements it over steam_api64.dll, the tests over a fake.
// Every call is made on the UI thread.

// An asynchronous call's handle (SteamAPICall_t); 0 means the call was refused.
using SteamCall = uint64_t;

enum class CallState { Pending, Failed, Done };

struct FoundLeaderboard {
    uint64_t handle = 0;
    bool found = false;
};

struct UploadedScore {
    bool success = false;
    bool changed = false;
    int32_t score = 0;
    int32_t rankNew = 0;
    int32_t rankPrevious = 0;
};

struct LeaderboardEntry {
    uint64_t steamId = 0;
    int32_t rank = 0;
    int32_t score = 0;
};

struct CloudFile {
    std::string name;
    int32_t size = 0;
};

struct CloudQuota {
    uint64_t total = 0;
    uint64_t available = 0;
};

// Values of Steam's enumerations, as its headers number them.
enum class UploadMethod : int { KeepBest = 1, ForceUpdate = 2 };
enum class ScoreRange : int { Global = 0, AroundUser = 1, Friends = 2 };
enum class StoreFlag : int { None = 0, AddToCart = 1, AddToCartAndShow = 2 };

class ISteamApi {
public:
    virtual ~ISteamApi() = default;

    virtual void RunCallbacks() = 0;

    virtual std::string PersonaName() = 0;
    virtual uint64_t SteamId() = 0;
    virtual std::string FriendName(uint64_t steamId) = 0;
    virtual std::string GameLanguage() = 0;

    virtual bool SetAchievement(const std::string& name) = 0;
    virtual bool ClearAchievement(const std::string& name) = 0;
    virtual std::optional<bool> Achievement(const std::string& name) = 0;
    virtual bool IndicateAchievementProgress(const std::string& name, uint32_t current, uint32_t max) = 0;
    virtual std::optional<int32_t> StatInt(const std::string& name) = 0;
    virtual std::optional<float> StatFloat(const std::string& name) = 0;
    virtual bool SetStatInt(const std::string& name, int32_t value) = 0;
    virtual bool SetStatFloat(const std::string& name, float value) = 0;
    virtual bool StoreStats() = 0;

    virtual SteamCall FindLeaderboard(const std::string& name) = 0;
    virtual SteamCall UploadScore(uint64_t leaderboard, UploadMethod method, int32_t score) = 0;
    virtual SteamCall DownloadScores(uint64_t leaderboard, ScoreRange range, int32_t start, int32_t end) = 0;
    virtual CallState StateOf(SteamCall call) = 0;
    // The results of finished calls; nothing when Steam has none of that kind.
    virtual std::optional<FoundLeaderboard> FoundLeaderboardOf(SteamCall call) = 0;
    virtual std::optional<UploadedScore> UploadedScoreOf(SteamCall call) = 0;
    virtual std::optional<std::vector<LeaderboardEntry>> DownloadedScoresOf(SteamCall call) = 0;

    virtual bool FileWrite(const std::string& name, const std::string& bytes) = 0;
    virtual std::optional<std::string> FileRead(const std::string& name) = 0;
    virtual bool FileDelete(const std::string& name) = 0;
    virtual std::vector<CloudFile> Files() = 0;
    virtual std::optional<CloudQuota> Quota() = 0;

    virtual void OverlayToWebPage(const std::string& url, bool modal) = 0;
    virtual void OverlayToStore(uint32_t appId, StoreFlag flag) = 0;
};
