#pragma once

// The fixture of the sound tests: a recording audio back end, a hand-set
// clock for the sets' rate limits, a seeded gRng, the option "Sound" set,
// no sets registered and a fresh data folder of its own.

#include "scene/sound/SoundPlayback.h"
#include "scene/sound/SoundSet.h"

#include "content/BConfig.h"
#include "content/DataPath.h"
#include "content/Preferences.h"
#include "content/RegisteredOptions.h"
#include "rules/core/RNG.h"

#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Links the option registrations into the test program.
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        auto backend = std::make_unique<CocosDenshion::RecordingAudioBackend>();
        mRecord = backend.get();
        audio()->setBackend(std::move(backend));
        audio()->setClock([this] { return mNow; });
        setSoundClock([this] { return mNow; });
        gRng.seed(cSeed);
        gSoundsEnabled = true;
        BConfig::instance().defineById(cOptSound);
        BConfig::instance().unsetById(cOptMusic);
        BConfig::instance().unsetById(cOptSoundPanFactor);
        builtInPreferenceStore().clear();
        SoundSet::clear();
        setSoundSceneNode(nullptr);
        mRoot = std::filesystem::path(::testing::TempDir()) /
                ("sound-" +
                 std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(mRoot);
        std::filesystem::create_directories(mRoot / "data" / "sound");
        setBaseFolder(mRoot);
    }
    void TearDown() override {
        CocosDenshion::SimpleAudioEngine::end();
        setSoundClock(nullptr);
        SoundSet::clear();
        gSoundsEnabled = true;
        BConfig::instance().unsetById(cOptSound);
        setBaseFolder(std::filesystem::current_path());
        std::filesystem::remove_all(mRoot);
    }

    static CocosDenshion::SimpleAudioEngine* audio() {
        return CocosDenshion::SimpleAudioEngine::sharedEngine();
    }
    // The audio calls since the last look.
    Calls take() {
        Calls calls = mRecord->calls();
        mRecord->clear();
        return calls;
    }
    // Writes a file under the fixture's data folder.
    void writeData(const std::string& path, const std::string& text) {
        const std::filesystem::path file = mRoot / "data" / path;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
    }
    // Registers a set read from its XML text.
    static int32_t setFromText(const std::string& name, const std::string& text) {
        XMLHelper holder;
        holder.setText(text);
        XmlNode* root = nullptr;
        if (!holder.parse(root) || root == nullptr)
            return -1;
        return SoundSet::find(name, root);
    }

    static constexpr uint32_t cSeed = 2024;
    CocosDenshion::RecordingAudioBackend* mRecord = nullptr;
    double mNow = 1000.0;
    std::filesystem::path mRoot;
};
