#include "webview/browser_arguments.h"

#include <cstdio>
#include <sstream>

namespace {

// Whether the arguments set a switch: "--name" alone or "--name=value".
bool HasSwitch(const std::string& arguments, const std::string& name)
{
    std::istringstream words(arguments);
    std::string word;
    while (words >> word) {
        if (word.compare(0, name.size(), name) == 0 && (word.size() == name.size() || word[name.size()] == '='))
            return true;
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
