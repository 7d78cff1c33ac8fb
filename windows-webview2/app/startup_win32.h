#pragma once

#include <windows.h>

// The host's whole run on its UI thread; returns the process exit code.
int RunHost(HINSTANCE instance);
