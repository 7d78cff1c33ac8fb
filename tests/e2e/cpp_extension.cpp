// An extension library written in C++ against the authors' header, with
// <windows.h> included and the main window taken as an HWND: the build
// fails if the header's declarations conflict with the platform's types.
#include <windows.h>

#include <type_traits>

#include "bridge/include/velmora_extension.h"

static_assert(std::is_same_v<decltype(&OnMainWindowCreated), VelmoraMainWindowCreatedFunction>);
static_assert(std::is_same_v<VelmoraWindow, HWND>);

namespace {

HWND mainWindow = nullptr;
const char* const componentIds[] = {"cpp.sample", nullptr};

}

const char* const* Init(const char*, const char*, const char*, IWrapperApp* app)
{
    app->SendMessageToPage("{\"from\":\"cpp\"}");
    return componentIds;
}

void OnMainWindowCreated(HWND window)
{
    mainWindow = window;
}

void OnExtensionMessage(const char*)
{
    ShowWindow(mainWindow, SW_SHOW);
}

void Release()
{
    mainWindow = nullptr;
}
