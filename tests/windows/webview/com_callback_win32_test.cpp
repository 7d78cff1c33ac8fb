#include <gtest/gtest.h>

#include <stdexcept>

#include <WebView2.h>

#include "webview/com_callback_win32.h"

namespace {

using TitleHandler = ICoreWebView2DocumentTitleChangedEventHandler;

Microsoft::WRL::ComPtr<TitleHandler> MakeTitleHandler(std::function<void()> body)
{
    return MakeComCallback<TitleHandler, IID_ICoreWebView2DocumentTitleChangedEventHandler>(
        [body](ICoreWebView2*, IUnknown*) {
            body();
            return S_OK;
        });
}

}

TEST(ComCallback, StartsWithTheOneReferenceItsHolderOwns)
{
    bool destroyed = false;
    struct Flag {
        bool* destroyed;
        ~Flag() { *destroyed = true; }
    };
    auto flag = std::make_shared<Flag>(Flag {&destroyed});
    TitleHandler* raw = nullptr;
    {
        auto handler = MakeTitleHandler([flag] {});
        flag.reset();
        raw = handler.Get();
        raw->AddRef();
        EXPECT_EQ(1u, raw->Release());
    }
    EXPECT_TRUE(destroyed);
}

TEST(ComCallback, RunsItsFunctionAndKeepsExceptionsFromTheCaller)
{
    int calls = 0;
    auto counting = MakeTitleHandler([&calls] { ++calls; });
    EXPECT_EQ(S_OK, counting->Invoke(nullptr, nullptr));
    EXPECT_EQ(1, calls);

    auto throwing = MakeTitleHandler([] { throw std::runtime_error("bad page"); });
    EXPECT_EQ(E_FAIL, throwing->Invoke(nullptr, nullptr));

    Microsoft::WRL::ComPtr<IUnknown> asUnknown;
    EXPECT_EQ(S_OK, counting->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(asUnknown.GetAddressOf())));
    Microsoft::WRL::ComPtr<IUnknown> other;
    EXPECT_EQ(E_NOINTERFACE,
        counting->QueryInterface(IID_ICoreWebView2NavigationStartingEventHandler,
            reinterpret_cast<void**>(other.GetAddressOf())));
}
