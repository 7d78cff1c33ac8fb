#pragma once

#include "webview/close_request.h"
#include "window/window_operations.h"
#include "window/window_state.h"

// What the page's messages do to the window: its size, place and full
// screen, and its answers to close requests.
class PageWindowOperations : public IWindowOperations {
public:
    PageWindowOperations(WindowState& state, CloseRequest& request) : windowState(state), closeRequest(request) {}

    void SetFullscreen(bool on) override { windowState.SetFullscreen(on); }
    void SetWindowSize(int32_t width, int32_t height) override { windowState.SetWindowSize(width, height); }
    void SetWindowPosition(int32_t x, int32_t y) override { windowState.SetWindowPosition(x, y); }
    void EnableCloseRequest() override { closeRequest.EnableForPage(); }
    void AnswerCloseRequest(bool close) override { closeRequest.Answer(close); }

private:
    WindowState& windowState;
    CloseRequest& closeRequest;
};
