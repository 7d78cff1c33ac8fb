#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "extensions/steam/core/base64.h"
#include "extensions/steam/core/request_arguments.h"
#include "extensions/steam/core/steam_kit.h"
#include "extensions/steam/core/steam_settings.h"
#include "tests/unit/steam/fake_steam_api.h"

using nlohmann::json;

namespace {

struct Page {
    std::vector<json> answers;

    SteamKit::Send Sink()
    {
        return [this](const std::string& text) { answers.push_back(json::parse(text)); };
    }
};

// The kit's answer to one request: its members are added to a request of
// the component "steam" with request id 7.
json Ask(SteamKit& kit, Page& page, json fields)
{
    fields["type"] = "extension-message";
    fields["componentId"] = "steam";
    fields["requestId"] = 7;
    size_t before = page.answers.size();
    kit.OnMessage(fields.dump());
    if (page.answers.size() != before + 1)
        return "no single answer";
    return page.answers.back();
}

json Ok(json result)
{
    return {{"type", "steam-response"}, {"componentId", "steam"}, {"requestId", 7}, {"ok", true}, {"result", result}};
}

json Error(const std::string& text)
{
    return {{"type", "steam-response"}, {"componentId", "steam"}, {"requestId", 7}, {"ok", false}, {"error", text}};
}

}

TEST(SteamKit, WithoutSteamEveryRequestIsRefusedWithTheReasonAndOthersAreLeftAlone)
{
    Page page;
    SteamKit kit(nullptr, "steam_api64.dll is missing beside the game", 480, page.Sink());
    for (const char* method : {"getUserName", "setAchievement", "uploadScore", "readFile", "openStore", "nonsense"})
        EXPECT_EQ(Error("steam_api64.dll is missing beside the game"), Ask(kit, page, {{"method", method}})) << method;
    kit.Tick();
    EXPECT_EQ(6u, page.answers.size());

    kit.OnMessage(R"({"type":"extension-message","componentId":"other","requestId":1,"method":"getUserName"})");
    kit.OnMessage("not json");
    kit.OnMessage("[1,2]");
    EXPECT_EQ(6u, page.answers.size());
    // A request string id comes back as it went; without one, the answer
    // says why it cannot be told apart.
    kit.OnMessage(R"({"componentId":"steam","requestId":"a-1","method":"getLanguage"})");
    EXPECT_EQ("a-1", page.answers.back()["requestId"]);
    kit.OnMessage(R"({"componentId":"steam","method":"getLanguage"})");
    EXPECT_EQ(nullptr, page.answers.back()["requestId"]);
    EXPECT_EQ("missing \"requestId\": the answer could not be told apart", page.answers.back()["error"]);
}

TEST(SteamKit, RequestsReachSteamAndEachAnswerCarriesItsResultOrWhyNot)
{
    FakeSteamApi steam;
    Page page;
    SteamKit kit(&steam, "", 480, page.Sink());
    EXPECT_EQ(Ok({{"name", "Ada"}}), Ask(kit, page, {{"method", "getUserName"}}));
    EXPECT_EQ(Ok({{"steamId", "76561197960287930"}}), Ask(kit, page, {{"method", "getSteamId"}}));
    EXPECT_EQ(Ok({{"language", "french"}}), Ask(kit, page, {{"method", "getLanguage"}}));
    EXPECT_EQ(Error("unknown method \"fly\""), Ask(kit, page, {{"method", "fly"}}));
    EXPECT_EQ(Error("\"method\" must be a non-empty text"), Ask(kit, page, {{"method", 5}}));

    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "setAchievement"}, {"name", "ACH_WIN"}}));
    EXPECT_EQ(Ok({{"achieved", true}}), Ask(kit, page, {{"method", "getAchievement"}, {"name", "ACH_WIN"}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "clearAchievement"}, {"name", "ACH_WIN"}}));
    EXPECT_EQ(Ok({{"achieved", false}}), Ask(kit, page, {{"method", "getAchievement"}, {"name", "ACH_WIN"}}));
    EXPECT_EQ(Error("steam refused to set the achievement UNDEFINED (is it defined, and have the stats arrived?)"),
        Ask(kit, page, {{"method", "setAchievement"}, {"name", "UNDEFINED"}}));
    EXPECT_EQ(Error("\"name\" must be a non-empty text"), Ask(kit, page, {{"method", "setAchievement"}, {"name", ""}}));
    EXPECT_EQ(Ok(json::object()),
        Ask(kit, page, {{"method", "indicateAchievementProgress"}, {"name", "ACH_WIN"}, {"current", 3}, {"max", 10}}));
    EXPECT_EQ("progress ACH_WIN 3/10", steam.calls.back());
    EXPECT_EQ(Error("\"current\" must be less than \"max\": set the achievement instead"),
        Ask(kit, page, {{"method", "indicateAchievementProgress"}, {"name", "ACH_WIN"}, {"current", 10}, {"max", 10}}));

    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "setStatInt"}, {"name", "WINS"}, {"value", 3.0}}));
    EXPECT_EQ(Ok({{"value", 3}}), Ask(kit, page, {{"method", "getStatInt"}, {"name", "WINS"}}));
    EXPECT_EQ(Error("\"value\" must be a whole number from -2147483648 to 2147483647"),
        Ask(kit, page, {{"method", "setStatInt"}, {"name", "WINS"}, {"value", 2.5}}));
    EXPECT_EQ(Error("\"value\" must be a whole number from -2147483648 to 2147483647"),
        Ask(kit, page, {{"method", "setStatInt"}, {"name", "WINS"}, {"value", 2147483648ll}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "setStatFloat"}, {"name", "DIST"}, {"value", 1.5}}));
    EXPECT_EQ(Ok({{"value", 1.5}}), Ask(kit, page, {{"method", "getStatFloat"}, {"name", "DIST"}}));
    EXPECT_EQ(Error("\"value\" must be a finite number"),
        Ask(kit, page, {{"method", "setStatFloat"}, {"name", "DIST"}, {"value", 1e300}}));
    EXPECT_EQ(Error("steam refused to read the whole-number stat LOST"),
        Ask(kit, page, {{"method", "getStatInt"}, {"name", "LOST"}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "storeStats"}}));

    // Cloud files: text as it is, bytes through base64, and text that is no
    // UTF-8 refused with the way to read it.
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "writeFile"}, {"file", "save.json"}, {"data", "{\"é\":1}"}}));
    EXPECT_EQ(Ok({{"data", "{\"é\":1}"}}), Ask(kit, page, {{"method", "readFile"}, {"file", "save.json"}}));
    EXPECT_EQ(Ok(json::object()),
        Ask(kit, page, {{"method", "writeFile"}, {"file", "raw.bin"}, {"data", "/wAB"}, {"encoding", "base64"}}));
    EXPECT_EQ(std::string("\xff\x00\x01", 3), steam.files["raw.bin"]);
    EXPECT_EQ(Error("the cloud file raw.bin is not utf-8 text: read it with \"encoding\": \"base64\""),
        Ask(kit, page, {{"method", "readFile"}, {"file", "raw.bin"}}));
    EXPECT_EQ(Ok({{"data", "/wAB"}}), Ask(kit, page, {{"method", "readFile"}, {"file", "raw.bin"}, {"encoding", "base64"}}));
    EXPECT_EQ(Error("\"encoding\" must be one of \"utf-8\", \"base64\""),
        Ask(kit, page, {{"method", "readFile"}, {"file", "raw.bin"}, {"encoding", "hex"}}));
    EXPECT_EQ(Ok({{"files", {{{"name", "raw.bin"}, {"size", 3}}, {{"name", "save.json"}, {"size", 8}}}}}),
        Ask(kit, page, {{"method", "listFiles"}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "deleteFile"}, {"file", "raw.bin"}}));
    EXPECT_EQ(Error("steam refused to delete the cloud file raw.bin (does it exist?)"),
        Ask(kit, page, {{"method", "deleteFile"}, {"file", "raw.bin"}}));
    EXPECT_EQ(Ok({{"total", 1000}, {"available", 900}}), Ask(kit, page, {{"method", "getQuota"}}));

    // The overlay: a web page, and the store page of the app's own id unless
    // another is named.
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "openWebPage"}, {"url", "https://example.com/"}, {"modal", true}}));
    EXPECT_EQ(Error("\"url\" must start with https:// or http://"),
        Ask(kit, page, {{"method", "openWebPage"}, {"url", "file:///C:/x"}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "openStore"}, {"flag", "add-to-cart"}}));
    EXPECT_EQ(Ok(json::object()), Ask(kit, page, {{"method", "openStore"}, {"appId", 620}}));
    EXPECT_EQ((std::vector<std::string>{"web page https://example.com/ modal", "store page 480 1", "store page 620 0"}),
        std::vector<std::string>(steam.calls.end() - 3, steam.calls.end()));
    SteamKit withoutAppId(&steam, "", 0, page.Sink());
    EXPECT_EQ(Error("missing \"appId\": package.json sets no steam app-id"),
        Ask(withoutAppId, page, {{"method", "openStore"}}));
}

TEST(SteamKit, LeaderboardCallsAreAnsweredOnceSteamHasTheirResults)
{
    FakeSteamApi steam;
    steam.boards["Best"] = 55;
    steam.names[11] = "Bea";
    steam.scores = {{11, 1, 900}, {12, 2, 800}};
    Page page;
    SteamKit kit(&steam, "", 480, page.Sink());

    // An upload by name finds the leaderboard first, then uploads, one
    // step per finished call.
    EXPECT_EQ("no single answer", Ask(kit, page, {{"method", "uploadScore"}, {"leaderboard", "Best"}, {"score", 700}}));
    kit.Tick();
    EXPECT_EQ(1, steam.callbackRuns);
    EXPECT_EQ(1u, kit.PendingCalls());
    steam.Complete("find Best");
    kit.Tick();
    EXPECT_EQ("upload 55 700 keep-best", steam.calls.back());
    EXPECT_TRUE(page.answers.empty());
    steam.Complete("upload 55 700 keep-best");
    kit.Tick();
    ASSERT_EQ(1u, page.answers.size());
    EXPECT_EQ(Ok({{"score", 700}, {"changed", true}, {"rankNew", 3}, {"rankPrevious", 0}}), page.answers.back());

    // Found once: the download asks Steam for the scores straight away, and
    // names each player as Steam knows them.
    Ask(kit, page, {{"method", "downloadScores"}, {"leaderboard", "Best"}, {"range", "friends"}, {"start", -2}, {"end", 2}});
    EXPECT_EQ("download 55 2 -2..2", steam.calls.back());
    steam.Complete("download 55 2 -2..2");
    kit.Tick();
    EXPECT_EQ(Ok({{"entries", {{{"steamId", "11"}, {"name", "Bea"}, {"rank", 1}, {"score", 900}},
                                  {{"steamId", "12"}, {"name", "[unknown]"}, {"rank", 2}, {"score", 800}}}}}),
        page.answers.back());

    EXPECT_EQ(Error("\"end\" must be at least \"start\" and at most 999 past it"),
        Ask(kit, page, {{"method", "downloadScores"}, {"leaderboard", "Best"}, {"start", 1}, {"end", 5000}}));
    EXPECT_EQ(Error("\"scoreMethod\" must be one of \"keep-best\", \"force-update\""),
        Ask(kit, page, {{"method", "uploadScore"}, {"leaderboard", "Best"}, {"score", 1}, {"scoreMethod", "best"}}));

    // A leaderboard Steam does not have, a find that only reports, and a
    // call that fails.
    Ask(kit, page, {{"method", "uploadScore"}, {"leaderboard", "Gone"}, {"score", 1}, {"scoreMethod", "force-update"}});
    Ask(kit, page, {{"method", "findLeaderboard"}, {"leaderboard", "Gone"}});
    steam.Complete("find Gone");
    kit.Tick();
    EXPECT_EQ(Error("no leaderboard named Gone"), page.answers[page.answers.size() - 2]);
    EXPECT_EQ(Ok({{"found", false}}), page.answers.back());
    Ask(kit, page, {{"method", "downloadScores"}, {"leaderboard", "Best"}});
    steam.Complete("download 55 0 1..10", CallState::Failed);
    kit.Tick();
    EXPECT_EQ(Error("the steam call failed (steam may be offline)"), page.answers.back());
    EXPECT_EQ(0u, kit.PendingCalls());
}

TEST(SteamKit, Base64AndTheAppIdOfPackageJson)
{
    std::string every;
    for (int byte = 0; byte < 256; ++byte)
        every += static_cast<char>(byte);
    for (size_t length : {0u, 1u, 2u, 3u, 256u})
        EXPECT_EQ(every.substr(0, length), DecodeBase64(EncodeBase64(every.substr(0, length))));
    EXPECT_EQ("TWE=", EncodeBase64("Ma"));
    EXPECT_THROW(DecodeBase64("TWE"), SteamError);
    EXPECT_THROW(DecodeBase64("TW!="), SteamError);
    EXPECT_THROW(DecodeBase64("T==="), SteamError);

    EXPECT_EQ(std::nullopt, SteamAppIdIn(json::parse(R"({"name":"x"})")));
    EXPECT_EQ(480u, SteamAppIdIn(json::parse(R"({"steam":{"app-id":480}})")));
    for (const char* bad : {R"({"steam":480})", R"({"steam":{"app-id":"480"}})", R"({"steam":{"app-id":0}})",
             R"({"steam":{"app-id":-1}})", R"({"steam":{"app-id":4294967296}})", R"({"steam":{}})"})
        EXPECT_THROW(SteamAppIdIn(json::parse(bad)), std::invalid_argument) << bad;
}
