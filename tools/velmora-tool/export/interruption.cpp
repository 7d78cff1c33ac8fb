#include "tools/velmora-tool/export/interruption.h"

#include <csignal>

#include "tools/velmora-tool/export/export_plan.h"

namespace {

// Written by the handler only; process-wide as signals are.
volatile std::sig_atomic_t noted = 0;
struct sigaction previousInterrupt, previousTerminate, previousFileSize, previousPipe;

void Note(int signal)
{
    noted = signal;
}

}

InterruptionGuard::InterruptionGuard()
{
    struct sigaction note = {};
    note.sa_handler = Note;
    sigemptyset(&note.sa_mask);
    // No SA_RESTART: a long read or write returns at once, and the work
    // stops at its next step.
    sigaction(SIGINT, &note, &previousInterrupt);
    sigaction(SIGTERM, &note, &previousTerminate);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGXFSZ, &ignore, &previousFileSize);
    // A helper that ends early fails the write to it, not the tool.
    sigaction(SIGPIPE, &ignore, &previousPipe);
}

InterruptionGuard::~InterruptionGuard()
{
    sigaction(SIGINT, &previousInterrupt, nullptr);
    sigaction(SIGTERM, &previousTerminate, nullptr);
    sigaction(SIGXFSZ, &previousFileSize, nullptr);
    sigaction(SIGPIPE, &previousPipe, nullptr);
}

void ThrowIfInterrupted()
{
    if (noted)
        throw ExportError("interrupted");
}

bool WasInterrupted()
{
    return noted != 0;
}

void EndIfInterrupted()
{
    if (!noted)
        return;
    std::signal(noted, SIG_DFL);
    std::raise(noted);
}
