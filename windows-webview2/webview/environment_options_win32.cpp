#include "webview/environment_options_win32.h"

#include <objbase.h>

#include "webview/com_reference_win32.h"

namespace {

HRESULT CopyOut(const std::wstring& value, LPWSTR* out)
{
    if (!out)
        return E_POINTER;
    size_t bytes = (value.size() + 1) * sizeof(wchar_t);
    *out = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*out)
        return E_OUTOFMEMORY;
    memcpy(*out, value.c_str(), bytes);
    return S_OK;
}

template <typename Value>
HRESULT GetValue(Value value, Value* out)
{
    if (!out)
        return E_POINTER;
    *out = value;
    return S_OK;
}

class EnvironmentOptions : public ICoreWebView2EnvironmentOptions,
                           public ICoreWebView2EnvironmentOptions2,
                           public ICoreWebView2EnvironmentOptions3,
                           public ICoreWebView2EnvironmentOptions4,
                           public ICoreWebView2EnvironmentOptions5,
                           public ICoreWebView2EnvironmentOptions6,
                           public ICoreWebView2EnvironmentOptions7,
                           public ICoreWebView2EnvironmentOptions8 {
public:
    explicit EnvironmentOptions(std::wstring arguments) : browserArguments(std::move(arguments)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = Find(id);
        if (!*object)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_AdditionalBrowserArguments(LPWSTR* value) override
    {
        return CopyOut(browserArguments, value);
    }
    HRESULT STDMETHODCALLTYPE put_AdditionalBrowserArguments(LPCWSTR value) override
    {
        browserArguments = value ? value : L"";
        return S_OK;
    }
    // No language set reads as null, as the SDK's own options object gives
    // it: the runtime then follows the user's language.
    HRESULT STDMETHODCALLTYPE get_Language(LPWSTR* value) override
    {
        if (language.empty() && value) {
            *value = nullptr;
            return S_OK;
        }
        return CopyOut(language, value);
    }
    HRESULT STDMETHODCALLTYPE put_Language(LPCWSTR value) override
    {
        language = value ? value : L"";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_TargetCompatibleBrowserVersion(LPWSTR* value) override
    {
        return CopyOut(targetVersion, value);
    }
    HRESULT STDMETHODCALLTYPE put_TargetCompatibleBrowserVersion(LPCWSTR value) override
    {
        targetVersion = value ? value : L"";
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AllowSingleSignOnUsingOSPrimaryAccount(BOOL* value) override
    {
        return GetValue(singleSignOn, value);
    }
    HRESULT STDMETHODCALLTYPE put_AllowSingleSignOnUsingOSPrimaryAccount(BOOL value) override
    {
        singleSignOn = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ExclusiveUserDataFolderAccess(BOOL* value) override
    {
        return GetValue(exclusiveUserDataFolderAccess, value);
    }
    HRESULT STDMETHODCALLTYPE put_ExclusiveUserDataFolderAccess(BOOL value) override
    {
        exclusiveUserDataFolderAccess = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_IsCustomCrashReportingEnabled(BOOL* value) override
    {
        return GetValue(customCrashReporting, value);
    }
    HRESULT STDMETHODCALLTYPE put_IsCustomCrashReportingEnabled(BOOL value) override
    {
        customCrashReporting = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCustomSchemeRegistrations(UINT32* count,
        ICoreWebView2CustomSchemeRegistration*** registrations) override
    {
        if (!count || !registrations)
            return E_POINTER;
        *count = 0;
        *registrations = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetCustomSchemeRegistrations(UINT32, ICoreWebView2CustomSchemeRegistration**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_EnableTrackingPrevention(BOOL* value) override
    {
        return GetValue(trackingPrevention, value);
    }
    HRESULT STDMETHODCALLTYPE put_EnableTrackingPrevention(BOOL value) override
    {
        trackingPrevention = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_AreBrowserExtensionsEnabled(BOOL* value) override
    {
        return GetValue(browserExtensions, value);
    }
    HRESULT STDMETHODCALLTYPE put_AreBrowserExtensionsEnabled(BOOL value) override
    {
        browserExtensions = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND* value) override
    {
        return GetValue(channelSearchKind, value);
    }
    HRESULT STDMETHODCALLTYPE put_ChannelSearchKind(COREWEBVIEW2_CHANNEL_SEARCH_KIND value) override
    {
        channelSearchKind = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS* value) override
    {
        return GetValue(releaseChannels, value);
    }
    HRESULT STDMETHODCALLTYPE put_ReleaseChannels(COREWEBVIEW2_RELEASE_CHANNELS value) override
    {
        releaseChannels = value;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE* value) override
    {
        return GetValue(scrollBarStyle, value);
    }
    HRESULT STDMETHODCALLTYPE put_ScrollBarStyle(COREWEBVIEW2_SCROLLBAR_STYLE value) override
    {
        scrollBarStyle = value;
        return S_OK;
    }

private:
    virtual ~EnvironmentOptions() = default;

    void* Find(REFIID id)
    {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions))
            return static_cast<ICoreWebView2EnvironmentOptions*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions2))
            return static_cast<ICoreWebView2EnvironmentOptions2*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions3))
            return static_cast<ICoreWebView2EnvironmentOptions3*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions4))
            return static_cast<ICoreWebView2EnvironmentOptions4*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions5))
            return static_cast<ICoreWebView2EnvironmentOptions5*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions6))
            return static_cast<ICoreWebView2EnvironmentOptions6*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions7))
            return static_cast<ICoreWebView2EnvironmentOptions7*>(this);
        if (IsEqualIID(id, IID_ICoreWebView2EnvironmentOptions8))
            return static_cast<ICoreWebView2EnvironmentOptions8*>(this);
        return nullptr;
    }

    LONG references = 1;
    std::wstring browserArguments;
    std::wstring language;
    std::wstring targetVersion = TargetBrowserVersion;
    BOOL singleSignOn = FALSE;
    BOOL exclusiveUserDataFolderAccess = FALSE;
    BOOL customCrashReporting = FALSE;
    BOOL trackingPrevention = TRUE;
    BOOL browserExtensions = FALSE;
    COREWEBVIEW2_CHANNEL_SEARCH_KIND channelSearchKind = COREWEBVIEW2_CHANNEL_SEARCH_KIND_MOST_STABLE;
    COREWEBVIEW2_RELEASE_CHANNELS releaseChannels = static_cast<COREWEBVIEW2_RELEASE_CHANNELS>(
        COREWEBVIEW2_RELEASE_CHANNELS_STABLE | COREWEBVIEW2_RELEASE_CHANNELS_BETA | COREWEBVIEW2_RELEASE_CHANNELS_DEV
        | COREWEBVIEW2_RELEASE_CHANNELS_CANARY);
    COREWEBVIEW2_SCROLLBAR_STYLE scrollBarStyle = COREWEBVIEW2_SCROLLBAR_STYLE_DEFAULT;
};

}

Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> MakeEnvironmentOptions(const std::wstring& browserArguments)
{
    return AdoptReference<ICoreWebView2EnvironmentOptions>(new EnvironmentOptions(browserArguments));
}
