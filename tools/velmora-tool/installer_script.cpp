#include "tools/velmora-tool/installer_script.h"

#include <algorithm>
#include <set>

#include "common/little_endian.h"

namespace {

// Text as NSIS reads it between double quotes: "$" would start a variable.
std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (char c : text) {
        if (c == '$')
            escaped += "$$";
        else if (c == '"')
            escaped += "$\\\"";
        else
            escaped += c;
    }
    return escaped;
}

std::string Quoted(const std::string& text)
{
    return "\"" + Escaped(text) + "\"";
}

// A path below one of NSIS's folder variables ("$INSTDIR", "$SMPROGRAMS").
std::string Below(const char* variable, const std::string& relative)
{
    return "\"" + std::string(variable) + (relative.empty() ? "" : "\\" + Escaped(relative)) + "\"";
}

std::string Windows(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string VersionText(const VersionFields& version)
{
    return std::to_string(version.version[0]) + "." + std::to_string(version.version[1]) + "."
        + std::to_string(version.version[2]) + "." + std::to_string(version.version[3]);
}

std::string Field(const VersionFields& version, const std::string& key)
{
    for (const auto& [name, value] : version.strings) {
        if (name == key)
            return value;
    }
    return {};
}

// Every folder below the install folder that holds an installed file,
// deepest first, so that each is empty when it is removed.
std::vector<std::string> FoldersOf(const std::vector<std::string>& files)
{
    std::set<std::string> folders;
    for (const std::string& file : files) {
        for (size_t slash = file.find('/'); slash != std::string::npos; slash = file.find('/', slash + 1))
            folders.insert(file.substr(0, slash));
    }
    std::vector<std::string> deepestFirst(folders.rbegin(), folders.rend());
    return deepestFirst;
}

std::string InstallSection(const InstallerFacts& facts, const std::string& uninstallKey)
{
    std::string script = "Section " + Quoted("!" + facts.title) + " Main\n  SectionIn RO\n";
    std::string folder = "-";
    for (const std::string& file : facts.files) {
        std::string::size_type slash = file.rfind('/');
        std::string here = slash == std::string::npos ? "" : file.substr(0, slash);
        if (here != folder) {
            script += "  SetOutPath " + Below("$INSTDIR", Windows(here)) + "\n";
            folder = here;
        }
        script += "  File " + Quoted(facts.sourceFolder + "/" + file) + "\n";
    }
    std::string program = Below("$INSTDIR", facts.executableName);
    script += "  SetOutPath \"$INSTDIR\"\n"
              "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n"
              "  CreateShortcut " + Below("$SMPROGRAMS", facts.title + ".lnk") + " " + program + "\n";
    std::string key = Quoted("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + uninstallKey);
    // Values already in NSIS's form: literal text quoted, or variables.
    std::vector<std::pair<std::string, std::string>> values = {
        {"DisplayName", Quoted(facts.title)},
        {"DisplayIcon", program},
        {"DisplayVersion", Quoted(Field(facts.version, "ProductVersion"))},
        {"Publisher", Quoted(Field(facts.version, "CompanyName"))},
        {"InstallLocation", "\"$INSTDIR\""},
        {"UninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\"\""},
        {"QuietUninstallString", "\"$\\\"$INSTDIR\\Uninstall.exe$\\\" /S\""},
    };
    for (const auto& [name, value] : values)
        script += "  WriteRegStr HKCU " + key + " " + Quoted(name) + " " + value + "\n";
    script += "  WriteRegDWORD HKCU " + key + " \"NoModify\" 1\n  WriteRegDWORD HKCU " + key + " \"NoRepair\" 1\n";
    return script + "SectionEnd\n\n";
}

std::string UninstallSection(const InstallerFacts& facts, const std::string& uninstallKey)
{
    std::string script = "Section \"Uninstall\"\n";
    for (const std::string& file : facts.files)
        script += "  Delete " + Below("$INSTDIR", Windows(file)) + "\n";
    for (const std::string& folder : FoldersOf(facts.files))
        script += "  RMDir " + Below("$INSTDIR", Windows(folder)) + "\n";
    script += "  Delete \"$INSTDIR\\Uninstall.exe\"\n"
              "  RMDir \"$INSTDIR\"\n"
              "  Delete " + Below("$SMPROGRAMS", facts.title + ".lnk") + "\n"
              "  Delete " + Below("$DESKTOP", facts.title + ".lnk") + "\n"
              "  DeleteRegKey HKCU " + Quoted("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + uninstallKey)
        + "\n";
    // The player's saves stay unless asked for; a silent uninstall keeps
    // them unless given /REMOVEDATA.
    script += "  ${GetParameters} $0\n"
              "  ClearErrors\n"
              "  ${GetOptions} $0 \"/REMOVEDATA\" $1\n"
              "  IfErrors 0 remove_data\n"
              "  MessageBox MB_YESNO|MB_DEFBUTTON2 " + Quoted("Also remove your saved data for " + facts.title + "?")
        + " /SD IDNO IDYES remove_data\n"
              "  Goto done\n"
              "  remove_data:\n"
              "  RMDir /r " + Below("$LOCALAPPDATA", facts.appName) + "\n"
              "  done:\n"
              "SectionEnd\n";
    return script;
}

}

std::string InstallerScript(const InstallerFacts& facts)
{
    std::string uninstallKey = facts.executableName.substr(0, facts.executableName.size() - 4);
    std::string script = "Unicode true\n"
                         "Target amd64-unicode\n"
                         "SetCompressor /SOLID lzma\n"
                         "SetDateSave off\n"
                         "RequestExecutionLevel user\n"
                         "!include FileFunc.nsh\n"
                         "Name " + Quoted(facts.title) + "\n"
                         "OutFile " + Quoted(facts.outFile) + "\n"
                         "InstallDir " + Below("$LOCALAPPDATA", "Programs\\" + facts.appName) + "\n";
    if (!facts.iconFile.empty())
        script += "Icon " + Quoted(facts.iconFile) + "\nUninstallIcon " + Quoted(facts.iconFile) + "\n";
    script += "VIProductVersion " + Quoted(VersionText(facts.version)) + "\n";
    for (const auto& [name, value] : facts.version.strings) {
        if (name == "OriginalFilename")
            continue;
        std::string text = name == "FileDescription" ? value + " Setup" : value;
        script += "VIAddVersionKey /LANG=1033 " + Quoted(name) + " " + Quoted(text) + "\n";
    }
    script += "Page components\nPage directory\nPage instfiles\nUninstPage uninstConfirm\nUninstPage instfiles\n\n";
    script += InstallSection(facts, uninstallKey);
    script += "Section /o \"Desktop shortcut\" Desktop\n  CreateShortcut " + Below("$DESKTOP", facts.title + ".lnk")
        + " " + Below("$INSTDIR", facts.executableName) + "\nSectionEnd\n\n";
    return script + UninstallSection(facts, uninstallKey);
}

std::string IcoFile(const std::vector<std::pair<int32_t, std::string>>& images)
{
    std::string ico;
    AppendLittleEndian(ico, 0, 2);
    AppendLittleEndian(ico, 1, 2); // an icon
    AppendLittleEndian(ico, static_cast<uint32_t>(images.size()), 2);
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const auto& [size, bytes] : images) {
        // 256 is written as 0 in the one-byte fields.
        ico += static_cast<char>(size >= 256 ? 0 : size);
        ico += static_cast<char>(size >= 256 ? 0 : size);
        AppendLittleEndian(ico, 0, 2); // no palette, reserved
        AppendLittleEndian(ico, 1, 2); // planes
        AppendLittleEndian(ico, 32, 2); // bits per pixel
        AppendLittleEndian(ico, static_cast<uint32_t>(bytes.size()), 4);
        AppendLittleEndian(ico, offset, 4);
        offset += static_cast<uint32_t>(bytes.size());
    }
    for (const auto& image : images)
        ico += image.second;
    return ico;
}
