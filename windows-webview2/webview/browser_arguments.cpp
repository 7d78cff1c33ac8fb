#include "webview/browser_arguments.h"

#include <algorithm>
#include <cstdio>

namespace {

// Whether the arguments set a switch: "--name" alone or "--name=value".
bool HasSwitch(const std::string& arguments, const std::string& name)
{
    const char* const spaces = " \t\r\n";
    size_t start = arguments.find_first_not_of(spaces);
    while (start != std::string::npos) {
        size_t end = std::min(arguments.find_first_of(spaces, start), arguments.size());
        std::string word = arguments.substr(start, end - start);
        if (word.compare(0, name.size(), name) == 0 && (word.size() == name.size() || word[name.size()] == '='))
            return true;
        start = arguments.find_first_not_of(spaces, end);
    }
    return false;
}

void AddSwitch(std::string& arguments, const std::string& name, const std::string& value)
{
    if (HasSwitch(arguments, name))
        return;
    if (!arguments.empty())
        arguments += ' ';
    arguments += name + "=" + value;
}

}

std::string BrowserArgumentsFor(const AppConfig& config)
{
    std::string arguments = config.chromiumArgs;
    if (config.autoplay)
        AddSwitch(arguments, "--autoplay-policy", "no-user-gesture-required");
    return arguments;
}

std::string BackgroundColourValue(uint32_t colour)
{
    char text[9];
    std::snprintf(text, sizeof text, "FF%06X", colour & 0xFFFFFFu);
    return text;
}
