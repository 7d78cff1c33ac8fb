#include <gtest/gtest.h>

#include <windows.h>

#include "installer/pumping_wait_win32.h"

namespace {

struct Sender {
    HWND window;
    bool answered = false;
};

// Another thread sends to a window of the waiting thread, as the download
// worker moves the progress bar: a wait that does not dispatch would hold
// both threads until the send timed out.
DWORD WINAPI SendToWindow(void* argument)
{
    auto& sender = *static_cast<Sender*>(argument);
    DWORD_PTR result = 0;
    sender.answered = SendMessageTimeoutW(sender.window, WM_USER, 0, 0, SMTO_NORMAL, 5000, &result) && result == 42;
    return 0;
}

LRESULT CALLBACK Answer(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_USER ? 42 : DefWindowProcW(window, message, wParam, lParam);
}

}

TEST(WaitWhileDispatching, AnswersTheThreadsWindowsAndKeepsAQuitForLater)
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = Answer;
    windowClass.lpszClassName = L"VelmoraWaitTest";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"VelmoraWaitTest", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);

    PostQuitMessage(3);
    Sender sender {window};
    HANDLE thread = CreateThread(nullptr, 0, SendToWindow, &sender, 0, nullptr);
    DWORD started = GetTickCount();
    WaitWhileDispatching(thread);
    EXPECT_LT(GetTickCount() - started, 4000u);
    EXPECT_TRUE(sender.answered);
    CloseHandle(thread);

    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is there again";
    EXPECT_EQ(3u, msg.wParam);
    DestroyWindow(window);
}

TEST(WaitWhileDispatching, GivesUpAfterItsTime)
{
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD started = GetTickCount();
    EXPECT_FALSE(WaitWhileDispatching(never, 300));
    DWORD waited = GetTickCount() - started;
    EXPECT_GE(waited, 250u);
    EXPECT_LT(waited, 3000u);
    SetEvent(never);
    EXPECT_TRUE(WaitWhileDispatching(never, 300));
    CloseHandle(never);
}
