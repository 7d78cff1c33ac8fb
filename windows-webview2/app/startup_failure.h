#pragma once

#include <stdexcept>
#include <string>

// A start-up failure that ends the host: one error box, then exit code 1.
struct StartupFailure : std::runtime_error {
    StartupFailure(const std::string& text, const std::string& boxCaption) : std::runtime_error(text), caption(boxCaption) {}
    std::string caption;
};
