#pragma once

// Helpers of the rules tests: a small proto database, a game with two
// players, fake views that the scene services hand out and record, and the
// sounds that reach the audio engine.

#include "rules/CocosEntityGridLink.h"
#include "rules/CocosEntityLink.h"
#include "rules/Entity.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/Player.h"
#include "rules/SceneServices.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "content/XMLHelper.h"
#include "content/protos/Database.h"
#include "puppet/PuppetRegistry.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/audio/RecordingAudioBackend.h"
#include "platform/audio/SimpleAudioEngine.h"

#include "platform/engine/CCAutoreleasePool.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

// The protos of the tests, by id: 0 knight, 1 archer, 2 crystal, 3 sword,
// 4 puppetKnight, 5 councilKnight.
inline constexpr const char* cTestDatabase = R"(<Database>
  <entity name="knight"><Type>unit</Type><Class>Melee</Class><Hitpoints>1000</Hitpoints>
    <MaxCharge>3</MaxCharge><KeepsPlayerInGame/></entity>
  <entity name="archer"><Type>unit</Type><Class>Ranged</Class><Hitpoints>800</Hitpoints>
    <KeepsPlayerInGame/></entity>
  <entity name="crystal"><Type>unit</Type><Hitpoints>400</Hitpoints><VictoryUnit/>
    <KeepsPlayerInGame/><NotSelectable/></entity>
  <entity name="sword"><Type>gear</Type><Hitpoints>0</Hitpoints></entity>
  <entity name="puppetKnight"><Type>unit</Type><Hitpoints>1000</Hitpoints>
    <Puppet>Civ/Test/Knight</Puppet></entity>
  <entity name="councilKnight"><Type>unit</Type><Class>Melee</Class><Hitpoints>1200</Hitpoints>
    <MaxCharge>1</MaxCharge></entity>
</Database>)";

enum TestProto : int32_t {
    cKnight = 0,
    cArcher = 1,
    cCrystal = 2,
    cSword = 3,
    cPuppetKnight = 4,
    cCouncilKnight = 5,
};

inline bool loadTestDatabase(const char* text = cTestDatabase) {
    XMLHelper holder;
    holder.setText(text);
    XmlNode* root = nullptr;
    return holder.parse(root) && Database::loadRoot(root);
}

// An entity view with a real main node placed where the view is attached.
class FakeEntityLink : public CocosEntityLink {
public:
    explicit FakeEntityLink(Entity* owner) : CocosEntityLink(owner) {
        mMainNode = cocos2d::CCNode::node();
        mMainNode->retain();
    }
    ~FakeEntityLink() override {
        mMainNode->removeFromParentAndCleanup(true);
        mMainNode->release();
    }
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override {
        mMainNode->setPosition(position);
        return CocosEntityLink::attach(position, size);
    }
    cocos2d::CCNode* getMainNode() const override { return mMainNode; }
    bool hitTestPuppet(const cocos2d::CCPoint& /*point*/) const override { return mPuppetHit; }
    void hideTooltipIndicator() override { ++mTooltipHides; }

    cocos2d::CCNode* mMainNode;
    bool mPuppetHit = false;
    int mTooltipHides = 0;
};

// Scene services that make fake entity views.
class FakeSceneServices : public SceneServices {
public:
    FakeSceneServices() { setSceneServices(this); }
    ~FakeSceneServices() override { setSceneServices(nullptr); }

    CocosEntityLink* createEntityLink(Entity* entity) override {
        ++mLinksMade;
        return mMakeLinks ? new FakeEntityLink(entity) : nullptr;
    }
    cocos2d::CCSize tileTouchHalfExtents() override { return mHalfExtents; }

    bool mMakeLinks = true;
    int mLinksMade = 0;
    cocos2d::CCSize mHalfExtents{20.0f, 20.0f};
};

// While it lives, sounds reach a recording audio back end: the option
// "Sound" is set and sounds are enabled. The rules' tests load no sound
// sets, so names play as files.
class SoundRecorder {
public:
    SoundRecorder() {
        auto backend = std::make_unique<CocosDenshion::RecordingAudioBackend>();
        mBackend = backend.get();
        CocosDenshion::SimpleAudioEngine::sharedEngine()->setBackend(std::move(backend));
        gSoundsEnabled = true;
        BConfig::instance().defineById(cOptSound);
    }
    ~SoundRecorder() {
        BConfig::instance().unsetById(cOptSound);
        CocosDenshion::SimpleAudioEngine::end();
    }

    // The files played in order, "panned:" before those played panned.
    std::vector<std::string> played() const {
        std::vector<std::string> files;
        const std::vector<std::string>& calls = mBackend->calls();
        for (size_t i = 0; i < calls.size(); ++i) {
            const std::string& call = calls[i];
            if (call.rfind("playEffect ", 0) != 0)
                continue;
            const size_t from = call.find(' ', 11) + 1;
            const std::string file = call.substr(from, call.rfind(" loop=") - from);
            const bool panned = i + 1 < calls.size() && calls[i + 1].rfind("setEffectPan ", 0) == 0;
            files.push_back(panned ? "panned:" + file : file);
        }
        return files;
    }
    // The audio engine's calls, one line each.
    const std::vector<std::string>& calls() const { return mBackend->calls(); }

private:
    CocosDenshion::RecordingAudioBackend* mBackend;
};

// A grid view with chosen measures.
class FakeGridLink : public CocosEntityGridLink {
public:
    FakeGridLink(EntityGrid* owner, cocos2d::CCSize cell, float farScale)
        : CocosEntityGridLink(owner) {
        mCellSize = cell;
        mFarScale = farScale;
    }
};

// A plain grid whose view has chosen measures.
class MeasuredGrid : public EntityGrid {
public:
    MeasuredGrid(Game* game, cocos2d::CCSize cell, float farScale)
        : EntityGrid(-1, game), mCell(cell), mFarScale(farScale) {}
    ~MeasuredGrid() override { unlink(); }
    void createLink() override { mLink = new FakeGridLink(this, mCell, mFarScale); }

    cocos2d::CCSize mCell;
    float mFarScale;
};

// A games list holding records by id.
class FakeGamesList : public GamesList {
public:
    FakeGamesList() { setGamesList(this); }
    ~FakeGamesList() override { setGamesList(nullptr); }
    GameRecord* findGame(int64_t gameId) override {
        const auto found = mRecords.find(gameId);
        return found != mRecords.end() ? found->second.get() : nullptr;
    }
    std::string getNickname() const override { return mNickname; }

    // A record of two active players with those colour indices.
    GameRecord& addRecord(int64_t gameId, int32_t homeColor, int32_t awayColor) {
        auto record = std::make_unique<GameRecord>();
        record->mGameID = gameId;
        for (const auto& [name, color] : {std::pair{"alice", homeColor}, {"bob", awayColor}}) {
            auto player = std::make_unique<PlayerRecord>();
            player->mName = name;
            player->mStatus = cGameActive;
            player->mColor = color;
            record->mPlayers.push_back(std::move(player));
        }
        GameRecord& kept = *record;
        mRecords[gameId] = std::move(record);
        return kept;
    }

    std::map<int64_t, std::unique_ptr<GameRecord>> mRecords;
    std::string mNickname = "alice";
};

// A game of two players over the test database, local and at player 0's turn.
class RulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Links the option registrations into the test program.
        ASSERT_EQ(registeredOptionCount(), cRegisteredOptionCount);
        Database::clear();
        PuppetRegistry::clear();
        ASSERT_TRUE(loadTestDatabase());
        mGame = new Game();
        mGame->mPlayers = {new Player(mGame, 0), new Player(mGame, 1)};
        mGame->mCurrentPlayer = 0;
        mGame->mFlags |= cGameLocal;
    }
    void TearDown() override {
        mGame->release();
        Database::clear();
        PuppetRegistry::clear();
        if (cocos2d::CCDirector::hasSharedDirector())
            cocos2d::CCDirector::sharedDirector()->purgeDirector();
        cocos2d::CCPoolManager::sharedPoolManager()->finalize();
    }

    int32_t create(int32_t proto, int32_t owner = 0) { return mGame->createEntity(proto, owner); }
    Entity* entity(int32_t id) const { return mGame->getEntity(id); }

    Game* mGame = nullptr;
};
