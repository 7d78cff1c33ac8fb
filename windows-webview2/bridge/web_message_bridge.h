#pragma once

#include <string>

#include "window/window_operations.h"

// Runs one message that the page posted (JSON text, UTF-8). Messages that
// are not JSON objects, have an unknown "type" or fail while handled are
// dropped without a word.
void HandleWebMessage(IWindowOperations& window, const std::string& text);
