#pragma once

#include <windows.h>

#include <string>

// An ownerless message box with UTF-8 text and caption; the button chosen.
int ShowMessage(const std::string& text, const std::string& caption, UINT flags);
