#include <cstdio>
#include <cstring>
#include <string>

#include "tools/velmora-tool/commands/commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const CommandArgs&);
    const char* usage;
};

const Command Commands[] = {
    {"export", RunExportCommand, ExportUsage},
    {"config", RunConfigCommand, "velmora-tool config <package.json>"},
    {"pack", RunPackCommand, "velmora-tool pack <folder> <assets.dat>"},
    {"ls", RunLsCommand, "velmora-tool ls <assets.dat>"},
    {"get", RunGetCommand, "velmora-tool get <export-folder> <path> [--range <value>]"},
    {"icons", RunIconsCommand, "velmora-tool icons <folder>"},
    {"serve", RunServeCommand, "velmora-tool serve <app-folder | export-folder> [--port N]"},
};

void PrintUsage(std::FILE* to)
{
    const char* lead = "usage: ";
    for (const Command& command : Commands) {
        std::fprintf(to, "%s%s\n", lead, command.usage);
        lead = "       ";
    }
}

const Command* Find(const char* name)
{
    for (const Command& command : Commands)
        if (std::strcmp(command.name, name) == 0)
            return &command;
    return nullptr;
}

}

int main(int argc, char** argv)
{
    if (argc < 2) {
        PrintUsage(stderr);
        return 2;
    }
    std::string first = argv[1];
    if (first == "--help" || first == "-h" || first == "help") {
        PrintUsage(stdout);
        return 0;
    }
    const Command* command = Find(argv[1]);
    if (!command) {
        std::fprintf(stderr, "velmora-tool: unknown command \"%s\"\n", argv[1]);
        PrintUsage(stderr);
        return 2;
    }
    CommandArgs args(argv + 2, argv + argc);
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        std::printf("usage: %s\n", command->usage);
        return 0;
    }
    return command->run(args);
}
