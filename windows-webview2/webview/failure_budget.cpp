#include "webview/failure_budget.h"

#include <algorithm>

bool FailureBudget::Admit(Clock::time_point now)
{
    recent.erase(std::remove_if(recent.begin(), recent.end(),
                     [this, now](Clock::time_point failure) { return now - failure >= span; }),
        recent.end());
    recent.push_back(now);
    return recent.size() <= limit;
}
