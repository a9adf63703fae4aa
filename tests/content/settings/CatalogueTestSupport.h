#pragma once

// The catalogue fixture: a base folder with a small database, settings,
// civs, boards, colours, puzzle files and an English strings table. Each test
// starts with the fixture's database and strings loaded, the data files'
// CRC-32 table computed from the fixture, empty settings and an empty
// in-memory preference store.

#include "../protos/ProtoTestSupport.h"

#include "content/Preferences.h"
#include "content/settings/SettingsManager.h"

#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"

#include <array>
#include <string>

inline const std::string cCatalogueFixture =
    std::string(TARNWICK_FIXTURES_DIR) + "/content/catalogue";

class CatalogueTest : public FixtureFolderTest {
protected:
    void SetUp() override {
        FixtureFolderTest::SetUp();
        SettingsManager::instance().clear();
        builtInPreferenceStore().clear();
        useFolder(cCatalogueFixture);
        BConfig::instance().setStringById(cOptLanguageDirectory, "vellix\\en.lproj");
        loadLocalizableStrings();
        testing::internal::CaptureStdout();
        const bool loaded = Database::init();
        testing::internal::GetCapturedStdout();
        ASSERT_TRUE(loaded);
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        builtInPreferenceStore().clear();
        FixtureFolderTest::TearDown();
    }

    static SettingsManager& settings() { return SettingsManager::instance(); }

    // Makes folder the base folder, its checked files valid as they stand.
    void useFolder(const std::string& folder) {
        setBaseFolder(folder);
        for (size_t i = 0; i < mNames.size(); ++i)
            mTable[i] = {mNames[i], fileCrc(folder + "/data/" + mNames[i] + ".xml")};
        setDataFileCrcTable(mTable);
    }

    static constexpr std::array<const char*, 5> mNames{"database", "settings", "gameboards", "civs",
                                                       "PlayerColors"};
    std::array<DataFileCrc, 5> mTable;
};
