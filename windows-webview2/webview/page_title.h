#pragma once

#include <string>

// Whether a document title is the one the runtime makes up for a page
// without a title: its URL, whole or without the scheme and "//".
bool IsTitleMadeFromUrl(const std::string& title, const std::string& url);
