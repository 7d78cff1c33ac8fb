#include "corvane_webview.h"

#include "origin.h"
#include "shell_url.h"
#include "web_message_bridge.h"

namespace {

const uint32_t F12Key = 123;

}

void CorvaneWebView::OnDocumentTitleChanged()
{
    window.SetTitle(webView->DocumentTitle());
}

void CorvaneWebView::OnNavigationStarting(INavigationStartingArgs& args)
{
    if (!IsWithinOrigin(args.Uri(), origin))
        args.Cancel();
}

void CorvaneWebView::OnWebResourceRequested(IWebResourceRequestedArgs& args)
{
    std::string uri = args.Uri();
    std::string relativeUri = uri.size() > origin.size() ? uri.substr(origin.size()) : std::string();
    std::optional<std::string> range = args.Header("Range");
    ResourceAnswer answer = AnswerResourceRequest(site, relativeUri, range ? &*range : nullptr);
    args.Respond(answer);
}

void CorvaneWebView::OnPermissionRequested(IPermissionRequestedArgs& args)
{
    args.Allow();
}

void CorvaneWebView::OnContainsFullScreenElementChanged()
{
    SetFullscreen(webView->ContainsFullScreenElement());
}

void CorvaneWebView::OnWindowCloseRequested()
{
    window.Close();
}

void CorvaneWebView::OnNewWindowRequested(INewWindowRequestedArgs& args)
{
    std::string uri = args.Uri();
    if (MayOpenWithShell(uri))
        desktop.OpenWithShell(uri);
    args.MarkHandled();
}

void CorvaneWebView::OnWebMessageReceived(IWebMessageReceivedArgs& args)
{
    if (!IsWithinOrigin(args.Source(), origin))
        return;
    std::optional<std::string> message = args.MessageAsString();
    if (message)
        HandleWebMessage(*this, *message);
}

void CorvaneWebView::OnDomContentLoaded()
{
    window.Show();
    controller->SetIsVisible(true);
    controller->MoveFocusProgrammatic();
}

void CorvaneWebView::OnAcceleratorKeyPressed(IAcceleratorKeyPressedArgs& args)
{
    if (config.enableDevtools && args.VirtualKey() == F12Key)
        webView->OpenDevToolsWindow();
}
