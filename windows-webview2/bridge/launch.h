#pragma once

#include <string>
#include <vector>

// What the host was started with, as the page learns it from
// "wrapper-init-response": a game may offer "--windowed", a mod folder or
// a debug switch, and may adapt to Wine or Proton.
struct Launch {
    std::vector<std::string> arguments; // after the program's name, UTF-8, in order
    bool underWine = false;
};

inline const char* PlatformName(const Launch& launch)
{
    return launch.underWine ? "wine" : "windows";
}
