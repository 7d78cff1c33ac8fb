#include <cstdio>
#include <exception>

#include "tools/velmora-tool/commands/commands.h"
#include "tools/velmora-tool/commands/served_export.h"

// Answers one request exactly as the host would, from <folder>/www, with
// the settings of <folder>/package.json.
int RunGetCommand(const std::string& exportFolder, const std::string& path, const std::optional<std::string>& range)
{
    try {
        ServedExport served(exportFolder);
        if (!served.bundleProblem.empty())
            std::fprintf(stderr, "Error reading asset bundle: %s\n", served.bundleProblem.c_str());
        ResourceAnswer answer = served.Answer(path, range ? &*range : nullptr);
        std::printf("%d %s\n%s\n\n", answer.status, answer.reason.c_str(), answer.JoinedHeaders().c_str());
        served.WriteBody(answer.body, [](const char* bytes, size_t count) { std::fwrite(bytes, 1, count, stdout); });
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
}
