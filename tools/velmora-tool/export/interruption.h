#pragma once

// Ctrl-C and SIGTERM during an export: while a guard lives, the signal is
// only noted; the work stops at its next step (ThrowIfInterrupted), its
// temporary files are removed on the way out, and then the tool ends by the
// same signal (EndIfInterrupted). SIGXFSZ is ignored while a guard lives,
// so that a file-size limit fails the write (EFBIG) instead of killing the
// tool with its temporary files left behind, and so is SIGPIPE, so that a
// helper that ends early fails the write to it.
class InterruptionGuard {
public:
    InterruptionGuard();
    ~InterruptionGuard();
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;
};

// Throws ExportError("interrupted") once a signal was noted.
void ThrowIfInterrupted();
bool WasInterrupted();
// After cleaning up: ends the process by the noted signal, if there was one.
void EndIfInterrupted();
