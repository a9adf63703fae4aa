#pragma once

// The fixture of the entity view tests: a running GameScene (its health
// textures and reticle frames written under the resource root), the small
// protos below, the puppets and premium squares of
// tests/fixtures/scene/entityview, one aura overlay puppet for every aura
// type, and a local game of two players with racks, graveyards, a chest and
// a 9 x 5 board. Views are made by the program's scene services.

#include "SceneTestSupport.h"

#include "scene/EntityView.h"

#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "content/settings/ProtoGameBoard.h"
#include "puppet/PuppetInstance.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"
#include "rules/TileChest.h"
#include "rules/TileRack.h"

#include <string>

inline constexpr const char* cEntityViewDatabase = R"(<Database>
  <entity name="knight"><Type>unit</Type><Hitpoints>800</Hitpoints><Power>100</Power>
    <BigAttackMultiplierThreshold>2</BigAttackMultiplierThreshold><CanDualWield/>
    <AnchorPoint x="0.25" y="0.125"/>
    <Puppet>Units/Knight<Upgrade>Units/KnightUp1</Upgrade><Upgrade>Units/KnightUp2</Upgrade></Puppet></entity>
  <entity name="archer"><Type>unit</Type><Hitpoints>800</Hitpoints><Art>Units/Archer.png</Art>
    <Art2>Units/Archer2.png</Art2><AnchorPoint x="0.25" y="0.125"/></entity>
  <entity name="scout"><Type>unit</Type><Hitpoints>800</Hitpoints><Art>Units/Archer.png</Art></entity>
  <entity name="train"><Type>unit</Type><Hitpoints>800</Hitpoints><AnchorPoint x="0.25" y="0.5"/>
    <Atlas cellDimX="16" cellDimY="8" cellsPerRow="2" cellsPerColumn="3">Units/KnightBlue_Blue.png</Atlas></entity>
  <entity name="cart"><Type>unit</Type><Hitpoints>800</Hitpoints>
    <Atlas cellDimX="16" cellDimY="8" cellsPerRow="0" cellsPerColumn="3">Units/Cart.png</Atlas></entity>
  <entity name="crystal"><Type>unit</Type><Hitpoints>4500</Hitpoints><VictoryUnit/><KeepsPlayerInGame/>
    <Puppet>Units/Knight</Puppet></entity>
  <entity name="sword"><Type>gear</Type><EquipCategory>weapon</EquipCategory><CanDualWield/>
    <EquipAnim>Ability</EquipAnim><BlendAnimFromEquip>Idle</BlendAnimFromEquip>
    <Art>Units/Sword.png</Art><HelperIconInfo offsetX="6" offsetY="-4" scale="0.5"/>
    <BuffInfo><Aura>Shields</Aura></BuffInfo></entity>
  <entity name="witch"><Type>unit</Type><Hitpoints>800</Hitpoints><Puppet>Units/Knight</Puppet>
    <Ongoing Heal="true" Range="2" LinkArt="Effects/Link.png" LinkArt2="Effects/Link2.png"/></entity>
  <entity name="token"><Type>buff</Type><Art>Units/Sword.png</Art></entity>
  <entity name="ogre"><Type>unit</Type><Hitpoints>800</Hitpoints><Puppet>Units/Charger</Puppet>
    <CanRespawn/><AttackInfo arcingKnockback=""/></entity>
</Database>)";

// Replaces the proto database with the text's.
inline void loadProtos(const char* text) {
    Database::clear();
    XMLHelper protos;
    protos.setText(text);
    XmlNode* root = nullptr;
    ASSERT_TRUE(protos.parse(root));
    ASSERT_TRUE(Database::loadRoot(root));
}

// A game that counts the visual steps its views report and can claim to
// replay.
class StepCountingGame : public Game {
public:
    void onVisualStepDone(Entity* entity) override {
        ++mStepsDone;
        Game::onVisualStepDone(entity);
    }
    bool isReplaying() const override { return mReplaying || Game::isReplaying(); }

    int32_t mStepsDone = 0;
    bool mReplaying = false;
};

class EntityViewTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        writeSolidPng("HP_Green.png", 40, 6, {0, 255, 0, 255});
        writeSolidPng("HP_Red.png", 40, 6, {255, 0, 0, 255});
        for (const char* reticle : {"AttackReticle.png", "AttackReticle2.png", "NO_Symbol.png",
                                    "HealReticle.png", "AllyReticle01_OutsideRing.png"})
            writeSolidPng(reticle, 20, 20, {255, 255, 255, 255});
        for (const char* indicator : {"UI_Tooltip.png", "UI_Tooltip3.png"})
            writeSolidPng(indicator, 12, 12, {255, 255, 0, 255});
        writeSolidPng("Units/Archer.png", 20, 20, {0, 0, 255, 255});
        writeSolidPng("Units/Archer2.png", 30, 30, {255, 0, 0, 255});
        writeSolidPng("Units/Sword.png", 8, 8, {200, 200, 200, 255});
        writeSolidPng("Units/KnightBlue_Blue.png", 32, 24, {0, 0, 255, 255});
        writeSolidPng("Units/KnightRed_Blue.png", 32, 24, {255, 0, 0, 255});
        writeSolidPng("Effects/Link.png", 16, 8, {255, 255, 255, 255});
        writeSolidPng("Effects/Link2.png", 16, 8, {255, 255, 255, 255});

        PuppetRegistry::clear();
        loadProtos(cEntityViewDatabase);
        XmlNode* root = nullptr;
        setBaseFolder(std::filesystem::path(TARNWICK_FIXTURES_DIR) / "scene" / "entityview");
        SettingsManager& settings = SettingsManager::instance();
        settings.clear();
        XMLHelper boards;
        ASSERT_TRUE(loadXmlFile("gameboards", root, boards));
        auto layout = std::make_unique<ProtoGameBoard>();
        ASSERT_TRUE(layout->load(root->first_node("board")));
        settings.mGameBoards.push_back(std::move(layout));
        for (int32_t type = 0; type < EntityView::cAuraCount; ++type) {
            auto aura = std::make_unique<ProtoAura>();
            aura->mType = type;
            aura->mEffect = "Effects/Auras/Overlay";
            aura->mZOrder = type;
            aura->mOffsetY = 4.0f;
            aura->mOpacity = 0.5f;
            settings.mAuras.push_back(std::move(aura));
        }

        mBoardScene = enter();
        ASSERT_NE(mBoardScene, nullptr);
        mGame = new StepCountingGame();
        mGame->mFlags |= cGameLocal;
        mGame->mCurrentPlayer = 0;
        for (int32_t index = 0; index < 2; ++index) {
            auto* player = new Player(mGame, index);
            player->mTileRack = new TileRack(index, mGame);
            player->mTileRack->setSize(6, 1);
            player->mGraveyard = new Graveyard(index, mGame);
            player->mGraveyard->setSize(4, 1);
            mGame->mPlayers.push_back(player);
        }
        mGame->mTileChest = new TileChest(-1, mGame);
        mGame->mTileChest->setSize(4, 1);
        mGame->mGameBoard = new GameBoard(-1, mGame);
        mGame->mGameBoard->setSize(9, 5);
        gCurrentGame = mGame;
    }
    void TearDown() override {
        gCurrentGame = nullptr;
        if (mGame != nullptr)
            mGame->release();
        mGame = nullptr;
        SettingsManager::instance().clear();
        Database::clear();
        SceneTest::TearDown();
    }

    static int32_t proto(const char* name) { return Database::getProtoIdByName(name); }

    // A new entity of that proto on a grid square (the board when no grid is
    // given) in a state, not yet linked.
    Entity* make(const char* name, int32_t owner, GridSlot slot = GridSlot(1, 1),
                 EntityGrid* grid = nullptr, int32_t state = cStateDeployedToGameBoard) {
        Entity* made = mGame->getEntity(mGame->createEntity(proto(name), owner));
        EXPECT_NE(made, nullptr) << name;
        if (made == nullptr)
            return nullptr;
        if (grid == nullptr)
            grid = mGame->mGameBoard;
        EXPECT_TRUE(grid->addEntityAt(made->mId, slot)) << name;
        made->mState = state;
        return made;
    }
    // Links the entity's view at a point; its view, or null when none was kept.
    static EntityView* link(Entity* entity, cocos2d::CCPoint at = cocos2d::CCPoint(100, 100)) {
        entity->linkAt(at);
        return dynamic_cast<EntityView*>(entity->getEntityLink());
    }
    // A new entity linked at once.
    EntityView* view(const char* name, int32_t owner = 0, GridSlot slot = GridSlot(1, 1),
                     EntityGrid* grid = nullptr, int32_t state = cStateDeployedToGameBoard) {
        Entity* made = make(name, owner, slot, grid, state);
        return made != nullptr ? link(made) : nullptr;
    }
    static bool hasCategory(const EntityView* view, const char* category) {
        return view->puppet() != nullptr &&
               view->puppet()->hasCategory(PuppetRegistry::categoryIndex(category));
    }

    GameScene* mBoardScene = nullptr;
    StepCountingGame* mGame = nullptr;
};
