#pragma once

#include <chrono>
#include <cstdint>

// A one-line bar on standard error when it is a terminal, shown only once
// the work has taken a moment; nothing otherwise.
class ProgressBar {
public:
    explicit ProgressBar(const char* label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void Update(uint64_t done, uint64_t total);

private:
    const char* what;
    bool terminal; // asked once: the bar is updated for every file
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point last;
    bool shown = false;
};
