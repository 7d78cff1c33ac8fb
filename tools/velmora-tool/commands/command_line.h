#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <memory>

// velmora-tool's command line: every command with its arguments and
// options, each described (with its default and an example) for --help.
// Parsing chooses the command to run: `run` is set to it.
std::unique_ptr<CLI::App> MakeCommandLine(std::function<int()>& run);

// Parses argv and runs the chosen command. Exit codes: 0 done (or help,
// --version), 1 the command failed (its reason on standard error), 2 the
// command line is wrong (the option and the reason named).
int RunCommandLine(int argc, char** argv);
