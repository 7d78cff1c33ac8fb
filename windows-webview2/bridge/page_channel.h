#pragma once

#include <memory>
#include <string>

// One message to the page with read-write directory handles beside it, in
// the order they were added.
class IFolderHandleMessage {
public:
    virtual ~IFolderHandleMessage() = default;
    // A handle to the folder; the slot stays empty when the runtime refuses.
    virtual void AddFolder(const std::string& path) = 0;
    virtual void AddEmptySlot() = 0;
    // Posts the JSON text with every slot; throws when the slots cannot be
    // gathered for the runtime, or when the page is no longer the app's.
    virtual void Post(const std::string& json) = 0;
    // Posts a further message, without objects, by the same way as the
    // handles, so that the page receives it after them.
    virtual void PostFollowing(const std::string& json) = 0;
};

// What the bridge asks of the WebView: posting to the page.
class IPageChannel {
public:
    virtual ~IPageChannel() = default;
    // The page receives the JSON text parsed, as a web message's data.
    virtual void PostJsonToPage(const std::string& json) = 0;
    // Null when the runtime cannot hand the page directory handles.
    virtual std::unique_ptr<IFolderHandleMessage> StartFolderHandleMessage() = 0;
};
