// Command-line front of the game's content and rules, run from the folder that
// holds "data" and "vellix" (or with --root pointing at it).
//
// Every command first runs start-up's content steps: the option files, then
// the strings table of the chosen language. Each command is one entry of the
// table below and one file of this folder.

#include "tools/cli/CliCommand.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "platform/steam/SteamClient.h"

#include <cstdio>

namespace {

struct CliCommand {
    std::string_view name;
    std::string_view synopsis; // arguments, for the usage text
    bool takesArguments;
    int (*run)(const CliArguments&);
};

constexpr CliCommand cCommands[] = {
    {"content", "", false, runContent},
    {"options", "", false, runOptions},
    {"strings", "[KEY...]", true, runStrings},
    {"protos", "", false, runProtos},
    {"puppets", "", false, runPuppets},
    {"puppet", "NAME [--state S] [--time T] [--colour R,G,B] [--screenshot FILE]", true, runPuppet},
    {"settings", "", false, runSettings},
    {"newgame", "[SEED] [CIV1 CIV2]", true, runNewGame},
    {"selfplay", "[SEED [GAMES]] [CIV1 CIV2] [--max-turns N] [--check] [--replay] [--quiet]", true,
     runSelfPlay},
    {"sound", "NAME", true, runSound},
};

} // namespace

int usage() {
    std::fprintf(stderr,
                 "usage: tarnwick-cli [--root DIR] COMMAND, one of (content by default):\n");
    for (const CliCommand& command : cCommands)
        std::fprintf(stderr, "    %.*s %.*s\n", static_cast<int>(command.name.size()),
                     command.name.data(), static_cast<int>(command.synopsis.size()),
                     command.synopsis.data());
    return 2;
}

int main(int argc, char** argv) {
    std::string_view name;
    CliArguments arguments;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root" && i + 1 < argc)
            setBaseFolder(argv[++i]);
        else if (!arg.empty() && arg[0] != '-' && name.empty())
            name = arg;
        else if (!name.empty())
            arguments.push_back(arg);
        else
            return usage();
    }
    if (name.empty())
        name = "content";

    setupLanguageAndPaths(SteamClient::currentGameLanguage());
    loadLocalizableStrings();

    for (const CliCommand& command : cCommands)
        if (command.name == name && (command.takesArguments || arguments.empty()))
            return command.run(arguments);
    return usage();
}
