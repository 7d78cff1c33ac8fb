#include "extensions/steam/core/steam_kit.h"

#include <algorithm>

#include "common/json_readers.h"
#include "extensions/steam/core/base64.h"
#include "extensions/steam/core/request_arguments.h"

using nlohmann::json;

namespace {

// Steam's own limit for one cloud file (k_unMaxCloudFileChunkSize).
constexpr size_t MostCloudFileBytes = 100 * 1024 * 1024;
// Downloads larger than this would build answers of many megabytes.
constexpr int32_t MostEntries = 1000;

json Empty()
{
    return json::object();
}

void Check(bool done, const std::string& what)
{
    if (!done)
        throw SteamError("steam refused to " + what);
}

// Steam IDs are 64-bit: a JavaScript number would round them.
std::string IdText(uint64_t id)
{
    return std::to_string(id);
}

bool WantsBase64(const json& request)
{
    return ChoiceArgument(request, "encoding", {"utf-8", "base64"}, 0) == 1;
}

}

SteamKit::SteamKit(ISteamApi* steamApi, std::string unavailableReason, uint32_t steamAppId, Send sendToPage)
    : api(steamApi), unavailable(std::move(unavailableReason)), appId(steamAppId), send(std::move(sendToPage))
{
}

const std::map<std::string, SteamKit::Handler>& SteamKit::Handlers()
{
    static const std::map<std::string, Handler> handlers = {
        {"getUserName", &SteamKit::UserName},
        {"getSteamId", &SteamKit::SteamIdOfUser},
        {"getLanguage", &SteamKit::Language},
        {"setAchievement", &SteamKit::SetAchievement},
        {"clearAchievement", &SteamKit::ClearAchievement},
        {"getAchievement", &SteamKit::GetAchievement},
        {"indicateAchievementProgress", &SteamKit::IndicateProgress},
        {"getStatInt", &SteamKit::GetStatInt},
        {"getStatFloat", &SteamKit::GetStatFloat},
        {"setStatInt", &SteamKit::SetStatInt},
        {"setStatFloat", &SteamKit::SetStatFloat},
        {"storeStats", &SteamKit::StoreStats},
        {"findLeaderboard", &SteamKit::FindLeaderboard},
        {"uploadScore", &SteamKit::UploadScore},
        {"downloadScores", &SteamKit::DownloadScores},
        {"writeFile", &SteamKit::WriteFile},
        {"readFile", &SteamKit::ReadFile},
        {"deleteFile", &SteamKit::DeleteFile},
        {"listFiles", &SteamKit::ListFiles},
        {"getQuota", &SteamKit::Quota},
        {"openWebPage", &SteamKit::OpenWebPage},
        {"openStore", &SteamKit::OpenStore},
    };
    return handlers;
}

void SteamKit::OnMessage(const std::string& messageJson)
{
    json request;
    try {
        request = ParseJsonText(messageJson);
    } catch (const json::exception&) {
        return;
    }
    if (!request.is_object() || request.value("componentId", json()) != "steam")
        return;
    try {
        if (!request.contains("requestId"))
            throw SteamError("missing \"requestId\": the answer could not be told apart");
        if (!api)
            throw SteamError(unavailable);
        std::string method = TextArgument(request, "method");
        auto handler = Handlers().find(method);
        if (handler == Handlers().end())
            throw SteamError("unknown method \"" + method + "\"");
        json result = (this->*handler->second)(request);
        if (!result.is_null())
            Answer(request, result);
    } catch (const SteamError& error) {
        Refuse(request, error.what());
    }
}

void SteamKit::Tick()
{
    if (!api)
        return;
    api->RunCallbacks();
    // A finished call may start the next one, which is appended: only the
    // calls that were waiting before this tick are looked at.
    std::vector<Pending> waiting;
    waiting.swap(pending);
    for (Pending& call : waiting) {
        if (!Finish(call))
            pending.push_back(std::move(call));
    }
}

void SteamKit::Answer(const json& request, const json& result)
{
    json answer = {{"type", "steam-response"}, {"componentId", "steam"}, {"requestId", request.value("requestId", json())},
        {"ok", true}, {"result", result}};
    try {
        send(answer.dump());
    } catch (const json::type_error&) {
        // Only texts from Steam can be other than UTF-8.
        Refuse(request, "steam gave text that is not utf-8");
    }
}

void SteamKit::Refuse(const json& request, const std::string& error)
{
    json answer = {{"type", "steam-response"}, {"componentId", "steam"}, {"requestId", request.value("requestId", json())},
        {"ok", false}, {"error", error}};
    send(answer.dump(-1, ' ', false, json::error_handler_t::replace));
}

// Answers the call when Steam has finished it, or starts the step after
// the lookup; false while it waits.
bool SteamKit::Finish(Pending& call)
{
    CallState state = api->StateOf(call.call);
    if (state == CallState::Pending)
        return false;
    // Kept: the lookup hands the work on to the step that follows it.
    json request = call.work.request;
    try {
        if (state == CallState::Failed)
            throw SteamError("the steam call failed (steam may be offline)");
        json result = call.finding ? Found(call) : call.work.then == Step::Upload ? Uploaded(call) : Downloaded(call);
        if (!result.is_null())
            Answer(request, result);
    } catch (const SteamError& error) {
        Refuse(request, error.what());
    }
    return true;
}

void SteamKit::Await(LeaderboardWork work, SteamCall call, bool finding)
{
    if (call == 0)
        throw SteamError("steam refused the leaderboard call");
    pending.push_back({std::move(work), call, finding});
}

json SteamKit::UserName(const json&)
{
    return {{"name", api->PersonaName()}};
}

json SteamKit::SteamIdOfUser(const json&)
{
    return {{"steamId", IdText(api->SteamId())}};
}

json SteamKit::Language(const json&)
{
    return {{"language", api->GameLanguage()}};
}

json SteamKit::SetAchievement(const json& request)
{
    std::string name = TextArgument(request, "name");
    Check(api->SetAchievement(name), "set the achievement " + name + " (is it defined, and have the stats arrived?)");
    return Empty();
}

json SteamKit::ClearAchievement(const json& request)
{
    std::string name = TextArgument(request, "name");
    Check(api->ClearAchievement(name), "clear the achievement " + name);
    return Empty();
}

json SteamKit::GetAchievement(const json& request)
{
    std::string name = TextArgument(request, "name");
    std::optional<bool> achieved = api->Achievement(name);
    Check(achieved.has_value(), "read the achievement " + name);
    return {{"achieved", *achieved}};
}

json SteamKit::IndicateProgress(const json& request)
{
    std::string name = TextArgument(request, "name");
    uint32_t current = Uint32Argument(request, "current");
    uint32_t max = Uint32Argument(request, "max");
    if (current >= max)
        throw SteamError("\"current\" must be less than \"max\": set the achievement instead");
    Check(api->IndicateAchievementProgress(name, current, max), "show progress for the achievement " + name);
    return Empty();
}

json SteamKit::GetStatInt(const json& request)
{
    std::string name = TextArgument(request, "name");
    std::optional<int32_t> value = api->StatInt(name);
    Check(value.has_value(), "read the whole-number stat " + name);
    return {{"value", *value}};
}

json SteamKit::GetStatFloat(const json& request)
{
    std::string name = TextArgument(request, "name");
    std::optional<float> value = api->StatFloat(name);
    Check(value.has_value(), "read the decimal stat " + name);
    return {{"value", *value}};
}

json SteamKit::SetStatInt(const json& request)
{
    std::string name = TextArgument(request, "name");
    Check(api->SetStatInt(name, Int32Argument(request, "value")), "set the whole-number stat " + name);
    return Empty();
}

json SteamKit::SetStatFloat(const json& request)
{
    std::string name = TextArgument(request, "name");
    Check(api->SetStatFloat(name, FloatArgument(request, "value")), "set the decimal stat " + name);
    return Empty();
}

json SteamKit::StoreStats(const json&)
{
    Check(api->StoreStats(), "store the stats");
    return Empty();
}

// A leaderboard found earlier in this run is not looked up again.
void SteamKit::Begin(LeaderboardWork work)
{
    auto known = leaderboards.find(work.name);
    if (known != leaderboards.end()) {
        Continue(std::move(work), known->second);
        return;
    }
    SteamCall call = api->FindLeaderboard(work.name);
    Await(std::move(work), call, true);
}

void SteamKit::Continue(LeaderboardWork work, uint64_t leaderboard)
{
    SteamCall call = work.then == Step::Upload ? api->UploadScore(leaderboard, work.method, work.score)
                                               : api->DownloadScores(leaderboard, work.range, work.start, work.end);
    Await(std::move(work), call, false);
}

json SteamKit::FindLeaderboard(const json& request)
{
    std::string name = TextArgument(request, "leaderboard");
    SteamCall call = api->FindLeaderboard(name);
    Await({request, name, Step::Find}, call, true);
    return nullptr;
}

json SteamKit::UploadScore(const json& request)
{
    LeaderboardWork work{request, TextArgument(request, "leaderboard"), Step::Upload};
    work.score = Int32Argument(request, "score");
    if (ChoiceArgument(request, "scoreMethod", {"keep-best", "force-update"}, 0) == 1)
        work.method = UploadMethod::ForceUpdate;
    Begin(std::move(work));
    return nullptr;
}

json SteamKit::DownloadScores(const json& request)
{
    LeaderboardWork work{request, TextArgument(request, "leaderboard"), Step::Download};
    work.range = static_cast<ScoreRange>(ChoiceArgument(request, "range", {"global", "around-user", "friends"}, 0));
    work.start = Int32Argument(request, "start", 1);
    work.end = Int32Argument(request, "end", 10);
    if (work.end < work.start || static_cast<int64_t>(work.end) - work.start >= MostEntries)
        throw SteamError("\"end\" must be at least \"start\" and at most " + std::to_string(MostEntries - 1)
            + " past it");
    Begin(std::move(work));
    return nullptr;
}

// The lookup's answer, or (null) the upload or download that waited for it.
json SteamKit::Found(Pending& call)
{
    std::optional<FoundLeaderboard> found = api->FoundLeaderboardOf(call.call);
    Check(found.has_value(), "tell whether the leaderboard " + call.work.name + " exists");
    if (call.work.then == Step::Find)
        return {{"found", found->found}};
    if (!found->found)
        throw SteamError("no leaderboard named " + call.work.name);
    leaderboards[call.work.name] = found->handle;
    Continue(std::move(call.work), found->handle);
    return nullptr;
}

json SteamKit::Uploaded(const Pending& call)
{
    std::optional<UploadedScore> uploaded = api->UploadedScoreOf(call.call);
    Check(uploaded.has_value() && uploaded->success, "upload the score");
    return {{"score", uploaded->score}, {"changed", uploaded->changed}, {"rankNew", uploaded->rankNew},
        {"rankPrevious", uploaded->rankPrevious}};
}

json SteamKit::Downloaded(const Pending& call)
{
    std::optional<std::vector<LeaderboardEntry>> entries = api->DownloadedScoresOf(call.call);
    Check(entries.has_value(), "download the scores");
    json list = json::array();
    for (const LeaderboardEntry& entry : *entries)
        list.push_back({{"steamId", IdText(entry.steamId)}, {"name", api->FriendName(entry.steamId)},
            {"rank", entry.rank}, {"score", entry.score}});
    return {{"entries", list}};
}

json SteamKit::WriteFile(const json& request)
{
    std::string name = TextArgument(request, "file");
    const json& data = request.value("data", json());
    if (!data.is_string())
        throw SteamError("\"data\" must be a text (base64 for bytes, with \"encoding\": \"base64\")");
    std::string bytes = WantsBase64(request) ? DecodeBase64(data.get<std::string>()) : data.get<std::string>();
    if (bytes.size() > MostCloudFileBytes)
        throw SteamError("the file " + name + " is larger than steam's 100 MiB for one cloud file");
    Check(api->FileWrite(name, bytes), "write the cloud file " + name + " (is the quota full?)");
    return Empty();
}

json SteamKit::ReadFile(const json& request)
{
    std::string name = TextArgument(request, "file");
    bool base64 = WantsBase64(request);
    std::optional<std::string> bytes = api->FileRead(name);
    Check(bytes.has_value(), "read the cloud file " + name + " (does it exist?)");
    if (base64)
        return {{"data", EncodeBase64(*bytes)}};
    json result = {{"data", *bytes}};
    try {
        result.dump();
    } catch (const json::type_error&) {
        throw SteamError("the cloud file " + name + " is not utf-8 text: read it with \"encoding\": \"base64\"");
    }
    return result;
}

json SteamKit::DeleteFile(const json& request)
{
    std::string name = TextArgument(request, "file");
    Check(api->FileDelete(name), "delete the cloud file " + name + " (does it exist?)");
    return Empty();
}

json SteamKit::ListFiles(const json&)
{
    json files = json::array();
    for (const CloudFile& file : api->Files())
        files.push_back({{"name", file.name}, {"size", file.size}});
    return {{"files", files}};
}

json SteamKit::Quota(const json&)
{
    std::optional<CloudQuota> quota = api->Quota();
    Check(quota.has_value(), "tell the cloud quota");
    return {{"total", quota->total}, {"available", quota->available}};
}

json SteamKit::OpenWebPage(const json& request)
{
    std::string url = TextArgument(request, "url");
    if (url.rfind("https://", 0) != 0 && url.rfind("http://", 0) != 0)
        throw SteamError("\"url\" must start with https:// or http://");
    api->OverlayToWebPage(url, BoolArgument(request, "modal", false));
    return Empty();
}

json SteamKit::OpenStore(const json& request)
{
    uint32_t store = Uint32Argument(request, "appId", appId);
    if (store == 0)
        throw SteamError("missing \"appId\": package.json sets no steam app-id");
    int flag = ChoiceArgument(request, "flag", {"none", "add-to-cart", "add-to-cart-and-show"}, 0);
    api->OverlayToStore(store, static_cast<StoreFlag>(flag));
    return Empty();
}
