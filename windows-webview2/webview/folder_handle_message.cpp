#include "webview/folder_handle_message.h"

#include "webview/origin.h"
#include "webview/webview_error.h"

FolderHandleMessage::FolderHandleMessage(std::shared_ptr<IWebViewEnvironment14> environment14,
    std::shared_ptr<IWebView23> webView23, std::shared_ptr<IWebView> page, std::string pageOrigin)
    : environment(std::move(environment14)), webView(std::move(webView23)), source(std::move(page)),
      origin(std::move(pageOrigin))
{
}

void FolderHandleMessage::AddFolder(const std::string& path)
{
    slots.push_back(environment->CreateReadWriteDirectoryHandle(path));
}

void FolderHandleMessage::AddEmptySlot()
{
    slots.push_back(nullptr);
}

void FolderHandleMessage::Post(const std::string& json)
{
    PostWith(json, slots);
}

void FolderHandleMessage::PostFollowing(const std::string& json)
{
    PostWith(json, {});
}

// The page may have navigated away since it asked; a page of another
// origin must never receive the folders.
void FolderHandleMessage::PostWith(const std::string& json, const std::vector<std::shared_ptr<IWebViewObject>>& objects)
{
    if (!IsWithinOrigin(source->Source(), origin))
        throw WebViewError("the page is not the app's");
    webView->PostWebMessageAsJsonWithAdditionalObjects(json, environment->CreateObjectCollection(objects));
}
