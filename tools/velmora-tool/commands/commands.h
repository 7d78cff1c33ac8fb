#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The commands, each with its arguments parsed (command_line.cpp); each
// returns the process exit code.

struct ExportOptions {
    std::string appFolder;
    std::string outFolder;
    bool replace = false;
    bool loose = false;
    std::optional<std::string> zipFile;
    std::optional<std::string> certificate; // --sign
    std::string passwordFile;
    std::string timestampUrl;
    bool installer = false;
};

int RunExportCommand(const ExportOptions& options);
int RunConfigCommand(const std::string& packageJson);
int RunPackCommand(const std::string& folder, const std::string& bundle);
int RunLsCommand(const std::string& bundle);
int RunGetCommand(const std::string& exportFolder, const std::string& path, const std::optional<std::string>& range);
int RunIconsCommand(const std::string& folder);
int RunServeCommand(const std::string& folder, uint16_t port);
