#pragma once

#include <memory>
#include <string>
#include <vector>

#include "bridge/page_channel.h"
#include "webview/webview_contract.h"

// A "directory-handles" message over the runtime's interfaces: a handle per
// folder from the environment, posted as a collection by the WebView. The
// handles, the collection and the interfaces go with the object. Handles
// are posted only while the WebView still shows a page of the origin.
class FolderHandleMessage : public IFolderHandleMessage {
public:
    FolderHandleMessage(std::shared_ptr<IWebViewEnvironment14> environment14, std::shared_ptr<IWebView23> webView23,
        std::shared_ptr<IWebView> page, std::string pageOrigin);

    void AddFolder(const std::string& path) override;
    void AddEmptySlot() override;
    void Post(const std::string& json) override;
    void PostFollowing(const std::string& json) override;

private:
    void PostWith(const std::string& json, const std::vector<std::shared_ptr<IWebViewObject>>& objects);

    std::shared_ptr<IWebViewEnvironment14> environment;
    std::shared_ptr<IWebView23> webView;
    std::shared_ptr<IWebView> source;
    std::string origin;
    std::vector<std::shared_ptr<IWebViewObject>> slots;
};
