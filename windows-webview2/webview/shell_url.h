#pragma once

#include <string>

// Whether a URL that the page opens in a new window may go to the shell:
// only web and mail links ("http", "https", "mailto", in any case), so that
// no page can start a local file or another program through a registered
// protocol, and never a URL under the host's own virtual origin, which
// loads nowhere else.
bool MayOpenWithShell(const std::string& url);
