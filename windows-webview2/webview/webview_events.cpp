#include "webview/corvane_webview.h"

#include "webview/origin.h"
#include "webview/shell_url.h"

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
    // The filter admits only the origin; anything else is not ours to answer.
    if (uri.compare(0, origin.size(), origin) != 0)
        return;
    std::optional<std::string> range = args.Header("Range");
    ResourceAnswer answer = AnswerResourceRequest(site, uri.substr(origin.size()), range ? &*range : nullptr);
    std::shared_ptr<IBodyStream> body;
    try {
        body = bodies.Create(answer);
    } catch (const std::exception&) {
        answer = InternalErrorAnswer(answer);
    }
    args.Respond(answer.status, answer.reason, answer.JoinedHeaders(), std::move(body));
}

void CorvaneWebView::OnPermissionRequested(IPermissionRequestedArgs& args)
{
    args.Allow();
}

void CorvaneWebView::OnContainsFullScreenElementChanged()
{
    windowState.SetFullscreen(webView->ContainsFullScreenElement());
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
        bridge.HandleWebMessage(*message);
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
