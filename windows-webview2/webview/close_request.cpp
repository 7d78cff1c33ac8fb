#include "webview/close_request.h"

#include <algorithm>

void CloseRequest::EnableForPage()
{
    pageListens = isEnabled;
}

void CloseRequest::ForgetPage()
{
    pageListens = false;
}

bool CloseRequest::ShouldCloseNow()
{
    // A second close while the page saves waits for the same answer.
    if (state == State::Asked)
        return false;
    return Ask(milliseconds);
}

bool CloseRequest::ShouldCloseForSessionEnd()
{
    return Ask(std::min(milliseconds, SessionEndWait));
}

bool CloseRequest::Ask(uint32_t timeout)
{
    if (state == State::Closing || !pageListens)
        return true;
    // The session's end may come while the page saves: the same answer,
    // awaited no longer than the end allows.
    if (state == State::Open)
        page.PostJsonToPage(R"({"type":"close-requested"})");
    state = State::Asked;
    window.StartCloseTimer(timeout);
    return false;
}

void CloseRequest::Answer(bool close)
{
    if (state != State::Asked)
        return;
    window.StopCloseTimer();
    if (!close) {
        state = State::Open;
        return;
    }
    CloseNow();
}

void CloseRequest::OnTimeout()
{
    if (state != State::Asked)
        return;
    window.StopCloseTimer();
    CloseNow();
}

void CloseRequest::CloseNow()
{
    state = State::Closing;
    window.Close();
}
