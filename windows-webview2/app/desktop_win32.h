#pragma once

#include "desktop.h"

// IDesktop over the shell, the process environment and a message box.
class Win32Desktop : public IDesktop {
public:
    void OpenWithShell(const std::string& url) override;
    void SetEnvironmentValue(const std::string& name, const std::string& value) override;
    void FailRun(const std::string& text) override;
};
