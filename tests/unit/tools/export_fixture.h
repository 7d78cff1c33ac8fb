#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "Quorvel/resource_tree.h"
#include "tests/support/temp_folder.h"

// What the export tests share: an app folder, a folder of stand-in
// programs (the tool is told to take them), and readers of what it wrote.
extern const char* const Package;

// A stand-in host with a manifest, laid out as the linker lays out the host.
std::string HostProgram();
ResourceTree ResourcesOf(const std::string& image);
std::string Utf16(const std::string& ascii);
// Every file (not folder) below a folder, by relative name.
std::set<std::string> FilesIn(const std::string& folder);
std::string Contents(const std::string& path);
// The body of a "get" answer.
std::string Body(const std::string& out);

struct ExportTest : testing::Test {
    void SetUp() override;
    void TearDown() override { unsetenv("VELMORA_PROGRAMS_DIR"); }

    std::string Out(const std::string& name = "out") const { return work.path + "/" + name; }

    TempFolder programs, app, work;
};
