#include "installer/pumping_wait_win32.h"

#include <optional>

void WaitWhileDispatching(HANDLE object)
{
    std::optional<WPARAM> quitCode;
    for (;;) {
        DWORD woken = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT);
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
}
