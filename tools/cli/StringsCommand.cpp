// tarnwick-cli strings [KEY...]: localised texts (by default the start-up
// texts and two formatted examples).
#include "tools/cli/CliCommand.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"

#include <cstdio>
#include <span>

int runStrings(const CliArguments& keys) {
    static constexpr std::string_view cStartupKeys[] = {
        "Tarnwick",          "OnlyOneInstanceError", "32BitDesktopRequired",
        "ScreenResTooSmall", "Game Data Corrupt",    "Loading...",
    };
    std::printf("%zu texts in %s\n", localizedStrings().size(),
                BConfig::instance().stringById(cOptLanguageDirectory, "").c_str());
    const auto print = [](std::string_view key, const std::string& text) {
        std::printf("%-22.*s %s\n", static_cast<int>(key.size()), key.data(), text.c_str());
    };
    for (std::string_view key : keys.empty() ? std::span(cStartupKeys) : std::span(keys))
        print(key, localizedString(key));
    if (keys.empty()) {
        std::string text;
        formatLocalized(text, "TrayMouseover", 3);
        print("TrayMouseover", text);
        formatLocalized(text, "NewTurnBalloon", "Mira");
        print("NewTurnBalloon", text);
    }
    return 0;
}
