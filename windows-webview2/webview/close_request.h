#pragma once

#include <cstdint>

#include "bridge/page_channel.h"
#include "window/main_window.h"

// The page's say before the window closes, when the app asks for it
// ("settings" → "close-request") and the page has opted in with
// {"type":"enable-close-request"}: a close from the player or the system
// posts {"type":"close-requested"}; the page answers {"type":"close"} once
// it has saved, or {"type":"cancel-close"}; without an answer in time the
// window closes anyway, so a hung page never keeps the player in.
class CloseRequest {
public:
    CloseRequest(bool enabled, int32_t seconds, IMainWindow& mainWindow, IPageChannel& pageChannel)
        : isEnabled(enabled), milliseconds(static_cast<uint32_t>(seconds) * 1000u), window(mainWindow),
          page(pageChannel)
    {
    }

    void EnableForPage();
    // A new document: it must opt in again.
    void ForgetPage();
    // The window was asked to close: true when it closes now; otherwise the
    // page has been asked.
    bool ShouldCloseNow();
    // The same at the end of the Windows session, which shows its "apps are
    // preventing shutdown" screen after 5 s: the page has SessionEndWait at
    // most, whatever the app's timeout.
    bool ShouldCloseForSessionEnd();
    static constexpr uint32_t SessionEndWait = 3000;
    // The page's answer; ignored unless it was asked.
    void Answer(bool close);
    void OnTimeout();
    bool AwaitingPage() const { return state == State::Asked; }
    // Closes without asking: the page itself asked to close.
    void CloseNow();

private:
    enum class State { Open, Asked, Closing };
    bool Ask(uint32_t timeout);

    const bool isEnabled;
    const uint32_t milliseconds;
    IMainWindow& window;
    IPageChannel& page;
    bool pageListens = false;
    State state = State::Open;
};
