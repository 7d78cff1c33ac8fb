#pragma once

#include "bridge/launch.h"

// This process's command-line arguments, split by Windows' rules
// (CommandLineToArgvW), and whether it runs under Wine.
Launch LaunchOfThisProcess();
