#pragma once

#include <chrono>
#include <optional>

// A page the runtime reports unresponsive: running long script, or on a
// busy system, and not broken. The runtime repeats the report every few
// seconds until the page answers again, so a spell of reports is one busy
// page; one that lasts long enough gets the player's question.
class BusyPage {
public:
    using Clock = std::chrono::steady_clock;
    // A spell this long is asked about: a level build or a large module's
    // compile takes seconds, which the player should simply wait out.
    static constexpr Clock::duration AskAfter = std::chrono::seconds(20);
    // Reports further apart than this belong to separate spells: the page
    // answered in between.
    static constexpr Clock::duration AnsweredAfter = std::chrono::seconds(10);

    // A report at `now`; true when the player is to be asked now, once a spell.
    bool Report(Clock::time_point now);
    // The page answers again: no report has come for AnsweredAfter.
    bool HasAnswered(Clock::time_point now) const;
    // The page was reloaded: its next report starts a new spell.
    void Forget();

private:
    std::optional<Clock::time_point> since;
    Clock::time_point last;
    bool asked = false;
};
