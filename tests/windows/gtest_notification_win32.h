// Included ahead of GoogleTest in the cross builds. The Win32-thread C++
// runtime has no std::mutex or std::condition_variable, which GoogleTest's
// Notification (used by its own thread helpers) is made of; this one waits
// on a flag instead.
#pragma once

#include <atomic>

extern "C" __declspec(dllimport) void __stdcall Sleep(unsigned long milliseconds);

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    void Notify() { notified.store(true); }
    void WaitForNotification()
    {
        while (!notified.load())
            Sleep(1);
    }

private:
    std::atomic<bool> notified {false};
};

}
}
