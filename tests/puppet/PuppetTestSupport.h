#pragma once

// Puppet tests run on a fresh copy of tests/fixtures/puppet in a temporary
// folder, so a test may add, change or delete data files; the registry is
// cleared before and after each case. The engine's resource root is the
// copy's "data" folder, at content scale 1 with empty texture and
// sprite-frame caches.

#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCFileUtils.h"
#include "platform/render/CCSpriteFrameCache.h"
#include "platform/render/CCTextureCache.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"

#include <gtest/gtest.h>
#include <stb/stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

class PuppetTest : public ::testing::Test {
protected:
    void SetUp() override {
        PuppetRegistry::clear();
        mFolder = std::filesystem::temp_directory_path() /
                  ("tarnwick-puppet-" + std::to_string(::getpid()));
        std::filesystem::remove_all(mFolder);
        std::filesystem::create_directories(mFolder);
        std::filesystem::copy(std::string(TARNWICK_FIXTURES_DIR) + "/puppet", mFolder,
                              std::filesystem::copy_options::recursive);
        setBaseFolder(mFolder);
        cocos2d::CCFileUtils::setResourcePath((mFolder / "data").string());
    }
    void TearDown() override {
        PuppetRegistry::clear();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        cocos2d::CCSpriteFrameCache::purgeSharedSpriteFrameCache();
        cocos2d::CCDirector::sharedDirector()->setContentScaleFactor(1.0f);
        cocos2d::CCFileUtils::setResourcePath("");
        setBaseFolder({});
        std::filesystem::remove_all(mFolder);
    }

    // The path of data file name (as "Units/Archer.Puppet").
    std::filesystem::path dataFile(std::string_view name) const {
        return mFolder / "data" / std::filesystem::path(name);
    }
    void writeData(std::string_view name, std::string_view text) const {
        std::filesystem::create_directories(dataFile(name).parent_path());
        std::ofstream(dataFile(name), std::ios::binary) << text;
    }
    // A 4 x 4 image under the data folder, opaque on its left half.
    void writeImage(std::string_view name) const {
        std::vector<uint8_t> pixels;
        for (int i = 0; i < 16; ++i)
            pixels.insert(pixels.end(), {200, 200, 200, uint8_t(i % 4 < 2 ? 255 : 0)});
        std::filesystem::create_directories(dataFile(name).parent_path());
        ASSERT_NE(stbi_write_png(dataFile(name).c_str(), 4, 4, 4, pixels.data(), 16), 0);
    }

    // The root element of XML text, parsed into a holder that lives as long
    // as the test.
    const XmlNode* parseXml(std::string_view text) {
        auto& holder = mHolders.emplace_back(std::make_unique<XMLHelper>());
        holder->setText(text);
        XmlNode* root = nullptr;
        if (!holder->parse(root) || !root)
            ADD_FAILURE() << "fixture does not parse: " << text;
        return root;
    }

    // A definition loaded from the text of a puppet file, outside the registry
    // (whose attachments and animations it still uses).
    static std::unique_ptr<PuppetDefinition> loadDefinition(std::string_view text) {
        XMLHelper holder;
        holder.setText(text);
        XmlNode* root = nullptr;
        if (!holder.parse(root) || !root) {
            ADD_FAILURE() << "fixture does not parse: " << text;
            return nullptr;
        }
        auto definition = std::make_unique<PuppetDefinition>();
        EXPECT_TRUE(definition->load(root));
        return definition;
    }

    std::filesystem::path mFolder;
    std::vector<std::unique_ptr<XMLHelper>> mHolders;
};
