#include "installer/pumping_wait_win32.h"

#include <optional>

bool WaitWhileDispatching(HANDLE object, DWORD milliseconds)
{
    std::optional<WPARAM> quitCode;
    ULONGLONG deadline = GetTickCount64() + milliseconds;
    bool signalled = true;
    for (;;) {
        DWORD left = INFINITE;
        if (milliseconds != INFINITE) {
            ULONGLONG now = GetTickCount64();
            left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        }
        DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, left, QS_ALLINPUT);
        if (woken == WAIT_TIMEOUT)
            signalled = false;
        if (woken != WAIT_OBJECT_0 + 1)
            break;
        MSG msg = {};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (quitCode)
        PostQuitMessage(static_cast<int>(*quitCode));
    return signalled;
}
