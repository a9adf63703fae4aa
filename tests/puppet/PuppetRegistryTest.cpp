#include "puppet/PuppetRegistry.h"

#include "content/DataPath.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class PuppetRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        PuppetRegistry::clear();
        setBaseFolder(std::string(TARNWICK_FIXTURES_DIR) + "/puppet");
    }
    void TearDown() override {
        setBaseFolder({});
        PuppetRegistry::clear();
    }
};

} // namespace

TEST_F(PuppetRegistryTest, SameNameSameIndex) {
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Mage"), 1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
    EXPECT_EQ(PuppetRegistry::puppetCount(), 2);
}

TEST_F(PuppetRegistryTest, FailuresTakeNoIndex) {
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Missing"), -1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Missing"), -1);
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Empty"), -1) << "a file without an element";
    EXPECT_EQ(PuppetRegistry::loadPuppet("units/archer"), -1) << "names keep their case";
    EXPECT_EQ(PuppetRegistry::loadPuppet("Units/Archer"), 0);
}

TEST_F(PuppetRegistryTest, CategoriesGetDenseIds) {
    EXPECT_EQ(PuppetRegistry::categoryIndex("weapon"), 0);
    EXPECT_EQ(PuppetRegistry::categoryIndex("Charge"), 1);
    EXPECT_EQ(PuppetRegistry::categoryIndex("weapon"), 0);
    EXPECT_EQ(PuppetRegistry::categoryIndex("Weapon"), 2);
}
