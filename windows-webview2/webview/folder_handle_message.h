#pragma once

#include <memory>
#include <vector>

#include "bridge/page_channel.h"
#include "webview/webview_contract.h"

// A "directory-handles" message over the runtime's interfaces: a handle per
// folder from the environment, posted as a collection by the WebView. The
// handles, the collection and both interfaces go with the object.
class FolderHandleMessage : public IFolderHandleMessage {
public:
    FolderHandleMessage(std::shared_ptr<IWebViewEnvironment14> environment14, std::shared_ptr<IWebView23> webView23);

    void AddFolder(const std::string& path) override;
    void AddEmptySlot() override;
    void Post(const std::string& json) override;

private:
    std::shared_ptr<IWebViewEnvironment14> environment;
    std::shared_ptr<IWebView23> webView;
    std::vector<std::shared_ptr<IWebViewObject>> slots;
};
