#pragma once

#include <string>
#include <vector>

// The window and behaviour keys of a "package.json" text whose value the
// host would silently replace by its default (a wrong type, a colour or a
// name it does not know, a number out of range), one sentence each naming
// the key. A text that does not parse gives none: loading reports it.
std::vector<std::string> ConfigWarnings(const std::string& text);
