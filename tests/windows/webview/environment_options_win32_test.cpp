#include <gtest/gtest.h>

#include <objbase.h>

#include "webview/environment_options_win32.h"

using Microsoft::WRL::ComPtr;

namespace {

std::wstring Take(LPWSTR text)
{
    std::wstring value = text ? text : L"";
    CoTaskMemFree(text);
    return value;
}

}

TEST(EnvironmentOptions, AnswersEveryOptionsInterfaceAsOneObject)
{
    ComPtr<ICoreWebView2EnvironmentOptions> options = MakeEnvironmentOptions(L"--mute-audio");
    const IID* ids[] = {&IID_ICoreWebView2EnvironmentOptions, &IID_ICoreWebView2EnvironmentOptions2,
        &IID_ICoreWebView2EnvironmentOptions3, &IID_ICoreWebView2EnvironmentOptions4,
        &IID_ICoreWebView2EnvironmentOptions5, &IID_ICoreWebView2EnvironmentOptions6,
        &IID_ICoreWebView2EnvironmentOptions7, &IID_ICoreWebView2EnvironmentOptions8};
    ComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, options->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.GetAddressOf())));
    for (const IID* id : ids) {
        ComPtr<IUnknown> answered;
        ASSERT_EQ(S_OK, options->QueryInterface(*id, reinterpret_cast<void**>(answered.GetAddressOf())));
        ComPtr<IUnknown> sameObject;
        answered->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(sameObject.GetAddressOf()));
        EXPECT_EQ(identity.Get(), sameObject.Get());
    }
    ComPtr<IUnknown> other;
    EXPECT_EQ(E_NOINTERFACE, options->QueryInterface(IID_IStream, reinterpret_cast<void**>(other.GetAddressOf())));
    EXPECT_EQ(nullptr, other.Get());
}

TEST(EnvironmentOptions, CarriesTheHostsValuesAndTheDefaults)
{
    ComPtr<ICoreWebView2EnvironmentOptions> options = MakeEnvironmentOptions(L"");
    LPWSTR text = nullptr;
    options->get_AdditionalBrowserArguments(&text);
    EXPECT_EQ(L"", Take(text));
    options->get_TargetCompatibleBrowserVersion(&text);
    EXPECT_EQ(L"134.0.3124.44", Take(text));
    options->put_AdditionalBrowserArguments(L"--disable-gpu");
    options->get_AdditionalBrowserArguments(&text);
    EXPECT_EQ(L"--disable-gpu", Take(text));
    text = reinterpret_cast<LPWSTR>(1);
    ASSERT_EQ(S_OK, options->get_Language(&text));
    EXPECT_EQ(nullptr, text) << "no language set reads as null";
    options->put_Language(L"fr-FR");
    options->get_Language(&text);
    EXPECT_EQ(L"fr-FR", Take(text));

    ComPtr<ICoreWebView2EnvironmentOptions5> options5;
    options->QueryInterface(IID_ICoreWebView2EnvironmentOptions5, reinterpret_cast<void**>(options5.GetAddressOf()));
    BOOL trackingPrevention = FALSE;
    options5->get_EnableTrackingPrevention(&trackingPrevention);
    EXPECT_TRUE(trackingPrevention);
    ComPtr<ICoreWebView2EnvironmentOptions7> options7;
    options->QueryInterface(IID_ICoreWebView2EnvironmentOptions7, reinterpret_cast<void**>(options7.GetAddressOf()));
    COREWEBVIEW2_RELEASE_CHANNELS channels {};
    options7->get_ReleaseChannels(&channels);
    EXPECT_EQ(0xF, static_cast<int>(channels));
}
