#include "tools/velmora-tool/shipping/installer_script.h"

#include <algorithm>
#include <set>

#include "common/little_endian.h"
#include "tools/velmora-tool/export/safe_file_name.h"

namespace {

std::string Quoted(const std::string& text)
{
    return "\"" + NsisLiteral(text) + "\"";
}

// A path below one of NSIS's folder variables ("$INSTDIR", "$SMPROGRAMS").
std::string Below(const char* variable, const std::string& relative)
{
    return "\"" + std::string(variable) + (relative.empty() ? "" : "\\" + NsisLiteral(relative)) + "\"";
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
std::vector<std::string> FoldersOf(const std::vector<InstalledFile>& files)
{
    std::set<std::string> folders;
    for (const InstalledFile& file : files) {
        for (size_t slash = file.name.find('/'); slash != std::string::npos; slash = file.name.find('/', slash + 1))
            folders.insert(file.name.substr(0, slash));
    }
    std::vector<std::string> deepestFirst(folders.rbegin(), folders.rend());
    return deepestFirst;
}

std::string FileCommands(const std::vector<InstalledFile>& files)
{
    std::string script;
    std::string folder = "-";
    bool compressing = true;
    for (const InstalledFile& file : files) {
        std::string::size_type slash = file.name.rfind('/');
        std::string here = slash == std::string::npos ? "" : file.name.substr(0, slash);
        if (here != folder) {
            script += "  SetOutPath " + Below("$INSTDIR", Windows(here)) + "\n";
            folder = here;
        }
        if (file.compress != compressing) {
            script += file.compress ? "  SetCompress auto\n" : "  SetCompress off\n";
            compressing = file.compress;
        }
        script += "  File " + Quoted("/oname=" + file.name.substr(slash + 1)) + " \"" + file.source + "\"\n";
    }
    return script + (compressing ? "" : "  SetCompress auto\n");
}

std::string InstallSection(const InstallerFacts& facts, const std::string& uninstallKey)
{
    std::string script = "Section " + Quoted("!" + facts.title) + " Main\n  SectionIn RO\n" + FileCommands(facts.files);
    std::string program = Below("$INSTDIR", facts.executableName);
    script += "  SetOutPath \"$INSTDIR\"\n"
              "  WriteUninstaller \"$INSTDIR\\Uninstall.exe\"\n"
              "  CreateShortcut " + Below("$SMPROGRAMS", facts.shortcutName + ".lnk") + " " + program + "\n";
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
    for (const InstalledFile& file : facts.files)
        script += "  Delete " + Below("$INSTDIR", Windows(file.name)) + "\n";
    for (const std::string& folder : FoldersOf(facts.files))
        script += "  RMDir " + Below("$INSTDIR", Windows(folder)) + "\n";
    script += "  Delete \"$INSTDIR\\Uninstall.exe\"\n"
              "  RMDir \"$INSTDIR\"\n"
              "  Delete " + Below("$SMPROGRAMS", facts.shortcutName + ".lnk") + "\n"
              "  Delete " + Below("$DESKTOP", facts.shortcutName + ".lnk") + "\n"
              "  DeleteRegKey HKCU " + Quoted("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + uninstallKey)
        + "\n";
    // The player's saves stay unless asked for; a silent uninstall keeps
    // them unless given /REMOVEDATA. Only a folder the host marked as its
    // own is removed.
    std::string dataFolder = Below("$LOCALAPPDATA", facts.appName);
    script += "  ${GetParameters} $0\n"
              "  ClearErrors\n"
              "  ${GetOptions} $0 \"/REMOVEDATA\" $1\n"
              "  IfErrors 0 remove_data\n"
              "  MessageBox MB_YESNO|MB_DEFBUTTON2 " + Quoted("Also remove your saved data for " + facts.title + "?")
        + " /SD IDNO IDYES remove_data\n"
              "  Goto done\n"
              "  remove_data:\n"
              "  IfFileExists " + Below("$LOCALAPPDATA", facts.appName + "\\" + UserDataMark) + " 0 done\n"
              "  RMDir /r " + dataFolder + "\n"
              "  done:\n"
              "SectionEnd\n";
    return script;
}

}

std::string NsisLiteral(const std::string& text)
{
    std::string literal;
    for (char c : text) {
        switch (c) {
        case '$':
            // "${U+24}" is expanded by the preprocessor after it has looked
            // for defines ("${") and environment values ("$%"); twice, it
            // leaves "$$", which the installer reads as one "$".
            literal += "${U+24}${U+24}";
            break;
        case '"':
            literal += "$\\\"";
            break;
        case '\n':
            literal += "$\\n";
            break;
        case '\r':
            literal += "$\\r";
            break;
        case '\t':
            literal += "$\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                literal += "${U+" + std::string(1, "0123456789ABCDEF"[(c >> 4) & 15]) + "0123456789ABCDEF"[c & 15] + "}";
            else
                literal += c;
        }
    }
    return literal;
}

std::string ShortcutNameFor(const std::string& title)
{
    std::string name = SafeExecutableName(title);
    return name.substr(0, name.size() - 4);
}

std::string InstallerScript(const InstallerFacts& facts)
{
    std::string uninstallKey = facts.executableName.substr(0, facts.executableName.size() - 4);
    // Compression is chosen file by file (FileCommands): game data is
    // compressed already, and solid LZMA over it takes minutes to gain
    // nothing.
    std::string script = "Unicode true\n"
                         "Target amd64-unicode\n"
                         "SetCompressor /FINAL lzma\n"
                         "SetDateSave off\n"
                         "RequestExecutionLevel user\n"
                         "!include FileFunc.nsh\n"
                         "Name " + Quoted(facts.title) + "\n"
                         "OutFile \"" + facts.outFile + "\"\n"
                         "InstallDir " + Below("$LOCALAPPDATA", "Programs\\" + facts.appName) + "\n";
    if (!facts.iconFile.empty())
        script += "Icon \"" + facts.iconFile + "\"\nUninstallIcon \"" + facts.iconFile + "\"\n";
    script += "VIProductVersion " + Quoted(VersionText(facts.version)) + "\n";
    for (const auto& [name, value] : facts.version.strings) {
        if (name == "OriginalFilename")
            continue;
        std::string text = name == "FileDescription" ? value + " Setup" : value;
        script += "VIAddVersionKey /LANG=1033 " + Quoted(name) + " " + Quoted(text) + "\n";
    }
    script += "Page components\nPage directory\nPage instfiles\nUninstPage uninstConfirm\nUninstPage instfiles\n\n";
    script += InstallSection(facts, uninstallKey);
    script += "Section /o \"Desktop shortcut\" Desktop\n  CreateShortcut " + Below("$DESKTOP", facts.shortcutName + ".lnk")
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
