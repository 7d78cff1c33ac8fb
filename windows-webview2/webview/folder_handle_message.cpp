#include "webview/folder_handle_message.h"

FolderHandleMessage::FolderHandleMessage(std::shared_ptr<IWebViewEnvironment14> environment14,
    std::shared_ptr<IWebView23> webView23)
    : environment(std::move(environment14)), webView(std::move(webView23))
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
    webView->PostWebMessageAsJsonWithAdditionalObjects(json, environment->CreateObjectCollection(slots));
}
