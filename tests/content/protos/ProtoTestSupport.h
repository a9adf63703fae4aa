#pragma once

// Helpers of the proto tests: XML text parsed in memory, a database loaded
// from such text, a file's CRC-32, and a clean registry state around each test.

#include "content/BConfig.h"
#include "content/DataFileCrc.h"
#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "puppet/PuppetRegistry.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

// The zlib CRC-32 of a whole file (an empty file when it cannot be read).
inline uint32_t fileCrc(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size()));
}

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

// A test that reads data files from a fixture folder: it restores the base
// folder, the CRC table, the options and the strings table afterwards.
class FixtureFolderTest : public ProtoTest {
protected:
    void TearDown() override {
        setDataFileCrcTable({});
        BConfig::instance().reset();
        setBaseFolder({});
        loadLocalizableStrings();
        ProtoTest::TearDown();
    }
};
