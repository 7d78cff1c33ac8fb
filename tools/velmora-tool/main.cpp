#include <cstdio>
#include <map>

#include "tools/velmora-tool/commands.h"

namespace {

using Command = int (*)(const CommandArgs&);

const std::map<std::string, Command> Commands = {
    {"config", RunConfigCommand},
    {"pack", RunPackCommand},
    {"ls", RunLsCommand},
    {"get", RunGetCommand},
    {"icons", RunIconsCommand},
};

int Usage()
{
    std::fputs("usage: velmora-tool config <package.json>\n"
               "       velmora-tool pack <folder> <assets.dat>\n"
               "       velmora-tool ls <assets.dat>\n"
               "       velmora-tool get <export-folder> <path> [--range <value>]\n"
               "       velmora-tool icons <folder>\n",
        stderr);
    return 2;
}

}

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    auto command = Commands.find(argv[1]);
    if (command == Commands.end())
        return Usage();
    return command->second(CommandArgs(argv + 2, argv + argc));
}
