#include <gtest/gtest.h>

#include <windows.h>

#include "installer/download_progress_win32.h"

// The URL moniker asks its callback for interfaces as COM's rules allow:
// IUnknown and IBindStatusCallback must come back as this object.
TEST(DownloadProgress, AnswersItsInterfacesAsComRequires)
{
    DownloadProgress progress(nullptr);
    void* object = nullptr;
    EXPECT_EQ(S_OK, progress.QueryInterface(IID_IUnknown, &object));
    EXPECT_EQ(static_cast<IBindStatusCallback*>(&progress), object);
    object = nullptr;
    EXPECT_EQ(S_OK, progress.QueryInterface(IID_IBindStatusCallback, &object));
    EXPECT_EQ(static_cast<IBindStatusCallback*>(&progress), object);
    object = &progress;
    EXPECT_EQ(E_NOINTERFACE, progress.QueryInterface(IID_IStream, &object));
    EXPECT_EQ(nullptr, object);
    EXPECT_EQ(E_POINTER, progress.QueryInterface(IID_IUnknown, nullptr));
    EXPECT_EQ(S_OK, progress.OnProgress(5, 10, BINDSTATUS_DOWNLOADINGDATA, L"")) << "never aborts";
}
