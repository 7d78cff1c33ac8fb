#pragma once

#include <string>

// Whether a URL that the page opens in a new window may go to the shell:
// only an absolute URL with a scheme of two or more characters (one letter
// would be a drive), and never a "file:" URL, which would run or open a
// local file.
bool MayOpenWithShell(const std::string& url);
