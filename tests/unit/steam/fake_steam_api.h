#pragma once

#include <map>
#include <string>
#include <vector>

#include "extensions/steam/core/steam_api.h"

// Steam as a few tables: what the kit asked for is recorded in calls, and
// asynchronous calls finish when the test says so.
struct FakeSteamApi final : ISteamApi {
    struct AsyncCall {
        std::string kind;
        CallState state = CallState::Pending;
        uint64_t leaderboard = 0;
        int32_t score = 0;
    };

    std::vector<std::string> calls;
    std::map<std::string, bool> achievements;
    std::map<std::string, int32_t> intStats;
    std::map<std::string, float> floatStats;
    std::map<std::string, uint64_t> boards; // leaderboard handles by name
    std::map<std::string, std::string> files;
    std::map<SteamCall, AsyncCall> async;
    std::vector<LeaderboardEntry> scores;
    std::map<uint64_t, std::string> names;
    int callbackRuns = 0;

    // Finishes every pending call of this kind.
    void Complete(const std::string& kind, CallState state = CallState::Done)
    {
        for (auto& [call, each] : async)
            if (each.kind == kind && each.state == CallState::Pending)
                each.state = state;
    }

    SteamCall Start(AsyncCall call)
    {
        SteamCall handle = 100 + async.size();
        async[handle] = call;
        calls.push_back(call.kind);
        return handle;
    }

    void RunCallbacks() override { ++callbackRuns; }
    std::string PersonaName() override { return "Ada"; }
    uint64_t SteamId() override { return 76561197960287930ull; }
    std::string FriendName(uint64_t steamId) override { return names.count(steamId) ? names[steamId] : "[unknown]"; }
    std::string GameLanguage() override { return "french"; }

    bool SetAchievement(const std::string& name) override { return Set(achievements, name, true); }
    bool ClearAchievement(const std::string& name) override { return Set(achievements, name, false); }
    std::optional<bool> Achievement(const std::string& name) override { return Get(achievements, name); }
    bool IndicateAchievementProgress(const std::string& name, uint32_t current, uint32_t max) override
    {
        calls.push_back("progress " + name + " " + std::to_string(current) + "/" + std::to_string(max));
        return achievements.count(name) != 0;
    }
    std::optional<int32_t> StatInt(const std::string& name) override { return Get(intStats, name); }
    std::optional<float> StatFloat(const std::string& name) override { return Get(floatStats, name); }
    bool SetStatInt(const std::string& name, int32_t value) override { return Set(intStats, name, value); }
    bool SetStatFloat(const std::string& name, float value) override { return Set(floatStats, name, value); }
    bool StoreStats() override
    {
        calls.push_back("store");
        return true;
    }

    SteamCall FindLeaderboard(const std::string& name) override
    {
        AsyncCall call{"find " + name};
        call.leaderboard = boards.count(name) ? boards[name] : 0;
        return Start(call);
    }
    SteamCall UploadScore(uint64_t leaderboard, UploadMethod method, int32_t score) override
    {
        AsyncCall call{"upload " + std::to_string(leaderboard) + " " + std::to_string(score)
            + (method == UploadMethod::KeepBest ? " keep-best" : " force-update")};
        call.score = score;
        return Start(call);
    }
    SteamCall DownloadScores(uint64_t leaderboard, ScoreRange range, int32_t start, int32_t end) override
    {
        return Start({"download " + std::to_string(leaderboard) + " " + std::to_string(static_cast<int>(range)) + " "
            + std::to_string(start) + ".." + std::to_string(end)});
    }
    CallState StateOf(SteamCall call) override { return async.at(call).state; }
    std::optional<FoundLeaderboard> FoundLeaderboardOf(SteamCall call) override
    {
        return FoundLeaderboard{async.at(call).leaderboard, async.at(call).leaderboard != 0};
    }
    std::optional<UploadedScore> UploadedScoreOf(SteamCall call) override
    {
        return UploadedScore{true, true, async.at(call).score, 3, 0};
    }
    std::optional<std::vector<LeaderboardEntry>> DownloadedScoresOf(SteamCall) override { return scores; }

    bool FileWrite(const std::string& name, const std::string& bytes) override { return Set(files, name, bytes); }
    std::optional<std::string> FileRead(const std::string& name) override { return Get(files, name); }
    bool FileDelete(const std::string& name) override { return files.erase(name) != 0; }
    std::vector<CloudFile> Files() override
    {
        std::vector<CloudFile> list;
        for (const auto& [name, bytes] : files)
            list.push_back({name, static_cast<int32_t>(bytes.size())});
        return list;
    }
    std::optional<CloudQuota> Quota() override { return CloudQuota{1000, 900}; }
    void OverlayToWebPage(const std::string& url, bool modal) override
    {
        calls.push_back("web page " + url + (modal ? " modal" : ""));
    }
    void OverlayToStore(uint32_t appId, StoreFlag flag) override
    {
        calls.push_back("store page " + std::to_string(appId) + " " + std::to_string(static_cast<int>(flag)));
    }

private:
    // Known names only, as Steam takes only what the app defined.
    template <typename Value>
    bool Set(std::map<std::string, Value>& table, const std::string& name, Value value)
    {
        if (name.rfind("UNDEFINED", 0) == 0)
            return false;
        table[name] = value;
        return true;
    }
    template <typename Value>
    std::optional<Value> Get(std::map<std::string, Value>& table, const std::string& name)
    {
        auto found = table.find(name);
        return found == table.end() ? std::nullopt : std::optional<Value>(found->second);
    }
};
