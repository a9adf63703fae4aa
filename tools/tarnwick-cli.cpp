// Command-line front of the game's content and rules, run from the folder that
// holds "data" and "vellix" (or with --root pointing at it).
//
//   tarnwick-cli [--root DIR] [options]
//
// options: reads the option files as start-up does and prints every
//          registered option with its value.

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "content/StartupOptions.h"
#include "platform/steam/SteamClient.h"

#include <cstdio>
#include <string>
#include <string_view>

namespace {

int usage() {
    std::fprintf(stderr, "usage: tarnwick-cli [--root DIR] [options]\n");
    return 2;
}

int printOptions() {
    const BConfig& config = BConfig::instance();
    std::printf("%-4s %-30s %-6s %s\n", "id", "option", "level", "value");
    for (int32_t id = 0; id < cRegisteredOptionCount; ++id) {
        const OptionDesc* desc = config.descriptor(id);
        const OptionValue* record = config.valueById(id);
        if (!config.isSetById(id)) {
            std::printf("%-4d %-30s %-6s (unset)\n", id, desc->name.c_str(), "");
            continue;
        }
        std::string value;
        BConfig::valueToString(*record, value);
        if (record->type == cOptionDefined)
            value = "(defined)";
        else if (record->type == cOptionString)
            value = "\"" + value + "\"";
        std::printf("%-4d %-30s %-6d %s\n", id, desc->name.c_str(), record->level, value.c_str());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string_view command = "options";
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--root" && i + 1 < argc)
            setBaseFolder(argv[++i]);
        else if (!arg.empty() && arg[0] != '-')
            command = arg;
        else
            return usage();
    }

    setupLanguageAndPaths(SteamClient::currentGameLanguage());

    if (command == "options")
        return printOptions();
    return usage();
}
