#include <gtest/gtest.h>

#include <memory>

#include "tests/unit/webview/host_rig.h"

namespace {

using Strings = std::vector<std::string>;

const char* const Page = "https://velmora.localhost/index.html";
const std::string Handles = R"(handles {"type":"directory-handles"})";
const std::string ResponseText = R"({"arguments":[],"platform":"windows","registeredComponentIds":["sample.echo","sample.folders"],"type":"wrapper-init-response"})";
// Where the handles can be sent the response follows them the same way:
// the runtime keeps no order between its two ways of posting.
const std::string Response = "handles " + ResponseText;
const Strings Folders = {"C:\\Games\\Game\\", "C:\\Games\\Game\\www\\", "C:\\Users\\u\\AppData\\Local\\game",
    "C:\\Users\\u\\AppData\\Local", "C:\\Users\\u\\AppData\\Roaming", "C:\\Users\\u\\Desktop", "C:\\Users\\u\\Documents",
    "C:\\Users\\u\\Downloads", "C:\\Users\\u\\Pictures", "C:\\Users\\u", "C:\\Users\\u\\Saved Games",
    "C:\\Users\\u\\Pictures\\Screenshots", "C:\\Users\\u\\Videos"};

std::string HandlesWith(const Strings& slots)
{
    std::string text = Handles;
    for (const std::string& slot : slots)
        text += " " + slot;
    return text;
}

// The whole host, as the page and the extension library meet it.
struct PageBridgeTest : testing::Test, HostRig {
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(Strings(), runtime.faults);
    }
    void Start(bool withLibrary = true)
    {
        if (withLibrary)
            extensions.LoadExtensionLibrary();
        host = StartHost();
        window.calls.clear();
    }

    Strings Send(const std::string& text)
    {
        runtime.pageMessages.clear();
        window.calls.clear();
        runtime.RaiseWebMessage(Page, text);
        return window.calls;
    }

    std::string Resolve(const char* placeholder) { return library.app->ResolveFolderPlaceholder(placeholder); }

    std::unique_ptr<CorvaneWebView> host;
};

}

TEST_F(PageBridgeTest, WindowMessagesScaleTruncateAndFallBackToTheirDefaults)
{
    Start();
    window.dpiFactor = 1.5f;
    // A client area of 1200 x 900 inside the model's 16 x 39 frame.
    EXPECT_EQ(Strings {"resize 1216 939"}, Send(R"({"type":"set-window-size","windowWidth":800,"windowHeight":600})"));
    window.dpiFactor = 1.0f;
    EXPECT_EQ(Strings {"move -10 20"}, Send(R"({"type":"set-window-position","windowX":-10.7,"windowY":20})"));
    EXPECT_EQ(Strings {"move 0 0"}, Send(R"({"type":"set-window-position","windowX":"5"})"));
    EXPECT_EQ(3u, Send(R"({"type":"set-fullscreen","fullscreen":true})").size());
    EXPECT_TRUE(host->IsFullscreen());
    EXPECT_TRUE(Send(R"({"type":"set-window-size","windowWidth":800,"windowHeight":600})").empty());
    EXPECT_TRUE(Send(R"({"type":"set-window-position","windowX":1,"windowY":2})").empty());
    EXPECT_EQ(3u, Send(R"({"type":"set-fullscreen","fullscreen":"yes"})").size());
    EXPECT_FALSE(host->IsFullscreen());
    EXPECT_TRUE(Send(R"({"type":"set-fullscreen"})").empty());
    EXPECT_TRUE(runtime.pageMessages.empty());
}

TEST_F(PageBridgeTest, AnythingElseIsDroppedQuietlyAndTheHostGoesOn)
{
    Start();
    for (const char* text : {R"({"type":"SET-FULLSCREEN","fullscreen":true})", R"({"type":"Wrapper-Init"})",
             R"({"type":"EXTENSION-MESSAGE"})", R"([{"type":"wrapper-init"}])", R"("wrapper-init")", "{broken", "",
             R"({"type":"set-window-size","windowWidth":0,"windowHeight":600})",
             R"({"type":"set-window-size","windowWidth":"800","windowHeight":600})", R"({"type":7})",
             "{\"type\":\"wrapper-init\"\xff}"}) {
        EXPECT_TRUE(Send(text).empty()) << text;
        EXPECT_TRUE(runtime.pageMessages.empty()) << text;
    }
    EXPECT_EQ("Init", library.calls.back().substr(0, 4));
    EXPECT_EQ(Strings {"resize 416 339"}, Send(R"({"type":"set-window-size","windowWidth":400,"windowHeight":300})"));
}

TEST_F(PageBridgeTest, EveryWrapperInitGetsFreshHandlesThenTheComponents)
{
    Start();
    Send(R"({"type":"wrapper-init"})");
    Strings first = runtime.pageMessages;
    Send(R"({"type":"wrapper-init","extra":[1,2]})");
    first.insert(first.end(), runtime.pageMessages.begin(), runtime.pageMessages.end());
    EXPECT_EQ((Strings {HandlesWith(Folders), Response, HandlesWith(Folders), Response}), first);

    size_t handleRequests = 0;
    for (const std::string& call : runtime.calls)
        handleRequests += call.rfind("CreateReadWriteDirectoryHandle ", 0) == 0;
    EXPECT_EQ(26u, handleRequests);
    EXPECT_EQ(13u, host->Folders().size());
    EXPECT_EQ("C:\\Games\\Game\\", host->Folders().at("<app>"));
    EXPECT_EQ("C:\\Games\\Game\\www\\", host->Folders().at("<web-resource>"));
}

TEST_F(PageBridgeTest, WithoutALibraryTheComponentListIsEmpty)
{
    library.present = false;
    Start();
    Send(R"({"type":"wrapper-init"})");
    ASSERT_EQ(2u, runtime.pageMessages.size());
    EXPECT_EQ(R"(handles {"arguments":[],"platform":"windows","registeredComponentIds":[],"type":"wrapper-init-response"})", runtime.pageMessages[1]);
}

TEST_F(PageBridgeTest, AFolderWithoutAPathOrAHandleLeavesItsSlotEmpty)
{
    desktop.missingFolders = {KnownFolder::Screenshots};
    runtime.refusedHandles = {"C:\\Users\\u\\Documents"};
    Start();
    Send(R"({"type":"wrapper-init"})");
    Strings slots = Folders;
    slots[6] = "-";
    slots[11] = "-";
    EXPECT_EQ((Strings {HandlesWith(slots), Response}), runtime.pageMessages);
    // A refused handle still has its path; a folder without one has none.
    EXPECT_EQ(12u, host->Folders().size());
    EXPECT_EQ(0u, host->Folders().count("<screenshots>"));
    EXPECT_EQ("C:\\Users\\u\\Documents", Resolve("<documents>"));
    EXPECT_EQ("", Resolve("<screenshots>"));
}

TEST_F(PageBridgeTest, AnOlderRuntimeGetsOnlyTheResponse)
{
    for (int missing = 0; missing < 2; ++missing) {
        runtime.hasEnvironment14 = missing != 0;
        runtime.hasWebView23 = missing == 0;
        Start(missing == 0);
        Send(R"({"type":"wrapper-init"})");
        EXPECT_EQ(Strings {"json " + ResponseText}, runtime.pageMessages);
        EXPECT_TRUE(host->Folders().empty());
        host.reset();
    }
}

TEST_F(PageBridgeTest, APageThatLeftTheOriginGetsNoHandles)
{
    Start();
    runtime.SetSource("https://elsewhere.example/");
    Send(R"({"type":"wrapper-init"})");
    EXPECT_TRUE(runtime.pageMessages.empty());
    runtime.SetSource(Page);
    Send(R"({"type":"wrapper-init"})");
    EXPECT_EQ((Strings {HandlesWith(Folders), Response}), runtime.pageMessages);
}

TEST_F(PageBridgeTest, AFailingHandleMessageDropsTheResponseButKeepsTheFolders)
{
    runtime.refusesCollections = true;
    Start();
    Send(R"({"type":"wrapper-init"})");
    EXPECT_TRUE(runtime.pageMessages.empty());
    EXPECT_EQ(13u, host->Folders().size());
    EXPECT_EQ(Strings {"move 1 2"}, Send(R"({"type":"set-window-position","windowX":1,"windowY":2})"));
}

TEST_F(PageBridgeTest, RepliesAreCompactSortedUtf8AndNeverInvalid)
{
    library.ids = Strings {"caf\xc3\xa9", "b\"q\\"};
    Start();
    Send(R"({"type":"wrapper-init"})");
    EXPECT_EQ("handles {\"arguments\":[],\"platform\":\"windows\",\"registeredComponentIds\":[\"caf\xc3\xa9\",\"b\\\"q\\\\\"],\"type\":\"wrapper-init-response\"}",
        runtime.pageMessages.back());

}

TEST_F(PageBridgeTest, TextThatIsNotUtf8DropsTheReplyItWasIn)
{
    library.ids = Strings {"ok", "bad\xc3"};
    Start();
    Send(R"({"type":"wrapper-init"})");
    // The identifier cannot be written as JSON: the response is dropped.
    EXPECT_EQ(Strings {HandlesWith(Folders)}, runtime.pageMessages);
}

TEST_F(PageBridgeTest, ExtensionMessagesGoToTheLibraryUnchangedAndItsRepliesToThePage)
{
    library.onMessage = [](IWrapperApp& app, const char* message) { app.SendMessageToPage(message); };
    Start();
    const std::string text = "{ \"type\" : \"extension-message\", \"text\": \"h\xc3\xa9llo \\u2713\", \"n\": 1.50 }";
    EXPECT_TRUE(Send(text).empty());
    EXPECT_EQ("OnExtensionMessage " + text, library.calls.back());
    EXPECT_EQ(Strings {"json " + text}, runtime.pageMessages);
}

TEST_F(PageBridgeTest, TheLibraryReachesThePageAndTheFoldersOnlyWhileTheyExist)
{
    std::string duringInit = "unset";
    library.duringInit = [&duringInit](IWrapperApp& app) {
        app.SendMessageToPage(R"({"type":"too-early"})");
        duringInit = app.ResolveFolderPlaceholder("<app>");
    };
    extensions.LoadExtensionLibrary();
    EXPECT_EQ("", duringInit);

    host = MakeHost();
    library.app->SendMessageToPage(R"({"type":"no-webview-yet"})");
    host->Init();
    runtime.CompleteEnvironment();
    runtime.CompleteController();
    EXPECT_EQ("", Resolve("<documents>"));
    library.app->SendMessageToPage(R"({"type":"now"})");
    EXPECT_EQ(Strings {R"(json {"type":"now"})"}, runtime.pageMessages);

    Send(R"({"type":"wrapper-init"})");
    const char* documents = library.app->ResolveFolderPlaceholder("<documents>");
    EXPECT_STREQ("C:\\Users\\u\\Documents", documents);
    EXPECT_EQ("C:\\Users\\u\\AppData\\Local\\game", Resolve("<current-app-data>"));
    EXPECT_EQ("", Resolve("<Documents>"));
    EXPECT_EQ("", Resolve("documents"));
    Send(R"({"type":"set-fullscreen","fullscreen":false})");
    EXPECT_STREQ("C:\\Users\\u\\Documents", documents);

    host.reset();
    EXPECT_EQ("", Resolve("<documents>"));
}

// A game may offer launch switches and adapt to Wine: the arguments after
// the program's name, as given, and the platform.
TEST_F(PageBridgeTest, TheLaunchArgumentsAndThePlatformReachThePage)
{
    launch = {{"--windowed", "mod folder", "caf\xC3\xA9", ""}, true};
    Start(false);
    Send(R"({"type":"wrapper-init"})");
    ASSERT_EQ(2u, runtime.pageMessages.size());
    EXPECT_EQ("handles {\"arguments\":[\"--windowed\",\"mod folder\",\"caf\xC3\xA9\",\"\"],\"platform\":\"wine\","
              "\"registeredComponentIds\":[],\"type\":\"wrapper-init-response\"}",
        runtime.pageMessages[1]);
}
