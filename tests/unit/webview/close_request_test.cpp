#include <gtest/gtest.h>

#include <algorithm>

#include "tests/unit/webview/host_rig.h"

namespace {

const char* const Page = "https://velmora.localhost/index.html";
const std::string Asked = R"(json {"type":"close-requested"})";

// The close box, Alt+F4 or the taskbar, as the window procedure passes
// them on: the window closes unless the host keeps it open.
struct CloseRequestTest : testing::Test, HostRig {
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(std::vector<std::string>(), runtime.faults);
    }
    void StartWith(const std::string& settings)
    {
        Configure(R"({"name": "game", "settings": )" + settings + "}");
        host = StartHost();
        runtime.RaiseDomContentLoaded();
    }
    void Say(const std::string& json) { runtime.RaiseWebMessage(Page, json); }
    // The player closes the window, and the posted close is delivered.
    void PlayerCloses()
    {
        if (host->OnCloseRequested())
            DestroyWindow();
    }
    void DestroyWindow()
    {
        host->OnWindowDestroying();
        window.destroyed = true;
    }
    size_t Asks() const { return std::count(runtime.pageMessages.begin(), runtime.pageMessages.end(), Asked); }

    std::unique_ptr<CorvaneWebView> host;
};

}

TEST_F(CloseRequestTest, APageThatOptedInSavesThenClosesOrCancels)
{
    StartWith(R"({"close-request": true, "close-request-timeout": 8})");
    Say(R"({"type":"enable-close-request"})");
    PlayerCloses();
    EXPECT_FALSE(window.destroyed);
    EXPECT_EQ(1u, Asks());
    EXPECT_EQ(8000u, window.closeTimer);
    EXPECT_TRUE(host->IsAwaitingPageClose());
    PlayerCloses();
    EXPECT_EQ(1u, Asks()) << "a second close waits for the same answer";

    Say(R"({"type":"cancel-close"})");
    EXPECT_FALSE(host->IsAwaitingPageClose());
    EXPECT_EQ(0u, window.closeTimer);
    EXPECT_EQ(0, window.postedCloses);
    Say(R"({"type":"close"})");
    EXPECT_EQ(0, window.postedCloses) << "an answer nobody asked for does nothing";

    PlayerCloses();
    EXPECT_EQ(2u, Asks());
    Say(R"({"type":"close"})");
    EXPECT_EQ(0u, window.closeTimer);
    EXPECT_EQ(1, window.postedCloses);
    DeliverClose(*host);
    EXPECT_TRUE(window.destroyed) << "the close the page confirmed is not asked about again";
}

TEST_F(CloseRequestTest, APageThatDoesNotAnswerInTimeIsClosedAnyway)
{
    StartWith(R"({"close-request": true})");
    Say(R"({"type":"enable-close-request"})");
    PlayerCloses();
    EXPECT_EQ(5000u, window.closeTimer) << "the default wait";
    host->OnCloseTimeout();
    EXPECT_EQ(0u, window.closeTimer);
    DeliverClose(*host);
    EXPECT_TRUE(window.destroyed);
    Say(R"({"type":"close"})");
    EXPECT_EQ(0, window.postedCloses);
}

TEST_F(CloseRequestTest, TheWindowClosesAtOnceWithoutTheSettingAfterANewDocumentAndForThePagesOwnClose)
{
    StartWith(R"({"close-request": false})");
    Say(R"({"type":"enable-close-request"})");
    PlayerCloses();
    EXPECT_TRUE(window.destroyed) << "the app did not ask for close requests";
    host.reset();

    window = MainWindowModel();
    StartWith(R"({"close-request": true})");
    Say(R"({"type":"enable-close-request"})");
    EXPECT_FALSE(runtime.RaiseNavigationStarting("https://velmora.localhost/level2.html"));
    PlayerCloses();
    EXPECT_TRUE(window.destroyed) << "a new document must opt in again";
    host.reset();

    window = MainWindowModel();
    StartWith(R"({"close-request": true})");
    Say(R"({"type":"enable-close-request"})");
    runtime.RaiseWindowCloseRequested();
    DeliverClose(*host);
    EXPECT_TRUE(window.destroyed) << "the page's own close is not asked about";
    EXPECT_EQ(0u, Asks());
}

// Windows shows its "apps are preventing shutdown" screen after 5 s: the
// page that saves at the end of the session has 3 s at most, the runtime's
// processes may already be gone (a failure stops the wait), and no failure
// box may hold the end up.
TEST_F(CloseRequestTest, TheEndOfTheSessionWaitsBrieflyAndShowsNoBox)
{
    StartWith(R"({"close-request": true, "close-request-timeout": 30})");
    Say(R"({"type":"enable-close-request"})");
    PlayerCloses();
    EXPECT_EQ(30000u, window.closeTimer);
    EXPECT_FALSE(host->OnSessionEnding());
    EXPECT_EQ(3000u, window.closeTimer) << "the session's end while the page saves shortens the wait";
    EXPECT_EQ(1u, Asks()) << "the same answer";
    EXPECT_TRUE(host->IsAwaitingPageClose());
    runtime.RaiseProcessFailed(IProcessFailedArgs::FailedKind::BrowserProcessExited);
    EXPECT_FALSE(host->IsAwaitingPageClose()) << "nothing will answer now";
    EXPECT_EQ(1, window.postedCloses);
    DeliverPostedWork(*host);
    EXPECT_TRUE(desktop.calls.empty()) << "no failure box at the end of the session";
    host.reset();

    window = MainWindowModel();
    StartWith(R"({"close-request": true, "close-request-timeout": 2})");
    Say(R"({"type":"enable-close-request"})");
    EXPECT_FALSE(host->OnSessionEnding());
    EXPECT_EQ(2000u, window.closeTimer) << "a shorter timeout of the app's stays";
    Say(R"({"type":"close"})");
    EXPECT_FALSE(host->IsAwaitingPageClose());
    EXPECT_EQ(1, window.postedCloses);
}
