#pragma once

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include "window/main_window.h"

// IMainWindow over the real main window.
class MainWindowWin32 : public IMainWindow {
public:
    explicit MainWindowWin32(HWND handle) : window(handle) {}

    NativeWindow Handle() override;
    WindowRect ClientRect() override;
    WindowRect Rect() override;
    WindowRect MonitorRect() override;
    uint32_t Style() override;
    uint32_t ExStyle() override;
    void SetStyles(uint32_t style, uint32_t exStyle) override;
    void Place(const WindowRect& rect) override;
    void Resize(int32_t width, int32_t height) override;
    void Move(int32_t x, int32_t y) override;
    OuterSize OuterSizeForClient(int32_t width, int32_t height, uint32_t style, uint32_t exStyle) override;
    int32_t ScaleForDpi(int32_t value) override;
    void MarkFullscreen(bool on) override;
    void SetTitle(const std::string& title) override;
    void Show() override;
    void ShowMaximized() override;
    bool LaunchedMinimized() override;
    void ShowMinimized() override;
    void Close() override;
    WindowPlacement Placement() override;
    void RestorePlacement(const WindowPlacement& placement) override;
    void PostWork() override;
    void StartCloseTimer(uint32_t milliseconds) override;
    void StopCloseTimer() override;

private:
    HWND window;
    // Created on first use; a failed creation is tried again next time.
    Microsoft::WRL::ComPtr<ITaskbarList2> taskbarList;
};
