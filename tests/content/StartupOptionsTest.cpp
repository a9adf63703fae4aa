#include "content/StartupOptions.h"
#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/RegisteredOptions.h"

#include <gtest/gtest.h>

namespace {

class StartupOptionsTest : public ::testing::Test {
protected:
    void TearDown() override {
        setBaseFolder({});
        BConfig::instance().reset();
    }

    static void startFrom(const char* fixture, const std::string& language) {
        setBaseFolder(std::string(TARNWICK_FIXTURES_DIR "/content/") + fixture);
        setupLanguageAndPaths(language);
    }

    static int32_t levelOf(const char* name) {
        const OptionValue* record = BConfig::instance().findValue(name, false);
        return record ? record->level : -100;
    }

    static int32_t intOf(const char* name) {
        const OptionValue* record = BConfig::instance().findValue(name, false);
        return record ? record->intValue : -100;
    }
};

} // namespace

TEST(RegisteredOptions, FiftyEightOptionsInTableOrder) {
    const BConfig& config = BConfig::instance();
    ASSERT_EQ(registeredOptionCount(), 58);
    ASSERT_EQ(config.descriptorCount(), 58u);
    struct Case {
        int32_t id;
        const char* name;
        const char* description;
    };
    const Case cases[] = {
        {0, "AppID", "Override app ID"},
        {5, "Sound", "enable sound"},
        {29, "Language", "Override app language.  Use language code like en, de, fr, etc."},
        {31, "LanguageDirectory", "sets directory for current language, not used on ios"},
        {38, "TouchDragDeadZone", "size of dead zone for touch dragging"},
        {56, "BackgroundFPSCap", "cap FPS when no focus"},
        {57, "MinimizeToTray", "minimize to tray instead of taskbar"},
    };
    for (const Case& c : cases) {
        const OptionDesc* desc = config.descriptor(c.id);
        ASSERT_NE(desc, nullptr);
        EXPECT_EQ(desc->name, c.name);
        EXPECT_EQ(desc->description, c.description);
        EXPECT_EQ(config.findDescriptor(c.name)->id, c.id);
    }
    for (int32_t id = 0; id < cRegisteredOptionCount; ++id)
        EXPECT_EQ(config.descriptor(id)->callback != nullptr, id == cOptLanguage) << id;
}

TEST_F(StartupOptionsTest, ReadsTheFiveFilesInOrderAtTheirLevels) {
    startFrom("startup", "German");
    EXPECT_EQ(BConfig::instance().stringById(cOptLanguageDirectory, ""), "vellix\\de.lproj");

    EXPECT_EQ(levelOf("FromGame"), 1);
    EXPECT_EQ(levelOf("FromLocalized"), 0);
    EXPECT_EQ(levelOf("FromLocalizedWin32"), 0);
    EXPECT_EQ(levelOf("FromGameWin32"), 1);
    EXPECT_EQ(levelOf("FromUser"), 4);
    EXPECT_FALSE(BConfig::instance().isSet("FromEnglish"));

    // Each pair of neighbouring files sets one option: the later file wins.
    EXPECT_EQ(intOf("LastA"), 2);
    EXPECT_EQ(intOf("LastB"), 3);
    EXPECT_EQ(intOf("LastC"), 4);
    EXPECT_EQ(intOf("LastD"), 5);

    int32_t cap = 10;
    EXPECT_TRUE(BConfig::instance().getInt(cOptBackgroundFPSCap, cap));
    EXPECT_EQ(cap, 30);
}

TEST_F(StartupOptionsTest, RestartingForgetsWhatTheFilesSetBefore) {
    startFrom("startup", "german");
    startFrom("startup", "english");
    EXPECT_EQ(BConfig::instance().stringById(cOptLanguageDirectory, ""), "vellix\\en.lproj");
    EXPECT_TRUE(BConfig::instance().isSet("FromEnglish"));
    EXPECT_FALSE(BConfig::instance().isSet("FromLocalized"));
}

TEST_F(StartupOptionsTest, OverrideLanguageWinsOverThePlatform) {
    startFrom("startup-override", "german");
    EXPECT_EQ(BConfig::instance().stringById(cOptLanguageDirectory, ""), "vellix\\fr.lproj");
    EXPECT_TRUE(BConfig::instance().isSet("FromFrench"));
}

TEST_F(StartupOptionsTest, WithoutThePlatformTheLanguageStaysEnglish) {
    setBaseFolder(std::string(TARNWICK_FIXTURES_DIR "/content/startup-override"));
    setupLanguageAndPaths("german", false);
    EXPECT_EQ(BConfig::instance().stringById(cOptLanguageDirectory, ""), "vellix\\en.lproj");
    EXPECT_FALSE(BConfig::instance().isSet("FromFrench"));
}

TEST_F(StartupOptionsTest, MissingFilesAreSkipped) {
    startFrom("no-such-folder", "russian");
    EXPECT_EQ(BConfig::instance().stringById(cOptLanguageDirectory, ""), "vellix\\ru.lproj");
    EXPECT_FALSE(BConfig::instance().isSetById(cOptSound));
}

TEST(LanguageFolder, PlatformLanguagesMapToFolders) {
    const std::pair<const char*, const char*> cases[] = {
        {"english", "vellix\\en.lproj"}, {"german", "vellix\\de.lproj"},
        {"SPANISH", "vellix\\es.lproj"}, {"French", "vellix\\fr.lproj"},
        {"koreana", "vellix\\ko.lproj"}, {"korean", "vellix\\en.lproj"},
        {"russian", "vellix\\ru.lproj"}, {"japanese", "vellix\\ja.lproj"},
        {"", "vellix\\en.lproj"},
    };
    for (const auto& [language, folder] : cases)
        EXPECT_EQ(languageFolderFor(language), folder) << language;
}

TEST(DataPath, ComposesDataFilePaths) {
    std::string path = "stale";
    EXPECT_TRUE(dataFilePath("Game", path, "cfg"));
    EXPECT_EQ(path, "data/Game.cfg");
    EXPECT_TRUE(dataFilePath("Puzzles/tutorialsCategories", path, "xml"));
    EXPECT_EQ(path, "data/Puzzles/tutorialsCategories.xml");
    EXPECT_TRUE(dataFilePath("User", path, "cfg", true));
    EXPECT_EQ(path, "User.cfg");
}

TEST(DataPath, ResolvesWindowsPathsAgainstTheBaseFolder) {
    setBaseFolder("/base");
    EXPECT_EQ(resolvePath("vellix\\de.lproj\\Localized.cfg").string(),
              "/base/vellix/de.lproj/Localized.cfg");
    EXPECT_EQ(resolvePath("/abs/File.CFG").string(), "/abs/File.CFG");
    setBaseFolder({});
    EXPECT_EQ(resolvePath("data/Game.cfg").string(), "data/Game.cfg");
}
