#include "webview/busy_page.h"

bool BusyPage::Report(Clock::time_point now)
{
    if (HasAnswered(now)) {
        since = now;
        asked = false;
    }
    last = now;
    if (asked || now - *since < AskAfter)
        return false;
    asked = true;
    return true;
}

bool BusyPage::HasAnswered(Clock::time_point now) const
{
    return !since || now - last >= AnsweredAfter;
}

void BusyPage::Forget()
{
    since.reset();
    asked = false;
}
