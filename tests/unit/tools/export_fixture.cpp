#include "tests/unit/tools/export_fixture.h"

#include <fstream>
#include <sstream>

#include "Quorvel/pe_layout.h"
#include "tests/support/pe_builder.h"

namespace fs = std::filesystem;

const char* const Package = R"({"name": "My Game", "window": {"title": "Game"}, "export-exclude": ["notes/"],
  "q7-app-icons": [{"src": "icons/16.png", "width": 16, "height": 16},
                   {"src": "icons/256.png", "width": 256, "height": 256},
                   {"src": "icons/48.png", "width": 48, "height": 48}]})";

std::string HostProgram()
{
    ResourceTree tree;
    tree[{ResourceName::Number(24), ResourceName::Number(1), 0x409}] = "<assembly/>";
    return HostLayout([&tree](uint32_t address) { return BuildResourceSection(tree, address); }, true).Build();
}

ResourceTree ResourcesOf(const std::string& image)
{
    return ReadResourceTree(image, ReadPeLayout(image));
}

std::string Utf16(const std::string& ascii)
{
    std::string out;
    for (char c : ascii)
        out += std::string {c, '\0'};
    return out;
}

std::set<std::string> FilesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (!entry.is_directory())
            names.insert(fs::relative(entry.path(), folder).generic_string());
    return names;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Body(const std::string& out)
{
    std::string::size_type blank = out.find("\n\n");
    return blank == std::string::npos ? "" : out.substr(blank + 2);
}

void ExportTest::SetUp()
{
    programs.Write("Velmora.exe", HostProgram());
    programs.Write("Quorvel.exe", "icon updater");
    programs.Write("WebView2Loader.dll", "loader");
    setenv("VELMORA_PROGRAMS_DIR", programs.path.c_str(), 1);
    app.Write("package.json", Package);
    app.Write("index.html", "<title>Game</title>");
    app.Write("js/game.js", "play()");
    app.Write("notes/todo.txt", "left out");
    app.Write("icons/16.png", "16");
    app.Write("icons/256.png", "256");
    app.Write("Tandrel.dll", "extension");
}
