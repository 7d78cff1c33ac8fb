#pragma once

#include "webview/desktop.h"

// IDesktop over the shell, the process environment, the known folders and a
// message box.
class DesktopWin32 : public IDesktop {
public:
    void OpenWithShell(const std::string& url) override;
    void SetEnvironmentValue(const std::string& name, const std::string& value) override;
    void RemoveEnvironmentValue(const std::string& name) override;
    void FailRun(const std::string& text) override;
    std::chrono::steady_clock::time_point Now() override;
    bool AskReloadBusyPage(const std::string& title, const std::function<bool()>& answered) override;
    std::string KnownFolderPath(KnownFolder folder) override;
};
