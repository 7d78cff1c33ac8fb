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

// Adds "--name" or "--name=value" (a word of the form) unless the
// arguments set that switch already.
void AddSwitch(std::string& arguments, const std::string& word)
{
    std::string name = word.substr(0, word.find('='));
    if (HasSwitch(arguments, name))
        return;
    if (!arguments.empty())
        arguments += ' ';
    arguments += word;
}

void AddEachSwitch(std::string& arguments, const std::string& words)
{
    const char* const spaces = " \t\r\n";
    for (size_t start = words.find_first_not_of(spaces); start != std::string::npos;) {
        size_t end = std::min(words.find_first_of(spaces, start), words.size());
        AddSwitch(arguments, words.substr(start, end - start));
        start = words.find_first_not_of(spaces, end);
    }
}

}

std::string BrowserArgumentsFor(const AppConfig& config, bool underWine)
{
    std::string arguments = config.chromiumArgs;
    if (config.autoplay)
        AddSwitch(arguments, "--autoplay-policy=no-user-gesture-required");
    // Timers, audio and rendering go on while the window is minimised,
    // covered or inactive.
    if (config.runInBackground)
        AddEachSwitch(arguments, "--disable-background-timer-throttling --disable-renderer-backgrounding "
                                 "--disable-backgrounding-occluded-windows");
    if (config.frameRate == FrameRate::Unlimited)
        AddEachSwitch(arguments, "--disable-gpu-vsync --disable-frame-rate-limit");
    if (config.gpu == GpuPreference::HighPerformance)
        AddSwitch(arguments, "--force_high_performance_gpu");
    if (underWine)
        AddEachSwitch(arguments, config.wineBrowserArguments);
    return arguments;
}

std::string BackgroundColourValue(uint32_t colour)
{
    char text[9];
    std::snprintf(text, sizeof text, "FF%06X", colour & 0xFFFFFFu);
    return text;
}
