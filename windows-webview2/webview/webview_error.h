#pragma once

#include <stdexcept>

// The WebView2 runtime or its loader refused what the host asked of it.
struct WebViewError : std::runtime_error {
    using std::runtime_error::runtime_error;
};
