// tarnwick-cli options: every registered option with its value and the level
// of the file that set it.
#include "tools/cli/CliCommand.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

#include <cstdio>
#include <string>

int runOptions(const CliArguments&) {
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
