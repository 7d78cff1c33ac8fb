#include "webview/close_request.h"

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
    if (state == State::Closing || !pageListens)
        return true;
    // A second close while the page saves waits for the same answer.
    if (state == State::Asked)
        return false;
    state = State::Asked;
    page.PostJsonToPage(R"({"type":"close-requested"})");
    window.StartCloseTimer(milliseconds);
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
