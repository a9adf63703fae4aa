#pragma once

// Puppet tests run on a fresh copy of tests/fixtures/puppet in a temporary
// folder, so a test may add, change or delete data files; the registry is
// cleared before and after each case.

#include "content/DataPath.h"
#include "content/XMLHelper.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

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
    }
    void TearDown() override {
        PuppetRegistry::clear();
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
};
