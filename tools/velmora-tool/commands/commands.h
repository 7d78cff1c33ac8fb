#pragma once

#include <string>
#include <vector>

// Each command takes its own arguments (after the command name) and
// returns the process exit code.
using CommandArgs = std::vector<std::string>;

int RunConfigCommand(const CommandArgs& args);
int RunPackCommand(const CommandArgs& args);
int RunLsCommand(const CommandArgs& args);
int RunGetCommand(const CommandArgs& args);
int RunIconsCommand(const CommandArgs& args);
int RunExportCommand(const CommandArgs& args);
int RunServeCommand(const CommandArgs& args);

inline constexpr const char* ExportUsage =
    "velmora-tool export <app-folder> <out-folder> [--replace] [--loose] [--zip <file>] [--installer]\n"
    "  [--sign <certificate.pfx> [--sign-password-file <file>] [--timestamp-url <url>]]";
