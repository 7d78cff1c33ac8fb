#include "tools/velmora-tool/commands/command_line.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "tools/velmora-tool/commands/commands.h"

namespace {

// What the options are parsed into; owned by the commands' callbacks, so
// that it lives as long as the command line that writes into it.
struct Values {
    ExportOptions exportOptions;
    std::string first;
    std::string second;
    std::optional<std::string> range;
    uint16_t port = 0;
};

// A value that is another option is a missing value ("--zip --replace"),
// never a file named like an option.
CLI::Validator NotAnOption(const std::string& option, const std::string& needs)
{
    return CLI::Validator(
        [option, needs](std::string& value) {
            return value.compare(0, 2, "--") == 0 ? option + " needs " + needs + ", not the option " + value : "";
        },
        "", "not an option");
}

CLI::App* AddCommand(CLI::App& app, const char* name, const char* description, const char* example)
{
    CLI::App* command = app.add_subcommand(name, description);
    command->footer(std::string("Example:\n  ") + example);
    return command;
}

void AddExport(CLI::App& app, const std::shared_ptr<Values>& values, std::function<int()>& run)
{
    ExportOptions& options = values->exportOptions;
    CLI::App* command = AddCommand(app, "export",
        "Turns an app folder into a Windows export folder (and, when asked, a zip, an installer and signed programs)",
        "velmora-tool export examples/sample-game dist/star-catcher --zip dist/star-catcher.zip");
    command->add_option("app-folder", options.appFolder,
        "the app's folder: its start page (\"main\" in package.json, default index.html), its files and a "
        "package.json with at least a \"name\"")->required();
    command->add_option("out-folder", options.outFolder,
        "the export folder to write; it must not exist, be empty, or (with --replace) be an earlier export")
        ->required();
    command->add_flag("--replace", options.replace,
        "replace an output folder that is an earlier export, and a zip or installer file that exists (default: "
        "refuse)");
    command->add_flag("--loose", options.loose,
        "copy the app's files into www/ as they are instead of packing them into www/assets.dat (default: packed)");
    command->add_option("--zip", options.zipFile,
        "also write a zip of the export to this file, stored, names in UTF-8, zip64 where needed (default: none)")
        ->check(NotAnOption("--zip", "a file name"));
    command->add_flag("--installer", options.installer,
        "also write <name>-setup.exe beside the export folder: a per-user installer made with makensis (default: "
        "none)");
    command->add_option("--sign", options.certificate,
        "sign the host, Quorvel.exe, Tandrel.dll and the installer with this PKCS#12 certificate through "
        "osslsigncode (default: unsigned)")
        ->check(NotAnOption("--sign", "a certificate file"));
    command->add_option("--sign-password-file", options.passwordFile,
        "with --sign: the certificate's password is the first line of this file (default: VELMORA_SIGN_PASSWORD "
        "from the environment, never the command line)")
        ->check(NotAnOption("--sign-password-file", "a file"));
    command->add_option("--timestamp-url", options.timestampUrl,
        "with --sign: add an RFC 3161 timestamp from this server, which makes the bytes differ from run to run "
        "(default: a fixed signing time, 1980-01-01)")
        ->check(NotAnOption("--timestamp-url", "a server's address"));
    command->callback([values, &run] {
        const ExportOptions& chosen = values->exportOptions;
        if (!chosen.certificate && (!chosen.passwordFile.empty() || !chosen.timestampUrl.empty()))
            throw CLI::ValidationError("--sign-password-file and --timestamp-url go with --sign");
        run = [values] { return RunExportCommand(values->exportOptions); };
    });
}

void AddInspectionCommands(CLI::App& app, const std::shared_ptr<Values>& values, std::function<int()>& run)
{
    CLI::App* config = AddCommand(app, "config", "Prints the configuration the host would run with, as JSON",
        "velmora-tool config examples/sample-game/package.json");
    config->add_option("package-json", values->first, "the app's package.json")->required();
    config->callback([values, &run] { run = [values] { return RunConfigCommand(values->first); }; });

    CLI::App* pack = AddCommand(app, "pack", "Packs every file below a folder into a bundle the host reads",
        "velmora-tool pack my-game/www my-game/www/assets.dat");
    pack->add_option("folder", values->first, "the folder whose files are packed, named relative to it")->required();
    pack->add_option("bundle", values->second, "the assets.dat to write")->required();
    pack->callback([values, &run] { run = [values] { return RunPackCommand(values->first, values->second); }; });

    CLI::App* ls = AddCommand(app, "ls", "Lists a bundle's directory, one \"<offset> <size> <name>\" a line",
        "velmora-tool ls dist/star-catcher/www/assets.dat");
    ls->add_option("bundle", values->first, "the assets.dat to read")->required();
    ls->callback([values, &run] { run = [values] { return RunLsCommand(values->first); }; });

    CLI::App* get = AddCommand(app, "get",
        "Prints the host's exact answer (status line, headers, blank line, body) to the virtual origin followed by "
        "<path>",
        "velmora-tool get dist/star-catcher \"media/music.wav?v=2\" --range bytes=0-99");
    get->add_option("export-folder", values->first, "an export folder: its www/ and package.json")->required();
    get->add_option("path", values->second, "the text after the origin, as the page asks for it (query included)")
        ->required();
    get->add_option("--range", values->range, "the request's Range header value, as bytes=<first>-<last> (default: none)")
        ->check(NotAnOption("--range", "a value"));
    get->callback([values, &run] {
        run = [values] { return RunGetCommand(values->first, values->second, values->range); };
    });

    CLI::App* icons = AddCommand(app, "icons",
        "Prints what the icon updater would write in a folder: \"<id> <size> <src>\" per icon, then \"exe <name>\"",
        "velmora-tool icons dist/star-catcher");
    icons->add_option("folder", values->first, "an export folder (or an app folder) holding the icon list")->required();
    icons->callback([values, &run] { run = [values] { return RunIconsCommand(values->first); }; });

    CLI::App* serve = AddCommand(app, "serve",
        "Serves an app or export folder on 127.0.0.1, answering every request exactly as the host would",
        "velmora-tool serve examples/sample-game --port 8080");
    serve->add_option("folder", values->first,
        "an export folder, or an app folder, which is packed as its export would be")->required();
    serve->add_option("--port", values->port, "the port on 127.0.0.1 (default: one the system chooses, printed)")
        ->check(CLI::Range(0, 65535));
    serve->callback([values, &run] { run = [values] { return RunServeCommand(values->first, values->port); }; });
}

bool IsCommand(const CLI::App& app, const char* name)
{
    for (const CLI::App* command : app.get_subcommands({}))
        if (command->get_name() == name)
            return true;
    return false;
}

}

std::unique_ptr<CLI::App> MakeCommandLine(std::function<int()>& run)
{
    auto app = std::make_unique<CLI::App>(
        "velmora-tool exports HTML5 apps as Windows programs, and runs on Linux the code the host runs.",
        "velmora-tool");
    app->set_version_flag("--version", VELMORA_VERSION, "prints velmora-tool's version, the project's");
    app->set_help_flag("--help,-h", "prints this help; <command> --help describes a command");
    app->require_subcommand(1);
    app->footer("Exit codes: 0 done, 1 the command failed (its reason on standard error), 2 the command line is "
                "wrong.");
    auto values = std::make_shared<Values>();
    AddExport(*app, values, run);
    AddInspectionCommands(*app, values, run);
    return app;
}

int RunCommandLine(int argc, char** argv)
{
    std::function<int()> run;
    std::unique_ptr<CLI::App> app = MakeCommandLine(run);
    if (argc >= 2 && argv[1][0] != '-' && !IsCommand(*app, argv[1])) {
        std::fprintf(stderr, "velmora-tool: unknown command \"%s\"\n%s", argv[1], app->help().c_str());
        return 2;
    }
    try {
        app->parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0)
            return app->exit(error);
        std::fprintf(stderr, "%s\n(velmora-tool%s%s --help describes every option)\n", error.what(),
            argc >= 2 && argv[1][0] != '-' ? " " : "", argc >= 2 && argv[1][0] != '-' ? argv[1] : "");
        return 2;
    }
    return run();
}
