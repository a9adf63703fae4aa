#pragma once

// Helpers of the proto tests: XML text parsed in memory, a database loaded
// from such text, and a clean registry state around each test.

#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "puppet/PuppetRegistry.h"

#include <gtest/gtest.h>

#include <string_view>

struct ParsedXml {
    explicit ParsedXml(std::string_view text) {
        holder.setText(text);
        EXPECT_TRUE(holder.parse(root));
    }
    XMLHelper holder;
    XmlNode* root = nullptr;
};

class ProtoTest : public ::testing::Test {
protected:
    void SetUp() override {
        Database::clear();
        PuppetRegistry::clear();
    }
    void TearDown() override {
        Database::clear();
        PuppetRegistry::clear();
    }

    // Loads a database from the text of a whole file.
    static bool loadDatabase(std::string_view text) {
        ParsedXml xml(text);
        return Database::loadRoot(xml.root);
    }

    // The proto read from one entity element (the database holds it alone).
    static ProtoEntity* loadEntity(std::string_view entity) {
        const std::string text = "<Database>" + std::string(entity) + "</Database>";
        if (!loadDatabase(text))
            return nullptr;
        return Database::getProto(0);
    }
};
