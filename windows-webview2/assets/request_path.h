#pragma once

#include <string>

// The text after the origin with its %XX escapes decoded as UTF-8 bytes;
// escaped bytes that are not valid UTF-8 become U+FFFD. A result longer than
// 2047 UTF-16 units gives back the undecoded text, as the platform's
// unescaping into a 2048-unit buffer would.
std::string DecodeRequestPath(const std::string& relative);

// The name a request asks for: the text before any query or fragment,
// decoded, since no file name on Windows can hold "?" (one that belongs to
// a name arrives as "%3F"); a folder (empty, or ending in "/") names its
// "index.html", as static web servers answer it.
std::string RequestPathOf(const std::string& relative);

// Whether a request path may be looked up below the web folder: no ".."
// segment (split on "/" and "\"), no segment ending in a dot or a space
// (but "."), no ":" or NUL, no leading separator.
bool IsSafeDiskPath(const std::string& path);

// Replaces invalid UTF-8 sequences (maximal subparts) by U+FFFD.
std::string RepairUtf8(const std::string& bytes);
