#pragma once

#include "webview/desktop.h"

// IDesktop over the shell, the process environment, the known folders and a
// message box.
class DesktopWin32 : public IDesktop {
public:
    void OpenWithShell(const std::string& url) override;
    void SetEnvironmentValue(const std::string& name, const std::string& value) override;
    void FailRun(const std::string& text) override;
    std::string KnownFolderPath(KnownFolder folder) override;
};
