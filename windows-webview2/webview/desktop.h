#pragma once

#include <string>

#include "bridge/folder_placeholders.h"

// What the WebView host asks of the rest of the desktop.
class IDesktop : public IKnownFolders {
public:
    virtual ~IDesktop() = default;
    // Opens the URL with the user's default handler for its scheme.
    virtual void OpenWithShell(const std::string& url) = 0;
    virtual void SetEnvironmentValue(const std::string& name, const std::string& value) = 0;
    // One error box captioned with the default title, then the message loop
    // ends and the host exits with code 1.
    virtual void FailRun(const std::string& text) = 0;
};
