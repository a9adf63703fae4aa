// The effects that show an executed action, read as node state on the hand
// clock of a headless scene.

#include "RulesTestSupport.h"

#include "rules/ActionEffects.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/GameBoard.h"
#include "rules/core/RNG.h"

#include "content/DataPath.h"
#include "content/protos/ProtoEntity.h"
#include "content/settings/SettingsManager.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetInstance.h"

#include "platform/render/CCSprite.h"
#include "platform/render/CCTextureCache.h"

#include "tools/scenefakes/HeadlessEntityView.h"
#include "tools/scenefakes/HeadlessGameScene.h"
#include "tools/scenefakes/HeadlessSceneServices.h"

#include <algorithm>
#include <cmath>

namespace {

using cocos2d::CCPoint;

constexpr const char* cEffectsDatabase = R"(<Database>
  <entity name="archer"><Type>unit</Type><Hitpoints>100</Hitpoints><Power>100</Power>
    <Puppet>Units/Archer</Puppet></entity>
  <entity name="plain"><Type>unit</Type><Hitpoints>100</Hitpoints><Power>100</Power>
    <Puppet>Units/Plain</Puppet></entity>
  <entity name="crystal"><Type>unit</Type><Hitpoints>100</Hitpoints><VictoryUnit/>
    <Puppet>Units/Plain</Puppet></entity>
  <entity name="bare"><Type>unit</Type><Hitpoints>100</Hitpoints></entity>
  <entity name="drop"><Type>power</Type><Hitpoints>0</Hitpoints><Puppet>Units/Drop</Puppet></entity>
  <entity name="reviveBackEffect"><Type>effect</Type><Puppet>Effects/ReviveBack</Puppet></entity>
  <entity name="reviveFrontEffect"><Type>effect</Type><Puppet>Effects/ReviveFront</Puppet></entity>
</Database>)";

enum : int32_t { cArcherProto = 0, cPlainProto = 1, cCrystalProto = 2, cBareProto = 3, cDropProto = 4 };

// A game that counts the visual steps reported to it.
class StepGame : public Game {
public:
    void onVisualStepDone(Entity* entity) override { mSteps.push_back(entity); }
    std::vector<Entity*> mSteps;
};

// A board whose view has 100 x 80 squares and no perspective.
class EffectsBoard : public GameBoard {
public:
    using GameBoard::GameBoard;
    void createLink() override { mLink = new FakeGridLink(this, cocos2d::CCSize(100, 80), 1.0f); }
};

class ActionEffectsTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        mGame->release();
        mGame = new StepGame();
        mGame->mPlayers = {new Player(mGame, 0), new Player(mGame, 1)};
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
        Database::clear();
        setBaseFolder(TARNWICK_FIXTURES_DIR "/rules/effects");
        ASSERT_TRUE(loadTestDatabase(cEffectsDatabase));
        mServices = std::make_unique<HeadlessSceneServices>();
        mScene = std::make_unique<HeadlessGameScene>();
        mBoard = new EffectsBoard(-1, mGame);
        mGame->mGameBoard = mBoard;
        mBoard->setSize(9, 5);
        ASSERT_TRUE(mBoard->linkAt(CCPoint(0, 0)));
        gRng.seed(99);
    }
    void TearDown() override {
        for (CandidateAction* action : mActions)
            action->release();
        for (int32_t id = 0; Entity* made = entity(id); ++id)
            made->unlink();
        mScene.reset();
        mServices.reset();
        EffectGroup::clearRegistry();
        setBaseFolder({});
        cocos2d::CCTextureCache::purgeSharedTextureCache();
        RulesTest::TearDown();
    }

    // A unit of proto for owner standing on a square, its view at a point.
    Entity* standing(int32_t proto, int32_t owner, GridSlot square, CCPoint at) {
        Entity* unit = entity(create(proto, owner));
        EXPECT_TRUE(mBoard->placeEntityAt(unit->mId, square));
        unit->mState = cStateDeployedToGameBoard;
        if (!unit->hasLink())
            EXPECT_TRUE(unit->link(at, cocos2d::CCSize(0, 0)));
        node(unit)->setPosition(at);
        return unit;
    }
    static cocos2d::CCNode* node(const Entity* unit) {
        return unit->getEntityLink()->getMainNode();
    }
    static HeadlessEntityView* view(const Entity* unit) {
        return dynamic_cast<HeadlessEntityView*>(unit->getEntityLink());
    }
    CandidateAction* action(int32_t type, const Entity* source, const Entity* target) {
        auto* made = new CandidateAction(mGame, 0);
        mActions.push_back(made);
        made->mActionType = type;
        made->mSourceEntity = source != nullptr ? source->mId : -1;
        made->mTargetEntity = target != nullptr ? target->mId : -1;
        if (source != nullptr)
            made->mSourceSlot = source->mSlot;
        if (target != nullptr)
            made->mTargetSlot = target->mSlot;
        made->mTargetGrid = cGridGameBoard;
        made->mTargetOwner = 0;
        return made;
    }
    // The registered effect nodes of a kind.
    template <class T> std::vector<T*> effects() const {
        std::vector<T*> found;
        for (cocos2d::CCNode* made : mScene->effectNodes())
            if (auto* typed = dynamic_cast<T*>(made))
                found.push_back(typed);
        return found;
    }
    // The effect puppets of a puppet file.
    std::vector<PuppetInstance*> puppetsOf(const char* path) const {
        std::vector<PuppetInstance*> found;
        const int32_t index = PuppetRegistry::loadPuppet(path);
        for (PuppetInstance* puppet : effects<PuppetInstance>())
            if (puppet->getPuppetIndex() == index)
                found.push_back(puppet);
        return found;
    }
    static void run(float seconds, float step = 0.005f) {
        for (float left = seconds; left > 1e-6f; left -= step)
            cocos2d::CCDirector::sharedDirector()->tick(std::min(step, left));
    }
    ProjectileInfo& projectile(int32_t proto, int32_t move, int32_t orient) {
        ProtoEntity* made = Database::getProto(proto);
        made->mProjectileInfo = std::make_unique<ProjectileInfo>();
        made->mProjectileInfo->mMoveType = move;
        made->mProjectileInfo->mOrientType = orient;
        made->mProjectileInfo->mSpeed = 400.0f;
        made->mProjectileInfo->mArcHeight = 60.0f;
        made->mProjectileInfo->mArt = "Arrow.png";
        return *made->mProjectileInfo;
    }

    std::unique_ptr<HeadlessSceneServices> mServices;
    std::unique_ptr<HeadlessGameScene> mScene;
    EffectsBoard* mBoard = nullptr;
    std::vector<CandidateAction*> mActions;
};

TEST_F(ActionEffectsTest, ImpactEffectPaths) {
    const char* expected[] = {"Effects/FX-Impact01",       "Effects/FX-ImpactBig01",
                              "Effects/FX-ImpactMagic01",  "Effects/FX-ImpactMagicBig01",
                              "Effects/FX-ImpactRanged01", "Effects/FX-ImpactRangedBig01"};
    std::string path = "stale";
    for (int32_t type = 0; type < 6; ++type) {
        EXPECT_TRUE(impactEffectPath(type, path));
        EXPECT_EQ(path, expected[type]);
    }
    for (int32_t type : {-1, 6}) {
        path = "stale";
        EXPECT_FALSE(impactEffectPath(type, path));
        EXPECT_EQ(path, "");
    }
}

TEST_F(ActionEffectsTest, EffectPuppetsShowAfterTheirDelay) {
    EXPECT_EQ(createEffectPuppet("Effects/Missing", 3), nullptr);
    EXPECT_EQ(playEffectPuppet("Effects/Missing", CCPoint(1, 2), 3, 0.0f, false), nullptr);
    EXPECT_TRUE(mScene->effectNodes().empty());
    PuppetInstance* puppet =
        playEffectPuppet("Effects/ArrowHit", CCPoint(50, 60), 7, 0.3f, true);
    ASSERT_NE(puppet, nullptr);
    EXPECT_EQ(puppet->getZOrder(), 7);
    EXPECT_TRUE(puppet->isFlipX());
    EXPECT_FALSE(puppet->getIsVisible());
    run(0.29f);
    EXPECT_FALSE(puppet->getIsVisible());
    run(0.02f);
    EXPECT_TRUE(puppet->getIsVisible());
    EXPECT_EQ(puppet->getCurrentState(), cAnimStatePlay);
    cocos2d::CCNode* layer = createEffectLayer(12);
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->getZOrder(), 12);
    EXPECT_EQ(mScene->effectNodes().size(), 2u);
}

TEST_F(ActionEffectsTest, ArcJumpsAndDirectMoves) {
    for (int32_t move : {cProjectileArc, cProjectileDirect}) {
        mScene->clearEffectNodes();
        projectile(cArcherProto, move, cOrientNone);
        Entity* archer = standing(cArcherProto, 0, GridSlot(1, 2), CCPoint(100, 100));
        Entity* target = standing(cPlainProto, 1, GridSlot(5, 2), CCPoint(500, 100));
        launchProjectile(action(cActionAttack, archer, target), archer->mSlot, target->mSlot,
                         false, 0.2f);
        const auto sprites = effects<cocos2d::CCSprite>();
        ASSERT_EQ(sprites.size(), 1u) << move;
        cocos2d::CCSprite* arrow = sprites[0];
        // Launched from the launch point at time 0.2, taken from the node's anchor.
        auto* puppet = dynamic_cast<PuppetInstance*>(node(archer));
        ASSERT_NE(puppet, nullptr);
        const CCPoint bone = puppet->getBonePosition(
            cAnimStateAttack, PuppetRegistry::boneIndex("BoneLaunchpoint"), 0.2f, true);
        ASSERT_GT(bone.x, 0.0f);
        const CCPoint start(100.0f + bone.x,
                            100.0f + bone.y -
                                     puppet->getAnchorPoint().y * puppet->getContentSize().height);
        const CCPoint end(500.0f, 108.0f);
        EXPECT_NEAR(arrow->getPosition().x, start.x, 0.01f);
        EXPECT_NEAR(arrow->getPosition().y, start.y, 0.01f);
        EXPECT_EQ(arrow->getZOrder(),
                  std::max(node(archer)->getZOrder(), node(target)->getZOrder()) + 1000);
        EXPECT_EQ(arrow->getOpacity(), 0);
        const float seconds = ccpDistance(start, end) / 400.0f;
        run(0.2f + 0.01f + seconds / 2.0f);
        EXPECT_NEAR(arrow->getPosition().x, 0.5f * (start.x + end.x), 3.0f) << move;
        if (move == cProjectileArc)
            EXPECT_NEAR(arrow->getPosition().y, 0.5f * (start.y + end.y) + 60.0f, 3.0f)
                << "the arc's top";
        else
            EXPECT_NEAR(arrow->getPosition().y, 0.5f * (start.y + end.y), 1.0f);
        run(seconds / 2.0f + 0.02f);
        EXPECT_NEAR(arrow->getPosition().x, end.x, 0.01f);
        EXPECT_NEAR(arrow->getPosition().y, end.y, 0.01f);
        EXPECT_EQ(arrow->getOpacity(), 0) << "faded out at the end";
        for (Entity* made : {archer, target}) {
            mBoard->removeEntity(made->mId);
            made->unlink();
        }
    }
}

} // namespace
