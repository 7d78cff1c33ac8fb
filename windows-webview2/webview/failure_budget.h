#pragma once

#include <chrono>
#include <cstddef>
#include <vector>

// How many failures may be recovered from within a span of time: the one
// that would exceed the limit is refused, so a page that keeps crashing
// ends the run instead of reloading forever.
class FailureBudget {
public:
    using Clock = std::chrono::steady_clock;
    FailureBudget(size_t maxFailures, Clock::duration within) : limit(maxFailures), span(within) {}
    // Counts a failure at `now`; true while it may still be recovered from.
    bool Admit(Clock::time_point now);

private:
    size_t limit;
    Clock::duration span;
    std::vector<Clock::time_point> recent;
};
