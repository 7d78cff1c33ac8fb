#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "bridge/folder_placeholders.h"

// What the WebView host asks of the rest of the desktop.
class IDesktop : public IKnownFolders {
public:
    virtual ~IDesktop() = default;
    // Opens the URL with the user's default handler for its scheme.
    virtual void OpenWithShell(const std::string& url) = 0;
    virtual void SetEnvironmentValue(const std::string& name, const std::string& value) = 0;
    virtual void RemoveEnvironmentValue(const std::string& name) = 0;
    // One error box captioned with the default title, then the message loop
    // ends and the host exits with code 1.
    virtual void FailRun(const std::string& text) = 0;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    // Asks the player, in a box captioned `title`, whether to reload a page
    // that does not respond or to wait for it; the box goes away by itself,
    // as a wait, once `answered` gives true. True to reload.
    virtual bool AskReloadBusyPage(const std::string& title, const std::function<bool()>& answered) = 0;
};
