#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "extensions/steam/core/steam_api.h"

// The kit's component: reads the page's "extension-message" requests for
// the component "steam", calls Steam and answers each with a "steam-response"
// carrying the request's "requestId". Leaderboard calls are asynchronous in
// Steam: they are answered by Tick once Steam has their results. Without
// Steam every request is answered {"ok": false, "error": ...}.
class SteamKit {
public:
    using Send = std::function<void(const std::string& json)>;

    // api is null when Steam is not available, for the reason given.
    SteamKit(ISteamApi* steamApi, std::string unavailableReason, uint32_t steamAppId, Send sendToPage);

    // Requests for other components, and texts that are no JSON object, are
    // not the kit's: they are left alone.
    void OnMessage(const std::string& messageJson);
    // Runs Steam's callbacks, then answers the calls that have finished.
    void Tick();
    size_t PendingCalls() const { return pending.size(); }

private:
    // A leaderboard request, its arguments read once: what follows once the
    // leaderboard's handle is known.
    enum class Step { Find, Upload, Download };
    struct LeaderboardWork {
        nlohmann::json request;
        std::string name;
        Step then = Step::Find;
        UploadMethod method = UploadMethod::KeepBest;
        int32_t score = 0;
        ScoreRange range = ScoreRange::Global;
        int32_t start = 0;
        int32_t end = 0;
    };
    // A call Steam has not finished: the leaderboard's lookup, or the step
    // that follows it.
    struct Pending {
        LeaderboardWork work;
        SteamCall call = 0;
        bool finding = false;
    };
    using Handler = nlohmann::json (SteamKit::*)(const nlohmann::json& request);

    static const std::map<std::string, Handler>& Handlers();
    void Answer(const nlohmann::json& request, const nlohmann::json& result);
    void Refuse(const nlohmann::json& request, const std::string& error);
    bool Finish(Pending& call);
    void Await(LeaderboardWork work, SteamCall call, bool finding);
    void Begin(LeaderboardWork work);
    void Continue(LeaderboardWork work, uint64_t leaderboard);

    nlohmann::json UserName(const nlohmann::json& request);
    nlohmann::json SteamIdOfUser(const nlohmann::json& request);
    nlohmann::json Language(const nlohmann::json& request);
    nlohmann::json SetAchievement(const nlohmann::json& request);
    nlohmann::json ClearAchievement(const nlohmann::json& request);
    nlohmann::json GetAchievement(const nlohmann::json& request);
    nlohmann::json IndicateProgress(const nlohmann::json& request);
    nlohmann::json GetStatInt(const nlohmann::json& request);
    nlohmann::json GetStatFloat(const nlohmann::json& request);
    nlohmann::json SetStatInt(const nlohmann::json& request);
    nlohmann::json SetStatFloat(const nlohmann::json& request);
    nlohmann::json StoreStats(const nlohmann::json& request);
    nlohmann::json FindLeaderboard(const nlohmann::json& request);
    nlohmann::json UploadScore(const nlohmann::json& request);
    nlohmann::json DownloadScores(const nlohmann::json& request);
    nlohmann::json WriteFile(const nlohmann::json& request);
    nlohmann::json ReadFile(const nlohmann::json& request);
    nlohmann::json DeleteFile(const nlohmann::json& request);
    nlohmann::json ListFiles(const nlohmann::json& request);
    nlohmann::json Quota(const nlohmann::json& request);
    nlohmann::json OpenWebPage(const nlohmann::json& request);
    nlohmann::json OpenStore(const nlohmann::json& request);

    nlohmann::json Found(Pending& call);
    nlohmann::json Uploaded(const Pending& call);
    nlohmann::json Downloaded(const Pending& call);

    ISteamApi* api;
    std::string unavailable;
    uint32_t appId;
    Send send;
    std::vector<Pending> pending;
    // Leaderboard handles by name, found once per run.
    std::map<std::string, uint64_t> leaderboards;
};
