#include "webview/corvane_webview.h"

#include "webview/origin.h"
#include "webview/page_title.h"
#include "webview/shell_url.h"
#include "webview/webview_messages.h"

namespace {

const uint32_t F12Key = 123;

}

void CorvaneWebView::OnDocumentTitleChanged()
{
    std::string title = webView->DocumentTitle();
    if (IsTitleMadeFromUrl(title, webView->Source()))
        return;
    window.SetTitle(title);
}

void CorvaneWebView::OnNavigationStarting(INavigationStartingArgs& args)
{
    if (!IsWithinOrigin(args.Uri(), origin)) {
        args.Cancel();
        return;
    }
    closeRequest.ForgetPage();
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

// The page asked for it: it is not asked again.
void CorvaneWebView::OnWindowCloseRequested()
{
    closeRequest.CloseNow();
}

void CorvaneWebView::OnNewWindowRequested(INewWindowRequestedArgs& args)
{
    std::string uri = args.Uri();
    args.MarkHandled();
    if (MayOpenWithShell(uri))
        Post([this, uri] { desktop.OpenWithShell(uri); });
}

void CorvaneWebView::OnWebMessageReceived(IWebMessageReceivedArgs& args)
{
    if (!IsWithinOrigin(args.Source(), origin))
        return;
    std::optional<std::string> message = args.MessageAsString();
    if (message)
        bridge.HandleWebMessage(*message);
}

void CorvaneWebView::OnProcessFailed(IProcessFailedArgs& args)
{
    // The session's end takes the runtime's processes down too: the page
    // that was saving will not answer.
    if (sessionEnding) {
        if (closeRequest.AwaitingPage())
            closeRequest.CloseNow();
        return;
    }
    switch (args.Kind()) {
    case IProcessFailedArgs::FailedKind::BrowserProcessExited:
        // Nothing works without it, and a hidden window would wait forever.
        FailAfterCallback(WebViewMessage::RuntimeStopped);
        return;
    case IProcessFailedArgs::FailedKind::RenderProcessExited:
        RecoverPage();
        return;
    case IProcessFailedArgs::FailedKind::RenderProcessUnresponsive:
        // Long script or a busy system: reloading would lose the player's
        // progress, so only the player decides, and only after a while.
        if (busyPage.Report(desktop.Now()) && !failing)
            Post([this] { AskAboutBusyPage(); });
        return;
    case IProcessFailedArgs::FailedKind::Other:
        return;
    }
}

void CorvaneWebView::RecoverPage()
{
    if (failing)
        return;
    if (!pageFailures.Admit(FailureBudget::Clock::now())) {
        FailAfterCallback(WebViewMessage::PageKeepsFailing);
        return;
    }
    // Before the first document there is nothing to reload: the start page
    // is asked for again, so that the window is still shown.
    Post([this] {
        if (!webView)
            return;
        closeRequest.ForgetPage();
        if (shown)
            webView->Reload();
        else
            webView->Navigate(StartUri());
    });
}

void CorvaneWebView::AskAboutBusyPage()
{
    bool reload = desktop.AskReloadBusyPage(config.title, [this] { return busyPage.HasAnswered(desktop.Now()); });
    if (!reload || !webView || failing)
        return;
    busyPage.Forget();
    closeRequest.ForgetPage();
    webView->Reload();
}

// Later documents keep the window as the user left it.
void CorvaneWebView::OnDomContentLoaded()
{
    if (shown)
        return;
    shown = true;
    // A minimised start keeps the WebView hidden, not rendering, until the
    // player restores the window, unless the game runs in the background.
    if (window.LaunchedMinimized()) {
        hiddenWhileMinimized = !config.runInBackground;
        window.ShowMinimized();
        if (config.runInBackground)
            controller->SetIsVisible(true);
        return;
    }
    if (showMaximized)
        window.ShowMaximized();
    else
        window.Show();
    controller->SetIsVisible(true);
    controller->MoveFocusProgrammatic();
}

// F12 arrives going down, repeating and going up; the tools open once.
void CorvaneWebView::OnAcceleratorKeyPressed(IAcceleratorKeyPressedArgs& args)
{
    if (!config.enableDevtools || args.VirtualKey() != F12Key)
        return;
    args.MarkHandled();
    if (args.Kind() == IAcceleratorKeyPressedArgs::KeyEventKind::KeyDown && !args.WasKeyDown())
        webView->OpenDevToolsWindow();
}
