#pragma once

// Helpers of the settings tests: the settings read from XML text, and a
// clean settings manager and proto database around each test.

#include "../protos/ProtoTestSupport.h"

#include "content/settings/SettingsManager.h"

#include <string>
#include <string_view>

class SettingsTest : public ProtoTest {
protected:
    void SetUp() override {
        ProtoTest::SetUp();
        SettingsManager::instance().clear();
    }
    void TearDown() override {
        SettingsManager::instance().clear();
        ProtoTest::TearDown();
    }

    static SettingsManager& settings() { return SettingsManager::instance(); }

    // Reads the elements (the root's children) into the settings.
    static bool loadSettings(std::string_view elements) {
        ParsedXml xml("<settings>" + std::string(elements) + "</settings>");
        return settings().loadSettings(xml.root);
    }
};
