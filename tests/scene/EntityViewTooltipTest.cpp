// The help panel a tile's view builds on the tooltip background: rows and
// their places in the background's own space, the raised and lowered
// colours, the header's fallbacks, and the kinds that show less.

#include "EntityViewTestSupport.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr const char* cTooltipDatabase = R"(<Database>
  <entity name="brute"><Type>unit</Type><Hitpoints>800</Hitpoints><Power>100</Power>
    <Defense>20</Defense><Resist>10</Resist><MoveRange>2</MoveRange><MaxRange>1</MaxRange>
    <DamageType>physical</DamageType><Class>Warrior</Class><Portrait>Portraits/Brute.png</Portrait><Art>Units/Archer.png</Art></entity>
  <entity name="wisp"><Type>unit</Type><Hitpoints>800</Hitpoints><Art>Units/Archer.png</Art></entity>
  <entity name="sentry"><Type>unit</Type><Hitpoints>800</Hitpoints><Power>50</Power>
    <Art>Units/Archer.png</Art></entity>
  <entity name="rage"><Type>buff</Type><Art>Units/Sword.png</Art><BuffInfo>
    <Effect type="modifyStat" target="Power" relativity="multiply">2</Effect></BuffInfo></entity>
  <entity name="curse"><Type>buff</Type><Art>Units/Sword.png</Art><BuffInfo>
    <Effect type="modifyStat" target="Power" relativity="multiply">0.5</Effect>
    <Effect type="modifyStat" target="Defense" relativity="absolute">-1</Effect></BuffInfo></entity>
  <entity name="sword"><Type>gear</Type><Art>Units/Sword.png</Art><Class>Blade</Class></entity>
  <entity name="bolt"><Type>projectile</Type><Art>Units/Sword.png</Art></entity>
</Database>)";

constexpr float W = 300.0f;
constexpr float H = 260.0f;

class EntityViewTooltipTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        loadProtos(cTooltipDatabase);
        writeSolidPng("Portraits/Brute.png", 256, 256, {90, 90, 200, 255});
        writeSolidPng("HelpTooltip_BG.png", int(W), int(H), {40, 40, 40, 255});
        writeSolidPng("HelpTooltip_HPBar.png", 100, 10, {0, 220, 0, 255});
        writeSolidPng("HelpTooltip_Separator.png", 150, 4, {200, 200, 200, 255});
        writeSolidPng("TooltipIcon_RangeTile.png", 10, 10, {200, 0, 0, 255});
        writeSolidPng("TooltipIcon_MovementTile.png", 10, 10, {0, 0, 200, 255});
        mBackground = CCSprite::spriteWithFile("HelpTooltip_BG.png");
        mBackground->retain();
    }
    void TearDown() override {
        ccSafeRelease(mBackground);
        EntityViewTest::TearDown();
    }

    // The panel of a new entity on the board, built into the background.
    Entity* build(const char* name, const std::vector<const char*>& items = {}) {
        Entity* made = make(name, 0, GridSlot(mNextColumn++, 2));
        for (const char* item : items)
            made->equip(mGame->createEntity(proto(item), 0), nullptr);
        EntityView* shown = link(made);
        EXPECT_NE(shown, nullptr);
        if (shown != nullptr)
            shown->buildTooltip(mBackground);
        return made;
    }
    CCLabelTTF* label(const std::string& text) const {
        for (CCNode* child : *mBackground->getChildren())
            if (auto* found = dynamic_cast<CCLabelTTF*>(child); found && found->getString() == text)
                return found;
        return nullptr;
    }
    int32_t labelCount() const {
        int32_t count = 0;
        for (CCNode* child : *mBackground->getChildren())
            count += dynamic_cast<CCLabelTTF*>(child) != nullptr;
        return count;
    }
    std::vector<CCSprite*> sprites(const char* image) const {
        CCTexture2D* texture = CCTextureCache::sharedTextureCache()->textureForKey(image);
        std::vector<CCSprite*> found;
        for (CCNode* child : *mBackground->getChildren())
            if (auto* sprite = dynamic_cast<CCSprite*>(child);
                sprite && texture && sprite->getTexture() == texture &&
                dynamic_cast<CCLabelTTF*>(child) == nullptr)
                found.push_back(sprite);
        return found;
    }
    static bool sameColour(const ccColor3B& a, const ccColor3B& b) {
        return a.r == b.r && a.g == b.g && a.b == b.b;
    }

    CCSprite* mBackground = nullptr;
    int32_t mNextColumn = 0;
};

const ccColor3B cWhite{255, 255, 255};

} // namespace

TEST_F(EntityViewTooltipTest, UnitRowsMoveUpForMissingPowerAndRange) {
    struct Case {
        const char* name;
        const char* power;  // null: no power row
        float defenseY;     // offset from the top
        int32_t rangeTiles; // -1: no range block
        int32_t moveTiles;
        float helpY;
    };
    for (const Case& c :
         {Case{"brute", "100 Physical", 107, 1, 2, 147},
          Case{"sentry", "50 Magical", 107, -1, 0, 127}, Case{"wisp", nullptr, 87, -1, 0, 107}}) {
        SCOPED_TRACE(c.name);
        mBackground->removeAllChildrenWithCleanup(true);
        Database::getProto(proto(c.name))->mShortHelp = "Help.";
        build(c.name);
        CCLabelTTF* power = c.power ? label(c.power) : nullptr;
        EXPECT_EQ(power != nullptr, c.power != nullptr);
        if (power != nullptr) {
            EXPECT_FLOAT_EQ(power->getPosition().y, H - 87);
            EXPECT_FLOAT_EQ(power->getPosition().x, 45);
        }
        CCLabelTTF* defense = label(c.name == std::string("brute") ? "20%" : "0%");
        ASSERT_NE(defense, nullptr);
        EXPECT_FLOAT_EQ(defense->getPosition().y, H - c.defenseY);
        EXPECT_TRUE(sameColour(defense->getColor(), cWhite));
        EXPECT_EQ(label("Range:") != nullptr, c.rangeTiles >= 0);
        EXPECT_EQ(sprites("TooltipIcon_RangeTile.png").size(), size_t(std::max(c.rangeTiles, 0)));
        EXPECT_EQ(sprites("TooltipIcon_MovementTile.png").size(), size_t(c.moveTiles));
        CCLabelTTF* help = label("Help.");
        ASSERT_NE(help, nullptr);
        EXPECT_FLOAT_EQ(help->getPosition().y, H - c.helpY);
    }
}

TEST_F(EntityViewTooltipTest, HealthBarAndTheRangeAndMovementTilesInARow) {
    Entity* brute = make("brute", 0);
    brute->mHealth = 650;
    link(brute)->buildTooltip(mBackground);
    ASSERT_NE(label("650/800"), nullptr);
    EXPECT_EQ(label("650/800")->getZOrder(), 3);
    CCProgressTimer* bar = nullptr;
    for (CCNode* child : *mBackground->getChildren())
        if (auto* found = dynamic_cast<CCProgressTimer*>(child))
            bar = found;
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getType(), kCCProgressTimerTypeHorizontalBarLR);
    EXPECT_NEAR(bar->getPercentage(), 81.25f, 0.01f);
    EXPECT_FLOAT_EQ(bar->getPosition().x, 45 + 50);
    EXPECT_FLOAT_EQ(label("650/800")->getPosition().x, 95 + 100 + 15);

    // Range at the caption's line + 8.5, movement 17 below; tiles side by
    // side from x 93, the number 5 past the last.
    const float yc = H - (127 + 10);
    const std::vector<CCSprite*> moves = sprites("TooltipIcon_MovementTile.png");
    ASSERT_EQ(moves.size(), 2u);
    EXPECT_FLOAT_EQ(moves[0]->getPosition().x, 93);
    EXPECT_FLOAT_EQ(moves[1]->getPosition().x, 103);
    EXPECT_FLOAT_EQ(moves[1]->getPosition().y, yc + 8.5f - 17);
    EXPECT_FLOAT_EQ(sprites("TooltipIcon_RangeTile.png")[0]->getPosition().y, yc + 8.5f);
    ASSERT_NE(label("2"), nullptr);
    EXPECT_FLOAT_EQ(label("2")->getPosition().x, 118);
}

TEST_F(EntityViewTooltipTest, BuffedValuesAreGreenAndDebuffedRed) {
    struct Case {
        const char* item;
        const char* power;
        const char* defense;
        ccColor3B powerColour;
        ccColor3B defenseColour;
    };
    for (const Case& c : {Case{"rage", "200 Physical", "20%", {50, 255, 50}, cWhite},
                          Case{"curse", "50 Physical", "19%", {255, 100, 100}, {255, 100, 100}}}) {
        SCOPED_TRACE(c.item);
        mBackground->removeAllChildrenWithCleanup(true);
        build("brute", {c.item});
        ASSERT_NE(label(c.power), nullptr);
        EXPECT_TRUE(sameColour(label(c.power)->getColor(), c.powerColour));
        ASSERT_NE(label(c.defense), nullptr);
        EXPECT_TRUE(sameColour(label(c.defense)->getColor(), c.defenseColour));
    }
}

TEST_F(EntityViewTooltipTest, HeaderFallsBackToFiftyAndTheRawClass) {
    ProtoEntity* brute = Database::getProto(proto("brute"));
    brute->mDisplayName = "Brute";
    build("brute");
    // A 256-wide portrait at 0.3906 puts the column at 100.
    ASSERT_NE(label("Brute"), nullptr);
    EXPECT_NEAR(label("Brute")->getPosition().x, (100 + 7 + W) / 2, 0.01f);
    ASSERT_NE(label("Warrior"), nullptr) << "an empty class display name shows the raw class";
    EXPECT_FLOAT_EQ(label("Warrior")->getPosition().y, H - 37);
    ASSERT_EQ(sprites("HelpTooltip_Separator.png").size(), 1u);
    EXPECT_NEAR(sprites("HelpTooltip_Separator.png")[0]->getPosition().x, 100 + 7 + 75, 0.01f);

    mBackground->removeAllChildrenWithCleanup(true);
    Database::getProto(proto("wisp"))->mDisplayName = "Wisp";
    Database::getProto(proto("wisp"))->mClassDisplayName = "Spirit";
    build("wisp");
    ASSERT_NE(label("Wisp"), nullptr);
    EXPECT_FLOAT_EQ(label("Wisp")->getPosition().x, (50 + 7 + W) / 2);
    EXPECT_NE(label("Spirit"), nullptr);
}

TEST_F(EntityViewTooltipTest, GearShowsItsHelpAProjectileOnlyTheHeader) {
    Database::getProto(proto("sword"))->mShortHelp = "Cuts.";
    build("sword");
    ASSERT_NE(label("Cuts."), nullptr);
    EXPECT_FLOAT_EQ(label("Cuts.")->getPosition().y, H - 67);
    EXPECT_EQ(label("Cuts.")->getAlignment(), CCImage::kAlignTopLeft);
    EXPECT_EQ(labelCount(), 3) << "name, class and help";
    EXPECT_EQ(sprites("HelpTooltip_HPBar.png").size(), 0u);

    mBackground->removeAllChildrenWithCleanup(true);
    build("bolt");
    EXPECT_EQ(labelCount(), 2) << "name and class";

    mBackground->removeAllChildrenWithCleanup(true);
    Entity* lost = make("brute", 0);
    EntityView* shown = link(lost);
    ASSERT_NE(shown, nullptr);
    lost->mProtoId = 9999; // names no proto
    shown->buildTooltip(mBackground);
    shown->buildTooltip(nullptr);
    EXPECT_EQ(mBackground->getChildrenCount(), 0u);
}
