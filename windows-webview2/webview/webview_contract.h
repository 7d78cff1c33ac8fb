#pragma once

// Everything the host asks of the WebView2 runtime, in plain C++. The SDK
// adapter implements it over the runtime's COM interfaces; a test double
// implements it for native tests. Text is UTF-8; a shared_ptr stands for a
// counted reference and is null where the runtime gives no object. The
// adapter throws WebViewError when the runtime refuses a handler or the
// request filter.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assets/body_streams.h"
#include "window/native_window.h"
#include "window/window_rect.h"

class INavigationStartingArgs {
public:
    virtual ~INavigationStartingArgs() = default;
    virtual std::string Uri() = 0;
    virtual void Cancel() = 0;
};

class INewWindowRequestedArgs {
public:
    virtual ~INewWindowRequestedArgs() = default;
    virtual std::string Uri() = 0;
    virtual void MarkHandled() = 0;
};

class IPermissionRequestedArgs {
public:
    virtual ~IPermissionRequestedArgs() = default;
    virtual void Allow() = 0;
};

// The runtime raises AcceleratorKeyPressed for a key going down, for each
// auto-repeat while it is held (down, with WasKeyDown), and going up.
class IAcceleratorKeyPressedArgs {
public:
    enum class KeyEventKind { KeyDown, KeyUp, SystemKeyDown, SystemKeyUp };
    virtual ~IAcceleratorKeyPressedArgs() = default;
    virtual uint32_t VirtualKey() = 0;
    virtual KeyEventKind Kind() = 0;
    virtual bool WasKeyDown() = 0;
    // The page does not see the key.
    virtual void MarkHandled() = 0;
};

// A process of the runtime failed. The host acts on the browser process
// and the page's renderer; the runtime itself recovers from the others.
class IProcessFailedArgs {
public:
    enum class FailedKind { BrowserProcessExited, RenderProcessExited, RenderProcessUnresponsive, Other };
    virtual ~IProcessFailedArgs() = default;
    virtual FailedKind Kind() = 0;
};

class IWebMessageReceivedArgs {
public:
    virtual ~IWebMessageReceivedArgs() = default;
    // The URL of the page that posted the message.
    virtual std::string Source() = 0;
    // The message when the page posted a string; none otherwise.
    virtual std::optional<std::string> MessageAsString() = 0;
};

class IWebResourceRequestedArgs {
public:
    virtual ~IWebResourceRequestedArgs() = default;
    virtual std::string Uri() = 0;
    // The request header's value, or none when the request lacks it.
    virtual std::optional<std::string> Header(const std::string& name) = 0;
    // Hands the runtime the answer: status, reason, headers joined by line
    // feeds, and the body (null for none) made by the platform's IBodyStreams.
    virtual void Respond(int status, const std::string& reason, const std::string& headers,
        std::shared_ptr<IBodyStream> body) = 0;
};

template <typename Args>
using WebViewEvent = std::function<void(Args&)>;
using WebViewNotification = std::function<void()>;

class IWebViewSettings3 {
public:
    virtual ~IWebViewSettings3() = default;
    virtual void SetAreBrowserAcceleratorKeysEnabled(bool enabled) = 0;
};

class IWebViewSettings {
public:
    virtual ~IWebViewSettings() = default;
    virtual void SetIsScriptEnabled(bool enabled) = 0;
    virtual void SetAreHostObjectsAllowed(bool allowed) = 0;
    virtual void SetAreDefaultScriptDialogsEnabled(bool enabled) = 0;
    virtual void SetIsWebMessageEnabled(bool enabled) = 0;
    virtual void SetIsZoomControlEnabled(bool enabled) = 0;
    virtual void SetAreDefaultContextMenusEnabled(bool enabled) = 0;
    virtual void SetAreDevToolsEnabled(bool enabled) = 0;
    virtual std::shared_ptr<IWebViewSettings3> QuerySettings3() = 0;
};

// A runtime object that travels to the page beside a message (a directory
// handle), and a list of them; the host only holds and passes them.
class IWebViewObject {
public:
    virtual ~IWebViewObject() = default;
};

class IWebViewObjectCollection {
public:
    virtual ~IWebViewObjectCollection() = default;
};

// The runtime's ICoreWebView2Environment14 part that the host uses.
class IWebViewEnvironment14 {
public:
    virtual ~IWebViewEnvironment14() = default;
    // A read-write web file-system handle to the folder; null when refused.
    virtual std::shared_ptr<IWebViewObject> CreateReadWriteDirectoryHandle(const std::string& path) = 0;
    // The objects in order, null ones as empty entries; throws WebViewError
    // when the runtime cannot make the collection.
    virtual std::shared_ptr<IWebViewObjectCollection> CreateObjectCollection(
        const std::vector<std::shared_ptr<IWebViewObject>>& objects) = 0;
};

// The runtime's ICoreWebView2_23 part that the host uses.
class IWebView23 {
public:
    virtual ~IWebView23() = default;
    virtual void PostWebMessageAsJsonWithAdditionalObjects(const std::string& json,
        const std::shared_ptr<IWebViewObjectCollection>& objects) = 0;
};

// The runtime's ICoreWebView2_22 part that the host uses.
class IWebView22 {
public:
    virtual ~IWebView22() = default;
    // Every resource context and every request source: documents, and
    // dedicated, shared and service workers.
    virtual void AddWebResourceRequestedFilterWithRequestSourceKinds(const std::string& uriPattern) = 0;
};

// The runtime's ICoreWebView2_2 part that the host uses.
class IWebView2 {
public:
    virtual ~IWebView2() = default;
    virtual void AddDomContentLoaded(WebViewNotification handler) = 0;
};

class IWebView {
public:
    virtual ~IWebView() = default;
    virtual std::shared_ptr<IWebViewSettings> Settings() = 0;
    virtual void Navigate(const std::string& uri) = 0;
    virtual void Reload() = 0;
    // The URL of the current top-level document.
    virtual std::string Source() = 0;
    // Every resource context, documents' requests only.
    virtual void AddWebResourceRequestedFilter(const std::string& uriPattern) = 0;
    virtual void AddNavigationStarting(WebViewEvent<INavigationStartingArgs> handler) = 0;
    virtual void AddWebResourceRequested(WebViewEvent<IWebResourceRequestedArgs> handler) = 0;
    virtual void AddPermissionRequested(WebViewEvent<IPermissionRequestedArgs> handler) = 0;
    virtual void AddWebMessageReceived(WebViewEvent<IWebMessageReceivedArgs> handler) = 0;
    virtual void AddNewWindowRequested(WebViewEvent<INewWindowRequestedArgs> handler) = 0;
    virtual void AddDocumentTitleChanged(WebViewNotification handler) = 0;
    virtual void AddContainsFullScreenElementChanged(WebViewNotification handler) = 0;
    virtual void AddWindowCloseRequested(WebViewNotification handler) = 0;
    virtual void AddProcessFailed(WebViewEvent<IProcessFailedArgs> handler) = 0;
    virtual std::string DocumentTitle() = 0;
    virtual bool ContainsFullScreenElement() = 0;
    virtual void OpenDevToolsWindow() = 0;
    virtual void PostWebMessageAsJson(const std::string& json) = 0;
    virtual std::shared_ptr<IWebView2> QueryWebView2() = 0;
    virtual std::shared_ptr<IWebView22> QueryWebView22() = 0;
    virtual std::shared_ptr<IWebView23> QueryWebView23() = 0;
};

class IWebViewController {
public:
    virtual ~IWebViewController() = default;
    virtual std::shared_ptr<IWebView> WebView() = 0;
    virtual void SetBounds(const WindowRect& bounds) = 0;
    virtual void SetIsVisible(bool visible) = 0;
    virtual void MoveFocusProgrammatic() = 0;
    virtual void NotifyParentWindowPositionChanged() = 0;
    // An opaque 0xRRGGBB under the page; a runtime without the controller's
    // second interface keeps white.
    virtual void SetDefaultBackgroundColor(uint32_t colour) = 0;
    virtual void AddAcceleratorKeyPressed(WebViewEvent<IAcceleratorKeyPressedArgs> handler) = 0;
    // Ends the WebView's browser process side before the last reference goes.
    virtual void Close() = 0;
};

// Completion of an asynchronous creation: whether the runtime reported
// success, and the object (null when none came back).
template <typename Object>
using WebViewCompletion = std::function<void(bool succeeded, std::shared_ptr<Object> object)>;

class IWebViewEnvironment {
public:
    virtual ~IWebViewEnvironment() = default;
    virtual void CreateController(NativeWindow parent, WebViewCompletion<IWebViewController> completed) = 0;
    virtual std::shared_ptr<IWebViewEnvironment14> QueryEnvironment14() = 0;
};

// The loader library's two functions.
class IWebViewLoader {
public:
    virtual ~IWebViewLoader() = default;
    // Whether a runtime answers with its version, in browserFolder when
    // given (fixed distribution) or installed (evergreen).
    virtual bool HasBrowserVersion(const std::optional<std::string>& browserFolder) = 0;
    // Starts environment creation with the host's options object (these
    // browser arguments, the host's target browser version).
    virtual void CreateEnvironment(const std::optional<std::string>& browserFolder, const std::string& userDataFolder,
        const std::string& additionalBrowserArguments, WebViewCompletion<IWebViewEnvironment> completed) = 0;
};
