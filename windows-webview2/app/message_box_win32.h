#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

// An ownerless message box with UTF-8 text and caption.
void ShowMessage(const std::string& text, const std::string& caption, UINT flags);

// A start-up failure that ends the host: one error box, then exit code 1.
struct StartupFailure : std::runtime_error {
    StartupFailure(const std::string& text, const std::string& caption) : std::runtime_error(text), caption(caption) {}
    std::string caption;
};
