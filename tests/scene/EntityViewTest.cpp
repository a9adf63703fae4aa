// Building an entity view: mirroring, art and sheets, health layers,
// upgrade puppets, debuff puppets, tooltips, the hidden health bar, the
// owner check, animation variants and the tooltip anchors.

#include "EntityViewTestSupport.h"

#include "scene/widgets/HealthBar.h"
#include "scene/widgets/TooltipManager.h"

#include "puppet/PuppetAnimAction.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"

#include "platform/engine/CCAnimation.h"
#include "platform/engine/CCMutableArray.h"
#include "platform/engine/CCSpriteFrame.h"
#include "platform/render/CCSprite.h"
#include "platform/render/CCTexture2D.h"

#include <algorithm>

using namespace cocos2d;

namespace {

bool isFlipped(const CCNode* node) {
    if (const auto* puppet = dynamic_cast<const PuppetInstance*>(node))
        return puppet->isFlipX();
    return dynamic_cast<const CCSprite*>(node)->isFlipX();
}

// A games list of one record of two players, "alice" (the local player)
// and "bob", with "bob" to move.
class OneGameList : public GamesList {
public:
    explicit OneGameList(int64_t gameId) {
        mRecord.mGameID = gameId;
        for (const char* name : {"alice", "bob"}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            mRecord.mPlayers.push_back(std::move(player));
        }
        mRecord.mCurrentTurnPlayer = "bob";
        setGamesList(this);
    }
    ~OneGameList() override { setGamesList(nullptr); }
    GameRecord* findGame(int64_t gameId) override {
        return gameId == mRecord.mGameID ? &mRecord : nullptr;
    }
    std::string getNickname() const override { return "alice"; }

    GameRecord mRecord;
};

} // namespace

TEST_F(EntityViewTest, TheSecondTeamIsMirroredOnTheSameSquare) {
    const struct {
        const char* name;
        int32_t owner;
        bool flipped;
        CCPoint anchor;
    } cases[] = {
        {"knight", 0, false, CCPoint(0.25f, 0.125f)}, {"knight", 1, true, CCPoint(0.25f, 0.125f)},
        {"archer", 0, false, CCPoint(0.25f, 0.125f)}, {"archer", 1, true, CCPoint(0.75f, 0.125f)},
        {"train", 0, false, CCPoint(0.25f, 0.5f)},    {"train", 1, true, CCPoint(0.75f, 0.5f)},
    };
    int32_t x = 0;
    for (const auto& c : cases) {
        EntityView* made = view(c.name, c.owner, GridSlot(x++, 0));
        ASSERT_NE(made, nullptr) << c.name;
        EXPECT_EQ(isFlipped(made->getMainNode()), c.flipped) << c.name << " of " << c.owner;
        EXPECT_EQ(made->getMainNode()->getAnchorPoint(), c.anchor) << c.name << " of " << c.owner;
        EXPECT_EQ(made->getMainNode()->getParent(), mBoardScene);
        EXPECT_EQ(made->getPosition(), CCPoint(100, 100));
    }
}

TEST_F(EntityViewTest, ArtOfTheSecondTeamAndSheetsCutIntoCells) {
    // "Art2" for the second team (30 x 30), "Art" when it has none.
    EXPECT_EQ(view("archer", 1, GridSlot(0, 0))->getMainNode()->getContentSize(), CCSize(30, 30));
    EXPECT_EQ(view("scout", 1, GridSlot(1, 0))->getMainNode()->getContentSize(), CCSize(20, 20));

    // The second team's sheet has its first "Blue" as "Red".
    CCSpriteFrameCache* frames = CCSpriteFrameCache::sharedSpriteFrameCache();
    EntityView* red = view("train", 1, GridSlot(2, 0));
    EXPECT_NE(frames->spriteFrameByName("Units/KnightRed_Blue.png_frame_0"), nullptr);
    EXPECT_EQ(frames->spriteFrameByName("Units/KnightBlue_Blue.png_frame_0"), nullptr);
    EXPECT_EQ(frames->spriteFrameByName("Units/KnightRed_Blue.png_frame_6"), nullptr);
    EXPECT_NE(frames->spriteFrameByName("Units/KnightRed_Blue.png_frame_5"), nullptr);
    // 2 x 3 cells of 16 x 8: states 0..5 and 6..11 show cells 0..5.
    for (int32_t state = 0; state < 12; ++state) {
        CCAnimation* animation = red->getAnimation(state);
        ASSERT_NE(animation, nullptr);
        EXPECT_EQ(animation->getName(), "anim " + std::to_string(state));
        const int32_t cell = state % 6;
        EXPECT_EQ(animation->getFrames()->getObjectAtIndex(0)->getRect(),
                  CCRect(float(16 * (cell % 2)), float(8 * (cell / 2)), 16, 8))
            << state;
    }
    EXPECT_EQ(red->getMainNode()->getContentSize(), CCSize(16, 8));
    // The first team's sheet keeps its name.
    view("train", 0, GridSlot(3, 0));
    EXPECT_NE(frames->spriteFrameByName("Units/KnightBlue_Blue.png_frame_0"), nullptr);

    // A sheet without cells: a bare sprite and no animations.
    EntityView* empty = view("cart", 0, GridSlot(4, 0));
    ASSERT_NE(empty->getMainNode(), nullptr);
    EXPECT_EQ(static_cast<CCSprite*>(empty->getMainNode())->getTexture(), nullptr);
    EXPECT_EQ(empty->getAnimation(0), nullptr);
}

TEST_F(EntityViewTest, HealthLayersUpgradePuppetsAndTier) {
    Entity* full = make("knight", 0, GridSlot(0, 0));
    EXPECT_TRUE(hasCategory(link(full), "HealthFull"));
    EXPECT_TRUE(hasCategory(dynamic_cast<EntityView*>(full->getEntityLink()), "Player1"));
    Entity* half = make("knight", 1, GridSlot(1, 0));
    half->mHealth = 400;
    EntityView* halfView = link(half);
    EXPECT_TRUE(hasCategory(halfView, "HealthWeak"));
    EXPECT_TRUE(hasCategory(halfView, "Player2"));

    const int32_t up1 = PuppetRegistry::loadPuppet("Units/KnightUp1");
    const int32_t up2 = PuppetRegistry::loadPuppet("Units/KnightUp2");
    const int32_t base = PuppetRegistry::loadPuppet("Units/Knight");
    const struct {
        int32_t level;
        int32_t puppet;
    } cases[] = {{0, base}, {1, up1}, {2, up2}, {3, up2}};
    int32_t x = 2;
    for (const auto& c : cases) {
        Entity* unit = make("knight", 0, GridSlot(x++, 0));
        unit->mPuppetUpgradeLevel = c.level;
        EntityView* made = link(unit);
        ASSERT_NE(made->puppet(), nullptr);
        // Level 3 starts from the empty instance of a missing upgrade and a
        // tier above the upgrades keeps it.
        if (c.level == 3)
            EXPECT_EQ(made->puppet()->getPuppetIndex(), -1);
        else
            EXPECT_EQ(made->puppet()->getPuppetIndex(), c.puppet) << c.level;
    }
}

TEST_F(EntityViewTest, AKnockedOutVictoryUnitStartsAtDebuffLevelThree) {
    EntityView* standing = view("crystal", 0, GridSlot(0, 0));
    EXPECT_EQ(standing->getCrystalDebuffLevel(), 0);
    EntityView* down = view("crystal", 1, GridSlot(1, 0), nullptr, cStateKnockedOut);
    EXPECT_EQ(down->getCrystalDebuffLevel(), 3);
    ASSERT_NE(down->getCrystalDebuffFront(), nullptr);
    EXPECT_FALSE(down->getCrystalDebuffFront()->getIsVisible());
    EXPECT_FALSE(down->getCrystalDebuffBack()->getIsVisible());
    EXPECT_EQ(down->getCrystalDebuffFront()->getZOrder(), 10);
    EXPECT_EQ(down->getCrystalDebuffBack()->getZOrder(), -10);
    EXPECT_EQ(down->getCrystalDebuffFront()->getParent(), down->getMainNode());
}

TEST_F(EntityViewTest, TooltipsOnTheBoardAndTheOwnersRackOnly) {
    Player* first = mGame->mPlayers[0];
    Player* second = mGame->mPlayers[1];
    const struct {
        const char* name;
        int32_t owner;
        EntityGrid* grid;
        int32_t state;
        int32_t kind;
    } cases[] = {
        {"knight", 0, mGame->mGameBoard, cStateDeployedToGameBoard, 0},
        {"crystal", 1, mGame->mGameBoard, cStateDeployedToGameBoard, 2},
        {"knight", 0, first->mTileRack, cStateOnTileRack, 0},
        {"knight", 0, second->mTileRack, cStateOnTileRack, -1},
        {"knight", 0, mGame->mTileChest, cStateInTileChest, -1},
        {"knight", 1, second->mGraveyard, cStateDead, -1},
    };
    int32_t x = 0;
    for (const auto& c : cases) {
        EntityView* made = view(c.name, c.owner, GridSlot(x++ % 4, 0), c.grid, c.state);
        ASSERT_NE(made, nullptr);
        const auto& targets = gTooltipManager.targets();
        const bool registered = std::find(targets.begin(), targets.end(),
                                          static_cast<TooltipProtocol*>(made)) != targets.end();
        EXPECT_EQ(made->mTooltipKind, c.kind) << x;
        EXPECT_EQ(registered, c.kind >= 0) << x;
        EXPECT_EQ(made->mTooltipIndicator != nullptr, c.kind >= 0) << x;
    }
}

TEST_F(EntityViewTest, EveryRelinkBuildsTheHealthBarHidden) {
    Entity* unit = make("knight", 0);
    for (int round = 0; round < 2; ++round) {
        EntityView* made = link(unit);
        HealthBar* bar = made->getHealthBar();
        ASSERT_NE(bar, nullptr);
        EXPECT_FALSE(bar->getIsVisible());
        EXPECT_EQ(bar->getOpacity(), 0);
        EXPECT_EQ(bar->getParent(), made->getMainNode());
        EXPECT_EQ(bar->getZOrder(), 1000);
        // 38 above the anchor point of the puppet.
        const CCSize size = made->getMainNode()->getContentSize();
        EXPECT_EQ(bar->getPosition(), CCPoint(size.width * 0.25f, size.height * 0.125f + 38));
        made->showHealthBar(0.1f);
        run(0.2f);
        EXPECT_TRUE(bar->getIsVisible());
    }
}

TEST_F(EntityViewTest, BarsAndMarkersOnlyWithTheScenesTexturesAndFrames) {
    mBoardScene->mHealthGreenTexture->release();
    mBoardScene->mHealthGreenTexture = nullptr;
    mBoardScene->mReticleFrames[0]->release();
    mBoardScene->mReticleFrames[0] = nullptr;
    EntityView* own = view("knight", 0, GridSlot(0, 0));
    EXPECT_EQ(own->getHealthBar(), nullptr);
    EXPECT_EQ(own->getTargetMarkerNode(), nullptr);
    own->updateHealthBar(0.0f);
    own->setTargetMarker(1);
    EXPECT_NE(view("knight", 1, GridSlot(1, 0))->getHealthBar(), nullptr) << "red is there";
}

TEST_F(EntityViewTest, AnOnlineGameKeepsNoViewOfAnOwnerItHasNoRecordOf) {
    mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
    mGame->mGameID = 77;
    Entity* unit = make("knight", 1);
    EXPECT_FALSE(unit->linkAt(CCPoint(0, 0)));
    EXPECT_EQ(unit->getEntityLink(), nullptr);
    mGame->mFlags |= cGameLocal;
    EXPECT_TRUE(unit->linkAt(CCPoint(0, 0)));
    EXPECT_NE(unit->getEntityLink(), nullptr);
}

TEST_F(EntityViewTest, MissingProtoAndPuppetBuildNothingAndSucceed) {
    Entity* unit = make("knight", 0);
    unit->mProtoId = 999;
    EntityView* made = link(unit);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->getMainNode(), nullptr);
    EXPECT_EQ(made->getPosition(), CCPoint(100, 100));
}

TEST_F(EntityViewTest, IdleVariantsAndDualWieldAttacks) {
    // A rack unit built in the opponent's turn sleeps; a full board unit
    // idles full.
    mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
    mGame->mGameID = 5;
    OneGameList games(5);
    EntityView* sleeper =
        view("knight", 0, GridSlot(0, 0), mGame->mPlayers[0]->mTileRack, cStateOnTileRack);
    ASSERT_NE(sleeper, nullptr);
    EXPECT_EQ(sleeper->puppet()->getCurrentState(), cAnimStateSleep);
    EntityView* standing = view("knight", 0, GridSlot(0, 0));
    EXPECT_EQ(standing->puppet()->getCurrentState(), cAnimStateIdleFull);

    // A dual-wield item on a dual-wield unit: Attack becomes AttackUpgrade
    // below big-attack power, until the item comes off.
    Entity* unit = standing->entity();
    const ProtoEntity* sword = Database::getProto(proto("sword"));
    ActionResultInfo result(unit->mId);
    result.mPower = 100;
    EXPECT_EQ(unit->chooseAnimationVariant(cAnimStateAttack, &result, false), cAnimStateAttack);
    standing->applyEquipment(sword, false);
    EXPECT_TRUE(standing->isDualWielding());
    EXPECT_EQ(unit->chooseAnimationVariant(cAnimStateAttack, &result, false),
              cAnimStateAttackUpgrade);
    result.mPower = 200;
    EXPECT_EQ(unit->chooseAnimationVariant(cAnimStateAttack, &result, false), cAnimStateAttackBig);
    standing->removeEquipment(sword);
    result.mPower = 100;
    EXPECT_EQ(unit->chooseAnimationVariant(cAnimStateAttack, &result, false), cAnimStateAttack);
}

TEST_F(EntityViewTest, TooltipAnchorsBesideTheNodeExceptForVictoryUnits) {
    EntityView* unit = view("knight", 0, GridSlot(0, 0));
    EntityView* crystal = view("crystal", 0, GridSlot(1, 0));
    unit->getMainNode()->setPosition(CCPoint(40, 60));
    crystal->getMainNode()->setPosition(CCPoint(40, 60));
    EXPECT_EQ(unit->getTooltipPosition(), CCPoint(55, 60));
    EXPECT_EQ(unit->getTooltipIndicatorPosition(), CCPoint(40, 60));
    EXPECT_EQ(crystal->getTooltipPosition(), CCPoint(40, 60));
    EXPECT_EQ(crystal->getTooltipIndicatorPosition(), CCPoint(40, 60));
}

TEST_F(EntityViewTest, TheCrossoverVanityLayerForAClassAvatarOfItsCiv) {
    auto civ = std::make_unique<ProtoCiv>(4);
    civ->mName = "kx4a";
    SettingsManager::instance().mCivs.push_back(std::move(civ));
    mGame->mPlayers[0]->mCivId = 4;
    mGame->mPlayers[1]->mCivId = 4;
    mBoardScene->mClassAvatar = {true, false};
    EXPECT_TRUE(hasCategory(view("knight", 0, GridSlot(0, 0)), "kx4vanity"));
    EXPECT_FALSE(hasCategory(view("knight", 1, GridSlot(1, 0)), "kx4vanity"));
    mGame->mPlayers[0]->mCivId = 2;
    EXPECT_FALSE(hasCategory(view("knight", 0, GridSlot(2, 0)), "kx4vanity"));
}
