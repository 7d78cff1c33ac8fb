#pragma once

#include <windows.h>

#include <string>

// One running copy per executable and user ("settings" → "single-instance").
// True when a copy already runs: its window is brought to the front,
// restored when minimised, and this start should end. Otherwise this copy
// holds the lock until it ends.
bool HandOverToRunningCopy(const std::string& executablePath);
// Lets a later start find this copy's window.
void MarkRunningCopy(HWND window, const std::string& executablePath);
