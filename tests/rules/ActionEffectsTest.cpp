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
#include "content/settings/ProtoCiv.h"
#include "content/settings/SettingsManager.h"
#include "puppet/EffectGroup.h"
#include "puppet/PuppetDefinition.h"
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

enum : int32_t {
    cArcherProto = 0,
    cPlainProto = 1,
    cCrystalProto = 2,
    cBareProto = 3,
    cDropProto = 4
};

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
        if (mCountSteps) {
            mGame->release();
            mGame = new StepGame();
            mGame->mPlayers = {new Player(mGame, 0), new Player(mGame, 1)};
            mGame->mCurrentPlayer = 0;
            mGame->mFlags |= cGameLocal;
        }
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
        if (!unit->hasLink()) {
            EXPECT_TRUE(unit->link(at, cocos2d::CCSize(0, 0)));
        }
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

    // The game counts visual steps (a StepGame, which the saved state does not know).
    bool mCountSteps = false;
    std::unique_ptr<HeadlessSceneServices> mServices;
    std::unique_ptr<HeadlessGameScene> mScene;
    GameBoard* mBoard = nullptr;
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
    PuppetInstance* puppet = playEffectPuppet("Effects/ArrowHit", CCPoint(50, 60), 7, 0.3f, true);
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
        launchProjectile(action(cActionAttack, archer, target), archer->mSlot, target->mSlot, false,
                         0.2f);
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

// A projectile launched by a bare unit (no puppet: no launch offset) at
// from toward a target whose aim point is to.
struct Shot {
    cocos2d::CCSprite* sprite;
    CCPoint start;
    CCPoint end;
};

class ProjectileTest : public ActionEffectsTest {
protected:
    Shot shoot(ProjectileInfo& info, CCPoint from, CCPoint to, float delay = 0.2f) {
        (void)info;
        mScene->clearEffectNodes();
        Entity* source = standing(cBareProto, 0, GridSlot(mNextColumn, 0), from);
        Entity* target =
            standing(cPlainProto, 1, GridSlot(mNextColumn, 1), CCPoint(to.x, to.y - 8));
        ++mNextColumn;
        launchProjectile(action(cActionAttack, source, target), source->mSlot, target->mSlot, false,
                         delay);
        const auto sprites = effects<cocos2d::CCSprite>();
        EXPECT_EQ(sprites.size(), 1u);
        return {sprites.empty() ? nullptr : sprites[0], from, to};
    }
    int32_t mNextColumn = 0;
};

TEST_F(ProjectileTest, OrientationRules) {
    const struct {
        int32_t move;
        int32_t orient;
        CCPoint from;
        CCPoint to;
        float startRotation;
        float endRotation;
        bool flipped;
    } cases[] = {
        // Direction on an arc: up to the apex (2 x 60 above the middle), then
        // down; leftward it turns by -90 (270 - 360), not by 270.
        {cProjectileArc, cOrientDirection, {100, 100}, {340, 100}, -45.0f, 45.0f, false},
        {cProjectileArc, cOrientDirection, {340, 100}, {100, 100}, -135.0f, -225.0f, false},
        {cProjectileDirect, cOrientDirection, {100, 100}, {200, 200}, -45.0f, -45.0f, false},
        // Spin: 0.3 s x 360 x 2 turns, against the flight leftward.
        {cProjectileArc, cOrientSpin, {100, 100}, {340, 100}, 0.0f, 216.0f, false},
        {cProjectileArc, cOrientSpin, {340, 100}, {100, 100}, 0.0f, -216.0f, false},
        {cProjectileDirect, cOrientNone, {340, 100}, {100, 100}, 0.0f, 0.0f, true},
        {cProjectileDirect, cOrientNone, {100, 100}, {340, 100}, 0.0f, 0.0f, false},
    };
    for (const auto& c : cases) {
        ProjectileInfo& info = projectile(cBareProto, c.move, c.orient);
        info.mSpinSpeed = 2.0f;
        const Shot shot = shoot(info, c.from, c.to);
        ASSERT_NE(shot.sprite, nullptr);
        EXPECT_NEAR(shot.sprite->getRotation(), c.startRotation, 0.01f) << c.move << c.orient;
        EXPECT_EQ(shot.sprite->isFlipX(), c.flipped);
        run(0.2f + 0.01f + info.flightTime(ccpDistance(c.from, c.to)) + 0.02f);
        EXPECT_NEAR(shot.sprite->getRotation(), c.endRotation, 0.01f) << c.move << c.orient;
        EXPECT_NEAR(shot.sprite->getPosition().x, c.to.x, 0.01f);
    }
}

TEST_F(ProjectileTest, SpinningArcFliesTwiceItsHeightWhateverTheDistance) {
    for (float distance : {120.0f, 480.0f}) {
        ProjectileInfo& info = projectile(cBareProto, cProjectileArc, cOrientSpin);
        const Shot shot = shoot(info, CCPoint(100, 100), CCPoint(100 + distance, 100), 0.0f);
        // 2 x 60 / 400 = 0.3 s of flight after the 0.01 s fade-in.
        run(0.01f + 0.15f);
        EXPECT_NEAR(shot.sprite->getPosition().x, 100.0f + distance / 2.0f, distance * 0.02f);
        run(0.16f);
        EXPECT_NEAR(shot.sprite->getPosition().x, 100.0f + distance, 0.01f);
    }
}

TEST_F(ProjectileTest, AccelerationEasesTheMotionIn) {
    ProjectileInfo& info = projectile(cBareProto, cProjectileDirect, cOrientNone);
    info.mAccelerationRate = 1000.0f;
    const Shot shot = shoot(info, CCPoint(100, 100), CCPoint(600, 100), 0.0f);
    const float seconds = info.flightTime(500.0f);
    EXPECT_FLOAT_EQ(seconds, 1.0f);
    run(0.01f + 0.5f);
    EXPECT_NEAR(shot.sprite->getPosition().x, 100.0f + 500.0f * std::pow(0.5f, 2.5f), 3.0f);
}

TEST_F(ActionEffectsTest, LaunchOffsetMirrors) {
    const struct {
        int32_t targetColumn;
        bool sourceFlipped;
        bool mirrored;
    } cases[] = {{5, false, false}, {0, false, true}, {2, false, false}, {2, true, true}};
    for (const auto& c : cases) {
        mScene->clearEffectNodes();
        projectile(cArcherProto, cProjectileDirect, cOrientNone);
        Entity* archer = standing(cArcherProto, 0, GridSlot(2, 0), CCPoint(300, 100));
        Entity* target = standing(cPlainProto, 1, GridSlot(c.targetColumn, 3),
                                  CCPoint(100.0f * c.targetColumn, 400));
        auto* puppet = dynamic_cast<PuppetInstance*>(node(archer));
        puppet->setFlipX(c.sourceFlipped);
        launchProjectile(action(cActionAttack, archer, target), archer->mSlot, target->mSlot, false,
                         0.0f);
        const CCPoint bone = puppet->getBonePosition(
            cAnimStateAttack, PuppetRegistry::boneIndex("BoneLaunchpoint"), 0.0f, true);
        const auto sprites = effects<cocos2d::CCSprite>();
        ASSERT_EQ(sprites.size(), 1u);
        EXPECT_NEAR(sprites[0]->getPosition().x, 300.0f + (c.mirrored ? -bone.x : bone.x), 0.01f)
            << c.targetColumn << " " << c.sourceFlipped;
        for (Entity* made : {archer, target}) {
            mBoard->removeEntity(made->mId);
            made->unlink();
        }
    }
}

TEST_F(ActionEffectsTest, ImpactPuppetAndLaunchArt) {
    for (bool big : {false, true}) {
        mScene->clearEffectNodes();
        ProjectileInfo& info = projectile(cBareProto, cProjectileDirect, cOrientNone);
        info.mImpactEffect = "Effects/ArrowHit";
        info.mImpactEffectBig = "Effects/ArrowHitBig";
        info.mLaunchArt = big ? "Effects/Launch01" : "Flash.png";
        Entity* source = standing(cBareProto, 0, GridSlot(1, 0), CCPoint(100, 100));
        Entity* target = standing(cPlainProto, 1, GridSlot(5, 0), CCPoint(500, 92));
        CandidateAction* shot = action(cActionAttack, source, target);
        launchProjectile(shot, source->mSlot, target->mSlot, big, 0.2f);
        const std::vector<PuppetInstance*> hits =
            puppetsOf(big ? "Effects/ArrowHitBig" : "Effects/ArrowHit");
        ASSERT_EQ(hits.size(), 1u) << big;
        EXPECT_TRUE(puppetsOf(big ? "Effects/ArrowHit" : "Effects/ArrowHitBig").empty());
        EXPECT_EQ(hits[0]->getPosition().x, 500.0f);
        EXPECT_EQ(hits[0]->getPosition().y, 100.0f);
        if (big) {
            const std::vector<PuppetInstance*> flashes = puppetsOf("Effects/Launch01");
            ASSERT_EQ(flashes.size(), 1u);
            const CCPoint aim = cocos2d::ccpSub(mBoard->pointForCoords(GridSlot(5, 0), true),
                                                flashes[0]->getPosition());
            EXPECT_NEAR(flashes[0]->getRotation(), 180.0f - std::atan2(aim.y, aim.x) * 57.29578f,
                        0.01f)
                << "aimed at the target square";
        } else {
            const auto sprites = effects<cocos2d::CCSprite>();
            ASSERT_EQ(sprites.size(), 2u);
            cocos2d::CCSprite* flash = sprites[1];
            EXPECT_EQ(flash->getAnchorPoint().x, 0.0f);
            EXPECT_FLOAT_EQ(flash->getScale(), 0.5f);
            EXPECT_NEAR(flash->getRotation(), 45.0f, 0.01f);
            EXPECT_FALSE(flash->getIsVisible());
        }
        // 400 units at 400 per second land at 0.2 + 1.0.
        run(0.2f + 0.99f);
        EXPECT_FALSE(hits[0]->getIsVisible());
        run(0.03f);
        EXPECT_TRUE(hits[0]->getIsVisible());
        for (Entity* made : {source, target}) {
            mBoard->removeEntity(made->mId);
            made->unlink();
        }
    }
}

TEST_F(ActionEffectsTest, ChainBoltsPerLinkStaggeredOnEnemiesOnly) {
    for (bool big : {false, true}) {
        mScene->clearEffectNodes();
        ProjectileInfo& info = projectile(cBareProto, cProjectileChain, cOrientNone);
        info.mLaunchArt = "BoltA.png";
        info.mLaunchArt2 = "BoltB.png";
        info.mArt = "Spark.png";
        info.mArt2 = "Spark2.png";
        Entity* source = entity(create(cBareProto, 0));
        ASSERT_TRUE(source->link(CCPoint(100, 100), cocos2d::CCSize(0, 0)));
        Entity* ally = entity(create(cPlainProto, 0));
        ASSERT_TRUE(ally->link(CCPoint(300, 100), cocos2d::CCSize(0, 0)));
        Entity* enemy = entity(create(cPlainProto, 1));
        ASSERT_TRUE(enemy->link(CCPoint(500, 100), cocos2d::CCSize(0, 0)));
        playChainLightning(source, {ally->mId, enemy->mId}, big, 0.5f);
        const int bolts = big ? 10 : 3;
        const auto sprites = effects<cocos2d::CCSprite>();
        // Bolts and one spark per link (two for a big chain).
        ASSERT_EQ(sprites.size(), static_cast<size_t>(2 * bolts + (big ? 4 : 2)));
        cocos2d::CCSprite* firstBolt = sprites[0];
        EXPECT_NEAR(firstBolt->getPosition().x, 200.0f, 0.01f);
        EXPECT_NEAR(firstBolt->getScaleX(), 2.0f, 0.001f);
        EXPECT_NEAR(firstBolt->getScaleY(), 1.0f, 0.001f);
        cocos2d::CCSprite* secondLinkBolt = sprites[static_cast<size_t>(bolts + (big ? 2 : 1))];
        EXPECT_NEAR(secondLinkBolt->getPosition().x, 400.0f, 0.01f);
        EXPECT_NEAR(secondLinkBolt->getScaleY(), 0.8f, 0.001f);
        // The ally link starts at 0.5, the enemy link (k = 1) 0.15 later.
        run(0.52f);
        EXPECT_GT(firstBolt->getOpacity(), 0);
        EXPECT_EQ(secondLinkBolt->getOpacity(), 0);
        run(0.15f);
        EXPECT_GT(secondLinkBolt->getOpacity(), 0);
        for (Entity* made : {source, ally, enemy})
            made->unlink();
    }
}

TEST_F(ActionEffectsTest, CrystalShardsFromTheCosmeticGenerator) {
    Entity* attacker = standing(cPlainProto, 0, GridSlot(5, 2), CCPoint(500, 100));
    Entity* crystal = standing(cCrystalProto, 1, GridSlot(1, 2), CCPoint(100, 100));
    CandidateAction* hit = action(cActionAttack, attacker, crystal);
    hit->getOrCreateResult(crystal->mId)->mFinalState = cStateKnockedOut;
    gRng.seed(2024);
    playCrystalShardBurst(hit, attacker, crystal, 0.1f);
    const auto sprites = effects<cocos2d::CCSprite>();
    ASSERT_EQ(sprites.size(), 10u);
    // x, y, scale and z of each shard for the seed (the crystal lies left:
    // the shards fly left).
    const float golden[10][4] = {
        {102.57f, 101.76f, 1.0796f, 39}, {104.87f, 94.10f, 0.8424f, 39},
        {102.34f, 99.48f, 0.9793f, 41},  {96.43f, 102.05f, 1.1847f, 41},
        {95.18f, 98.98f, 0.8901f, 41},   {98.77f, 95.16f, 0.8382f, 41},
        {97.53f, 95.64f, 1.1073f, 41},   {101.74f, 97.65f, 0.9527f, 39},
        {101.71f, 94.78f, 0.9751f, 41},  {104.59f, 105.69f, 1.1036f, 41},
    };
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_NEAR(sprites[i]->getPosition().x, golden[i][0], 0.006f) << i;
        EXPECT_NEAR(sprites[i]->getPosition().y, golden[i][1], 0.006f) << i;
        EXPECT_NEAR(sprites[i]->getScale(), golden[i][2], 0.0001f) << i;
        EXPECT_EQ(sprites[i]->getZOrder(), static_cast<int>(golden[i][3])) << i;
        EXPECT_EQ(sprites[i]->getChildrenCount(), 1u);
        EXPECT_EQ(sprites[i]->getOpacity(), 0);
    }
    // The first shard's draws, in their order: y jitter, x jitter, scale.
    RNG replay;
    replay.seed(2024);
    const float jitterY = static_cast<float>(replay.rand()) * 20.0f - 10.0f;
    const float jitterX = static_cast<float>(replay.rand()) * 10.0f - 5.0f;
    EXPECT_NEAR(sprites[0]->getPosition().x, 100.0f + jitterX, 0.001f);
    EXPECT_NEAR(sprites[0]->getPosition().y, 100.0f + jitterY, 0.001f);
    EXPECT_NEAR(sprites[0]->getScale(), 0.8f + 0.4f * static_cast<float>(replay.rand()), 0.0001f);
    // A knocked-out crystal resets its debuff display and breaks.
    ASSERT_EQ(view(crystal)->mCalls.size(), 1u);
    EXPECT_EQ(view(crystal)->mCalls[0].mName, "crystalDebuff");
    EXPECT_EQ(view(crystal)->mCalls[0].mValue, 0.0f);
    EXPECT_EQ(puppetsOf("Effects/CrystalDestruction01").size(), 1u);
    run(0.12f);
    EXPECT_GT(sprites[0]->getOpacity(), 0);
    EXPECT_LT(sprites[0]->getPosition().x, golden[0][0]) << "flies away from the attacker";
}

TEST_F(ActionEffectsTest, HealCrossesOrSoulLeech) {
    Entity* healer = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* patient = standing(cPlainProto, 0, GridSlot(2, 1), CCPoint(200, 100));
    healer->getProto()->mAttackInfo->mLeechPercentage = 0.5f;
    CandidateAction* heal = action(cActionHeal, healer, patient);
    playHealEffect(heal, patient, 0.2f);
    auto crosses = effects<cocos2d::CCSprite>();
    ASSERT_EQ(crosses.size(), 3u);
    EXPECT_EQ(crosses[1]->getPosition().x, 185.0f);
    EXPECT_EQ(crosses[2]->getPosition().y, 110.0f);
    EXPECT_FLOAT_EQ(crosses[0]->getScale(), 0.1f);
    EXPECT_EQ(crosses[0]->getZOrder(), node(patient)->getZOrder() + 1);
    run(0.45f);
    EXPECT_NEAR(crosses[0]->getPosition().y, 90.0f + 45.0f * 0.25f / 0.4f, 0.5f);
    EXPECT_NEAR(crosses[1]->getPosition().y, 100.0f + 45.0f * 0.1f / 0.4f, 0.5f);
    EXPECT_EQ(crosses[2]->getPosition().y, 110.0f) << "not started";
    mScene->clearEffectNodes();
    // The leeching source itself: the soul-leech puppet instead.
    playHealEffect(heal, healer, 0.0f);
    EXPECT_TRUE(effects<cocos2d::CCSprite>().empty());
    EXPECT_EQ(puppetsOf("Effects/SoulLeech01").size(), 1u);
}

TEST_F(ActionEffectsTest, HealthChangeFlyouts) {
    Entity* unit = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    CandidateAction* hit = action(cActionAttack, unit, unit);
    showHealthChange(unit, -20, hit, 0.5f);
    showHealthChange(unit, 0, hit, 0.5f);
    showHealthChange(unit, 15, hit, 0.5f);
    ASSERT_EQ(mScene->mCalls.size(), 2u);
    EXPECT_EQ(mScene->mCalls[0].mName, "damage");
    EXPECT_EQ(mScene->mCalls[0].mValue, -20);
    EXPECT_FLOAT_EQ(mScene->mCalls[0].mDelay, 0.5f);
    EXPECT_EQ(mScene->mCalls[1].mName, "healing");
    EXPECT_FLOAT_EQ(mScene->mCalls[1].mDelay, 0.8f);
    EXPECT_EQ(effects<cocos2d::CCSprite>().size(), 3u) << "with the crosses";
}

TEST_F(ActionEffectsTest, KnockbackMarkOnlyWhenTheColumnChanged) {
    Entity* attacker = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* pushed = standing(cPlainProto, 1, GridSlot(4, 1), CCPoint(400, 100));
    ActionResultInfo result(pushed->mId);
    result.mInitialSlot = GridSlot(3, 1);
    result.mFinalSlot = GridSlot(3, 2);
    playKnockbackEffect(&result, attacker, 0.0f);
    EXPECT_TRUE(mScene->effectNodes().empty());
    result.mFinalSlot = GridSlot(2, 1);
    playKnockbackEffect(&result, attacker, 0.0f);
    const auto marks = effects<cocos2d::CCSprite>();
    ASSERT_EQ(marks.size(), 1u);
    EXPECT_TRUE(marks[0]->isFlipX());
    EXPECT_FLOAT_EQ(marks[0]->getAnchorPoint().x, 0.8f);
    const CCPoint square = mBoard->pointForCoords(GridSlot(3, 1), true);
    EXPECT_FLOAT_EQ(marks[0]->getPosition().y, square.y - 16.0f);
    run(0.81f);
    EXPECT_NEAR(marks[0]->getPosition().x, square.x - 3.0f, 0.01f);
}

TEST_F(ActionEffectsTest, ImpactCategoriesOverridesAndDamagedOnly) {
    Entity* attacker = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* hit = standing(cPlainProto, 1, GridSlot(4, 1), CCPoint(400, 100));
    ProtoEntity* proto = attacker->getProto();
    EffectOverride custom;
    custom.mImpactType = 4;
    custom.mEffectName = "Effects/Custom";
    custom.mOffsetZ = 5;
    custom.mRotate = false;
    custom.mDamagedOnly = true;
    proto->mEffectOverrides.push_back(custom);
    const struct {
        bool magic, ranged, big;
        int32_t change;
        const char* puppet;
        int zOffset;
    } cases[] = {
        {false, false, false, -10, "Effects/Impact0", 1},
        {false, false, true, -10, "Effects/Impact1", 1},
        {true, true, false, -10, "Effects/Impact2", 1},
        {true, true, true, -10, "Effects/Impact3", 1},
        {false, true, true, -10, "Effects/Impact5", 1},
        {false, true, false, -10, "Effects/Custom", 5},
        // A damaged-only override is skipped when nothing was lost.
        {false, true, false, 0, "Effects/Impact4", 1},
    };
    for (const auto& c : cases) {
        mScene->clearEffectNodes();
        playImpactEffect(hit, action(cActionAttack, attacker, hit), c.magic, c.ranged, c.big,
                         c.change, 0.0f);
        const auto layers = mScene->effectNodes();
        ASSERT_EQ(layers.size(), 1u) << c.puppet;
        EXPECT_EQ(layers[0]->getZOrder(), node(hit)->getZOrder() + c.zOffset) << c.puppet;
        ASSERT_EQ(layers[0]->getChildrenCount(), 1u) << c.puppet;
        auto* spawned =
            dynamic_cast<PuppetInstance*>(layers[0]->getChildren()->getObjectAtIndex(0));
        ASSERT_NE(spawned, nullptr);
        EXPECT_EQ(spawned->getPuppetIndex(), PuppetRegistry::loadPuppet(c.puppet)) << c.puppet;
        EXPECT_EQ(spawned->getPosition().y, 108.0f);
        // Rotated away from the attacker (180 - 0) unless the override says no.
        EXPECT_FLOAT_EQ(spawned->getRotation(), c.zOffset == 5 ? 0.0f : 180.0f) << c.puppet;
    }
}

TEST_F(ActionEffectsTest, MeleeSlashPlaysAbilityForAllButTheLastHit) {
    Entity* attacker = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* target = standing(cPlainProto, 1, GridSlot(2, 1), CCPoint(200, 100));
    playMeleeSlash(attacker, target, false, true, 0.0f);
    EXPECT_EQ(node(attacker)->getChildrenCount(), 0u) << "the proto shows no slash";
    attacker->getProto()->mShowMeleeSlashEffect = true;
    const struct {
        bool big, notLast;
        const char* puppet;
        int32_t state;
    } cases[] = {
        {false, true, "Effects/MeleeSlash01", cAnimStateAbility},
        {false, false, "Effects/MeleeSlash01", cAnimStatePlay},
        // The big slash has no Ability.
        {true, true, "Effects/MeleeSlashBig01", cAnimStatePlay},
    };
    for (const auto& c : cases) {
        node(attacker)->removeAllChildrenWithCleanup(true);
        playMeleeSlash(attacker, target, c.big, c.notLast, 0.1f);
        ASSERT_EQ(node(attacker)->getChildrenCount(), 1u);
        auto* slash =
            dynamic_cast<PuppetInstance*>(node(attacker)->getChildren()->getObjectAtIndex(0));
        ASSERT_NE(slash, nullptr);
        EXPECT_EQ(slash->getPuppetIndex(), PuppetRegistry::loadPuppet(c.puppet));
        EXPECT_EQ(slash->getZOrder(), 100);
        EXPECT_TRUE(slash->isFlipX());
        EXPECT_FALSE(slash->getIsVisible());
        run(0.11f);
        EXPECT_TRUE(slash->getIsVisible());
        EXPECT_EQ(slash->getCurrentState(), c.state) << c.puppet << " " << c.notLast;
    }
}

TEST_F(ActionEffectsTest, ScoreFlyoutsOnlyWhenScoreCounts) {
    Entity* unit = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* other = standing(cPlainProto, 1, GridSlot(2, 1), CCPoint(200, 100));
    CandidateAction* scored = action(cActionAttack, unit, other);
    scored->getOrCreateResult(unit->mId)->mScore = 30;
    scored->getOrCreateResult(other->mId)->mScore = 0;
    SettingsManager::instance().mScoreToWin = 0;
    playScoreFlyouts(scored, 0.4f);
    EXPECT_TRUE(mScene->mCalls.empty());
    SettingsManager::instance().mScoreToWin = 500;
    playScoreFlyouts(scored, 0.4f);
    ASSERT_EQ(mScene->mCalls.size(), 1u);
    EXPECT_EQ(mScene->mCalls[0].mName, "score");
    EXPECT_EQ(mScene->mCalls[0].mValue, 30);
    EXPECT_TRUE(mScene->mCalls[0].mFlag) << "counts";
    EXPECT_FLOAT_EQ(mScene->mCalls[0].mFraction, 1.0f) << "scale";
    EXPECT_EQ(mScene->mCalls[0].mPosition.x, 100.0f);
    SettingsManager::instance().mScoreToWin = -1;
}

TEST_F(ActionEffectsTest, CorpseStompChoice) {
    auto orcs = std::make_unique<ProtoCiv>(7);
    orcs->mName = "orcs";
    SettingsManager::instance().mCivs.push_back(std::move(orcs));
    const struct {
        int32_t stomperOwner; // -1: no stomper
        bool apForStomp;
        bool victoryUnit;
        bool diesOnKnockOut;
        bool stompedOrc;
        const char* puppet;
        bool regen;
    } cases[] = {
        {1, true, false, false, false, "Civ/KX4/Effects/CorpseStompAP01", true},
        {1, true, false, false, true, "Civ/KX4/Effects/CorpseStompAP01", true},
        {0, true, false, false, false, "Effects/CorpseStomp01", false},
        {1, false, false, false, false, "Effects/CorpseStomp01", false},
        {1, true, true, false, false, "Effects/CorpseStomp01", false},
        {1, true, false, true, true, "Civ/Orcs/Effects/CorpseStompBR01", false},
        {-1, true, false, false, true, "Civ/Orcs/Effects/CorpseStompBR01", false},
    };
    int column = 0;
    for (const auto& c : cases) {
        mScene->clearEffectNodes();
        mScene->mCalls.clear();
        mGame->mCurrentPlayer = 1;
        Entity* stomped = standing(c.victoryUnit ? cCrystalProto : cBareProto, 0,
                                   GridSlot(column, 0), CCPoint(100, 100));
        if (c.victoryUnit)
            mGame->mPlayers[0]->mVictoryUnitIds.push_back(stomped->mId);
        stomped->getProto()->mDiesOnKnockOut = c.diesOnKnockOut;
        mGame->mPlayers[0]->mCivId = c.stompedOrc ? 7 : -1;
        Entity* stomper = c.stomperOwner < 0 ? nullptr
                                             : standing(cPlainProto, c.stomperOwner,
                                                        GridSlot(column, 1), CCPoint(100, 200));
        ++column;
        Database::getProto(cPlainProto)->mAPForStomp = c.apForStomp;
        playCorpseStompEffect(stomped, stomper, action(cActionAttack, stomper, stomped), 9, 0.1f);
        EXPECT_EQ(puppetsOf(c.puppet).size(), 1u) << c.puppet << " row " << column;
        EXPECT_EQ(mScene->effectNodes().size(), 1u);
        EXPECT_EQ(!mScene->mCalls.empty() && mScene->mCalls[0].mName == "apRegen", c.regen)
            << "row " << column;
        stomped->getProto()->mDiesOnKnockOut = false;
    }
}

TEST_F(ActionEffectsTest, AurasSkipPremiumSquaresAndHidePowerAtOnce) {
    Entity* unit = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    ActionResultInfo result(unit->mId);
    result.mFinalAuraFlags.assign(20, false);
    for (int aura : {1, 3, 7, 14})
        result.mFinalAuraFlags[static_cast<size_t>(aura)] = true;
    updateAuras(mGame, &result, 0.5f);
    std::vector<std::string> calls;
    for (const auto& call : view(unit)->mCalls)
        calls.push_back(call.mName + " " + std::to_string(static_cast<int>(call.mValue)) + " " +
                        std::to_string(call.mDelay).substr(0, 3));
    const std::vector<std::string> expected = {
        "hideAura 0 0.0",  "showAura 1 0.5",  "hideAura 6 0.5",  "showAura 7 0.5",
        "hideAura 8 0.0",  "hideAura 9 0.5",  "hideAura 10 0.5", "hideAura 11 0.5",
        "hideAura 12 0.5", "hideAura 13 0.5", "hideAura 15 0.5", "hideAura 16 0.5",
        "hideAura 17 0.5", "hideAura 18 0.5", "hideAura 19 0.5"};
    EXPECT_EQ(calls, expected);
}

TEST_F(ActionEffectsTest, BloodrageGainPlaysInPlace) {
    Entity* unit = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    const struct {
        std::vector<bool> before, after;
        bool plays;
    } cases[] = {
        {{false, false}, {true, false}, true},  {{}, {true, true}, true},
        {{true, false}, {true, false}, false},  {{false, false}, {true}, false},
        {{false, false}, {false, true}, false},
    };
    for (const auto& c : cases) {
        mServices->mAnimations.clear();
        ActionResultInfo result(unit->mId);
        result.mInitialFlags = c.before;
        result.mFinalFlags = c.after;
        playBloodrageGain(mGame, &result, 0.3f);
        ASSERT_EQ(mServices->mAnimations.size(), c.plays ? 1u : 0u);
        if (c.plays) {
            EXPECT_EQ(mServices->mAnimations[0].mKind, HeadlessSceneServices::Animation::cInPlace);
            EXPECT_EQ(mServices->mAnimations[0].mState, cAnimStateGainBloodRage);
            EXPECT_FLOAT_EQ(mServices->mAnimations[0].mDelay, 0.3f);
        }
    }
}

class StepCountingTest : public ActionEffectsTest {
protected:
    StepCountingTest() { mCountSteps = true; }
};

TEST_F(StepCountingTest, CastPowerDropFallsAndReports) {
    Entity* power = standing(cDropProto, 0, GridSlot(3, 4), CCPoint(0, 0));
    CandidateAction* cast = action(cActionCastPower, power, nullptr);
    cast->mTargetSlot = GridSlot(3, 2);
    playCastPowerDrop(cast);
    const CCPoint a = mBoard->pointForCoords(GridSlot(3, 4), true);
    const CCPoint b = mBoard->pointForCoords(GridSlot(3, 0), true);
    cocos2d::CCNode* drop = node(power);
    EXPECT_EQ(drop->getZOrder(), 1);
    EXPECT_NEAR(drop->getPosition().y, a.y - 1.75f * (b.y - a.y), 0.01f);
    EXPECT_FALSE(drop->getIsVisible());
    auto& steps = static_cast<StepGame*>(mGame)->mSteps;
    run(0.75f);
    EXPECT_TRUE(drop->getIsVisible());
    EXPECT_NEAR(drop->getPosition().y,
                0.5f * (a.y - 1.75f * (b.y - a.y) + b.y + 1.5f * (b.y - a.y)), 1.0f);
    EXPECT_TRUE(steps.empty());
    run(0.8f);
    EXPECT_FALSE(drop->getIsVisible());
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], power);

    // Without a puppet: nothing shows and nothing is reported.
    Entity* bare = standing(cBareProto, 0, GridSlot(5, 4), CCPoint(10, 10));
    playCastPowerDrop(action(cActionCastPower, bare, nullptr));
    run(2.0f);
    EXPECT_EQ(node(bare)->getPosition().x, 10.0f);
    EXPECT_EQ(steps.size(), 1u);
}

TEST_F(StepCountingTest, TeleportReportsOnlyWithAPuppet) {
    auto& steps = static_cast<StepGame*>(mGame)->mSteps;
    Entity* unit = standing(cPlainProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    float delay = -1.0f;
    playTeleportEffect(action(cActionMove, unit, nullptr), unit->mId, GridSlot(1, 1),
                       GridSlot(6, 3), 0.3f, &delay);
    EXPECT_FLOAT_EQ(delay, 0.3f);
    EXPECT_EQ(node(unit)->getZOrder(), mBoard->zOrderForCoords(GridSlot(6, 3)));
    const auto flashes = puppetsOf("Effects/Teleport01");
    ASSERT_EQ(flashes.size(), 2u);
    const CCPoint arrival = mBoard->pointForCoords(GridSlot(6, 3), true);
    EXPECT_FLOAT_EQ(flashes[1]->getPosition().y, arrival.y - 12.0f);
    // Scale 0.2, delay 0.3, fade 0.1 and the two jumps, then Deploy (0.5 s),
    // 0.4 s, and the report.
    run(0.2f + 0.3f + 0.1f + 0.01f);
    EXPECT_NEAR(node(unit)->getPosition().x, arrival.x, 0.01f);
    run(0.5f + 0.3f);
    EXPECT_TRUE(steps.empty());
    run(0.2f);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0], unit);

    mScene->clearEffectNodes();
    Entity* bare = standing(cBareProto, 0, GridSlot(2, 1), CCPoint(200, 100));
    playTeleportEffect(action(cActionMove, bare, nullptr), bare->mId, GridSlot(2, 1),
                       GridSlot(7, 3), 0.0f, &delay);
    EXPECT_EQ(puppetsOf("Effects/Teleport01").size(), 2u);
    run(2.0f);
    EXPECT_EQ(node(bare)->getPosition().x, 200.0f) << "no node moves";
    EXPECT_EQ(steps.size(), 1u) << "and nothing is reported";
}

TEST_F(ActionEffectsTest, EffectsLeaveTheModelAndItsGeneratorAlone) {
    // A plain board, which the saved state knows.
    delete mGame->mGameBoard;
    mBoard = new GameBoard(-1, mGame);
    mGame->mGameBoard = mBoard;
    mBoard->setSize(9, 5);
    Entity* archer = standing(cArcherProto, 0, GridSlot(1, 1), CCPoint(100, 100));
    Entity* crystal = standing(cCrystalProto, 1, GridSlot(6, 1), CCPoint(600, 100));
    Entity* power = standing(cDropProto, 0, GridSlot(3, 4), CCPoint(0, 0));
    mGame->mPlayers[1]->mVictoryUnitIds.push_back(crystal->mId);
    ProjectileInfo& info = projectile(cArcherProto, cProjectileArc, cOrientSpin);
    info.mImpactEffect = "Effects/ArrowHit";
    info.mLaunchArt = "Effects/Launch01";
    mGame->mRng.seed(5);
    const std::vector<uint8_t> blob = mGame->saveToBuffer();
    RNG rng = mGame->mRng;

    CandidateAction* hit = action(cActionAttack, archer, crystal);
    ActionResultInfo* record = hit->getOrCreateResult(crystal->mId);
    record->mHealthChange = -20;
    record->mScore = 10;
    record->mFinalAuraFlags.assign(20, true);
    record->mInitialSlot = GridSlot(6, 1);
    record->mFinalSlot = GridSlot(7, 1);
    float delay = 0.0f;
    launchProjectile(hit, archer->mSlot, crystal->mSlot, true, 0.1f);
    playChainLightning(archer, {crystal->mId}, true, 0.1f);
    playCrystalShardBurst(hit, archer, crystal, 0.1f);
    playImpactEffect(crystal, hit, false, true, true, -20, 0.1f);
    playMeleeSlash(archer, crystal, true, true, 0.1f);
    playKnockbackEffect(record, archer, 0.1f);
    playHealEffect(hit, archer, 0.1f);
    showHealthChange(crystal, -20, hit, 0.1f);
    showPlayerHealth(crystal, hit, 0.8f, 0.1f);
    playScoreFlyouts(hit, 0.1f);
    playReviveEffect(crystal, 0.1f);
    playTeleportEffect(hit, archer->mId, GridSlot(1, 1), GridSlot(2, 1), 0.1f, &delay);
    playCastPowerDrop(action(cActionCastPower, power, crystal));
    playNinjaSmoke(CCPoint(5, 5), 3, 0.1f);
    playDeploySmoke(hit, crystal);
    playTyphoon(hit, GridSlot(4, 2));
    playCorpseStompEffect(crystal, archer, hit, 9, 0.1f);
    playStompSound(hit);
    playUpgradeAnimation(hit, 0);
    applyPuppetUpgradeLevel(mGame, archer->mId, 0);
    updateAuras(mGame, record, 0.1f);
    playBloodrageGain(mGame, record, 0.1f);
    playPremiumSquareReactions(hit);
    run(3.0f);

    EXPECT_EQ(mGame->saveToBuffer(), blob);
    EXPECT_EQ(mGame->mRng.randInt(), rng.randInt());
    EXPECT_EQ(puppetsOf("Effects/ReviveBack").size(), 1u);
    EXPECT_EQ(puppetsOf("Effects/ReviveFront").size(), 1u);
}

TEST_F(ActionEffectsTest, MissingPiecesShowNothing) {
    Entity* bare = entity(create(cBareProto, 0)); // no view
    Entity* unit = standing(cPlainProto, 1, GridSlot(2, 2), CCPoint(200, 200));
    CandidateAction* orphan = action(cActionAttack, bare, unit);
    float delay = 0.0f;
    launchProjectile(orphan, GridSlot(0, 0), GridSlot(2, 2), false, 0.0f);
    launchProjectile(nullptr, GridSlot(0, 0), GridSlot(2, 2), false, 0.0f);
    playChainLightning(bare, {unit->mId}, false, 0.0f);
    playCrystalShardBurst(orphan, bare, unit, 0.0f);
    playImpactEffect(bare, orphan, false, false, false, -5, 0.0f);
    playMeleeSlash(bare, unit, false, false, 0.0f);
    playKnockbackEffect(nullptr, unit, 0.0f);
    playHealEffect(orphan, bare, 0.0f);
    showHealthChange(bare, -5, orphan, 0.0f);
    showPlayerHealth(nullptr, orphan, 1.0f, 0.0f);
    playScoreFlyouts(nullptr, 0.0f);
    playReviveEffect(bare, 0.0f);
    playTeleportEffect(orphan, 99, GridSlot(0, 0), GridSlot(1, 1), 0.0f, &delay);
    playCastPowerDrop(nullptr);
    playDeploySmoke(orphan, bare);
    playCorpseStompEffect(bare, unit, orphan, 0, 0.0f);
    playStompSound(orphan);
    playUpgradeAnimation(nullptr, 1);
    applyPuppetUpgradeLevel(mGame, unit->mId, 5);
    updateAuras(mGame, nullptr, 0.0f);
    playBloodrageGain(mGame, nullptr, 0.0f);
    playPremiumSquareReactions(nullptr);
    EXPECT_TRUE(mScene->effectNodes().empty());
    EXPECT_TRUE(mScene->mCalls.empty());
}

TEST(SampleEffectContent, EveryEffectLoads) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    PuppetRegistry::clear();
    ASSERT_TRUE(PuppetRegistry::loadAttachmentsFile("Attachments"));
    const char* puppets[] = {"Effects/MeleeSlash01",
                             "Effects/MeleeSlashBig01",
                             "Effects/SoulLeech01",
                             "Effects/CrystalDestruction01",
                             "Effects/CorpseStomp01",
                             "Effects/Teleport01",
                             "Effects/ArrowHit",
                             "Effects/AxeHit",
                             "Effects/WitchHit",
                             "Effects/LightningBig",
                             "Effects/ReviveBack01",
                             "Effects/ReviveFront01",
                             "Civ/Orcs/Effects/CorpseStompBR01",
                             "Civ/Orcs/Effects/Typhoon01",
                             "Civ/KX4/Effects/CorpseStompAP01"};
    for (const char* path : puppets) {
        const PuppetDefinition* puppet =
            PuppetRegistry::getPuppet(PuppetRegistry::loadPuppet(path));
        ASSERT_NE(puppet, nullptr) << path;
        EXPECT_NE(puppet->getAnimForState(cAnimStatePlay), nullptr) << path;
    }
    EXPECT_NE(PuppetRegistry::getPuppet(PuppetRegistry::loadPuppet("Effects/MeleeSlash01"))
                  ->getAnimForState(cAnimStateAbility),
              nullptr);
    for (int32_t type = 0; type < 6; ++type) {
        std::string path;
        ASSERT_TRUE(impactEffectPath(type, path));
        EXPECT_GE(EffectGroup::load(path), 0) << path;
    }
    for (const char* group : {"Civ/Humans/KnightSlash", "Civ/Orcs/GrenadeBlast"})
        EXPECT_GE(EffectGroup::load(group), 0) << group;
    EffectGroup::clearRegistry();
    PuppetRegistry::clear();
    setBaseFolder({});
}

} // namespace
