#include "content/StartupOptions.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/NoCase.h"
#include "content/RegisteredOptions.h"

#include <array>
#include <utility>

namespace {

constexpr const char* cDefaultLanguageFolder = "vellix\\en.lproj";

constexpr std::array<std::pair<const char*, const char*>, 6> cLanguageFolders = {{
    {"german", "vellix\\de.lproj"},
    {"spanish", "vellix\\es.lproj"},
    {"french", "vellix\\fr.lproj"},
    {"koreana", "vellix\\ko.lproj"},
    {"russian", "vellix\\ru.lproj"},
    {"japanese", "vellix\\ja.lproj"},
}};

void loadOptionFile(BConfig& config, std::string_view name, bool noDataPrefix, int32_t level) {
    std::string path;
    dataFilePath(name, path, "cfg", noDataPrefix);
    config.loadFile(path, level);
}

} // namespace

std::string languageFolderFor(std::string_view language) {
    for (const auto& [name, folder] : cLanguageFolders) {
        if (equalsNoCase(language, name))
            return folder;
    }
    return cDefaultLanguageFolder;
}

void setupLanguageAndPaths(const std::string& platformLanguage) {
    setupLanguageAndPaths(platformLanguage, true);
}

void setupLanguageAndPaths(const std::string& platformLanguage, bool platformRunning) {
    BConfig& config = BConfig::instance();
    config.setNotifyChanges(false);
    config.reset();
    config.setNotifyChanges(true);

    loadOptionFile(config, "Game", false, cLevelGameFiles);

    config.setStringById(cOptLanguageDirectory, cDefaultLanguageFolder);
    if (platformRunning) {
        std::string language = platformLanguage;
        if (const OptionValue* override = config.findValue("overrideLanguage", false))
            BConfig::valueToString(*override, language);
        config.setStringById(cOptLanguageDirectory, languageFolderFor(language));
    }

    const std::string folder = config.stringById(cOptLanguageDirectory, cDefaultLanguageFolder);
    loadOptionFile(config, folder + "\\Localized", true, cLevelLanguageFiles);
    loadOptionFile(config, folder + "\\Localized_win32", true, cLevelLanguageFiles);
    loadOptionFile(config, "Game_win32", false, cLevelGameFiles);
    loadOptionFile(config, "User", true, cLevelUserFile);
}
