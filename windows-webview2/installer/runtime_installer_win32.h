#pragma once

#include <windows.h>

#include <string>

#include "config/app_config.h"

// Downloads the WebView2 bootstrapper into the user-data folder while a
// small progress window is shown, runs it and waits for it. Returns when
// all is over or after an error box; start-up then looks for the runtime
// again. Runs before the main window exists, with a message loop of its own.
// Under Wine a bootstrapper that does not finish is waited for only so long.
void InstallRuntime(HINSTANCE instance, const std::string& userDataFolder, const AppConfig& config, bool underWine);
