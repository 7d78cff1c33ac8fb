#include "tools/velmora-tool/commands/progress_bar.h"

#include <cstdio>
#include <string>
#include <unistd.h>

ProgressBar::ProgressBar(const char* label) : what(label), terminal(isatty(fileno(stderr)) != 0) {}

void ProgressBar::Update(uint64_t done, uint64_t total)
{
    if (!terminal)
        return;
    auto now = std::chrono::steady_clock::now();
    if (now - start < std::chrono::milliseconds(500) ||
        now - last < std::chrono::milliseconds(100))
        return;
    last = now;
    shown = true;
    int percent = total ? static_cast<int>(done * 100 / total) : 100;
    std::fprintf(stderr, "\r%s [%-40s] %3d%% %llu/%llu MB", what,
        std::string(static_cast<size_t>(percent * 40 / 100), '#').c_str(), percent,
        static_cast<unsigned long long>(done >> 20), static_cast<unsigned long long>(total >> 20));
}

ProgressBar::~ProgressBar()
{
    if (shown)
        std::fputc('\n', stderr);
}
