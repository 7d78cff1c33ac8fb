#pragma once

#include <windows.h>

#include <string>

#include <WebView2.h>
#include <wrl/client.h>

// The host's environment options: its browser arguments and the browser
// version it targets; everything else at the SDK's defaults. Answers every
// options interface from the first to the eighth.
Microsoft::WRL::ComPtr<ICoreWebView2EnvironmentOptions> MakeEnvironmentOptions(const std::wstring& browserArguments);

inline constexpr const wchar_t* TargetBrowserVersion = L"134.0.3124.44";
