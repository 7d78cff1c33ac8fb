#pragma once

#include <windows.h>

// Waits for the object while dispatching the thread's messages, so that
// windows of this thread (and messages sent to them from other threads)
// keep being answered. A quit message that arrives meanwhile is posted
// again once the wait is over, for the loop it was meant for. False when
// `milliseconds` passed first.
bool WaitWhileDispatching(HANDLE object, DWORD milliseconds = INFINITE);
