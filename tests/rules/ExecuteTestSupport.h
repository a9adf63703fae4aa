#pragma once

// The game of the execution tests: the content of tests/fixtures/rules/execute
// (a 7 x 5 board with a crystal per side at (0, 2) and (6, 2); layout 0 has
// Teleporters, a SendTrain square, score, victory-damage and power squares,
// layout 1 none), local, player 0 to move with 5 action points, on the bare
// layout unless a test picks the other. Scenarios are built in code with the
// helpers of ActionsGameTest; actions made here are released at the end.
// Views, when a test wants them, record what the rewind asks of them.

#include "ActionsTestSupport.h"
#include "GameSetupTestSupport.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/Player.h"

#include "platform/engine/CCLayerColor.h"

#include <string>
#include <vector>

inline const std::string cExecuteFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/execute";

// An entity view that logs the calls of the rewind; its main node takes
// colour and opacity.
class LoggingEntityLink : public FakeEntityLink {
public:
    explicit LoggingEntityLink(Entity* owner) : FakeEntityLink(owner) {
        mMainNode->release();
        mLayer = cocos2d::CCLayerColor::node();
        mMainNode = mLayer;
        mMainNode->retain();
        mLayer->setOpacity(128);
    }
    void applyState(int32_t state) override { log("state " + std::to_string(state)); }
    void showAura(int32_t aura, bool, float, bool) override { mShownAuras.push_back(aura); }
    void hideAura(int32_t aura, bool, float) override { mHiddenAuras.push_back(aura); }
    void setHealthBarPercentage(float percent, bool, float) override {
        log("health " + std::to_string(static_cast<int>(percent)));
    }
    void setTeamColorVisible(bool visible) override { log(visible ? "team on" : "team off"); }
    void hideHealthBar(float) override { log("health bar off"); }
    void setCharge(int32_t charge) override { log("charge " + std::to_string(charge)); }
    void removeEquipment(const ProtoEntity* item) override {
        log("unequip " + (item != nullptr ? item->mName : std::string("?")));
    }
    void rebuildEquipmentDisplay() override { log("rebuild equipment"); }
    void showPuppetUpgradeLevel(int32_t level, int32_t idle, float) override {
        log("upgrade " + std::to_string(level) + " idle " + std::to_string(idle));
    }
    void showLink(Entity* target, bool) override { log("link " + std::to_string(target->mId)); }
    void hideLink(Entity* target, bool) override { log("unlink " + std::to_string(target->mId)); }

    void log(const std::string& line) { mLog.push_back(line); }
    bool logged(const std::string& line) const {
        return std::find(mLog.begin(), mLog.end(), line) != mLog.end();
    }
    bool shows(int32_t aura) const {
        return std::find(mShownAuras.begin(), mShownAuras.end(), aura) != mShownAuras.end();
    }
    bool hides(int32_t aura) const {
        return std::find(mHiddenAuras.begin(), mHiddenAuras.end(), aura) != mHiddenAuras.end();
    }
    uint8_t opacity() const { return mLayer->getOpacity(); }

    cocos2d::CCLayerColor* mLayer;
    std::vector<std::string> mLog;
    std::vector<int32_t> mShownAuras;
    std::vector<int32_t> mHiddenAuras;
};

class LoggingSceneServices : public FakeSceneServices {
public:
    CocosEntityLink* createEntityLink(Entity* entity) override {
        ++mLinksMade;
        return new LoggingEntityLink(entity);
    }
};

// A scene that also records the player banners' health and the
// crystal-debuff levels.
class BannerScene : public RecordingScene {
public:
    void setPlayerHealth(int32_t player, float fraction, bool, float) override {
        mHealth.push_back({player, fraction});
    }
    void setCrystalDebuffLevels(int32_t player, int32_t level, bool, float) override {
        mDebuffs.push_back({player, level});
    }
    std::vector<std::pair<int32_t, float>> mHealth;
    std::vector<std::pair<int32_t, int32_t>> mDebuffs;
};

class ExecuteTest : public ActionsGameTest {
protected:
    static constexpr int32_t cPremiumBoard = 0;
    static constexpr int32_t cBareBoard = 1;

    ExecuteTest() : ActionsGameTest(cExecuteFixture) {}

    void SetUp() override {
        ActionsGameTest::SetUp();
        board()->setProtoIndex(cBareBoard);
        for (Player* player : mGame->mPlayers)
            player->mActionPoints = 5;
    }
    void TearDown() override {
        for (CandidateAction* action : mActions)
            action->release();
        mActions.clear();
        if (mGame != nullptr)
            mGame->clearUndoStack(); // drops performed through the game
        gCurrentGame = nullptr;
        ActionsGameTest::TearDown();
    }

    // A new action of that type and cost by source, aimed at the square of
    // grid (the board when null); kept until the test ends.
    CandidateAction* prepare(int32_t type, const Entity* source, GridSlot slot, int32_t cost = 1,
                             EntityGrid* grid = nullptr) {
        auto* action = new CandidateAction(mGame, cost);
        mActions.push_back(action);
        EXPECT_TRUE(action->init(source != nullptr ? source->mId : -1, type, slot,
                                 grid != nullptr ? grid : board()));
        return action;
    }
    // The same, executed.
    CandidateAction* run(int32_t type, const Entity* source, GridSlot slot, int32_t cost = 1,
                         EntityGrid* grid = nullptr) {
        CandidateAction* action = prepare(type, source, slot, cost, grid);
        action->execute();
        return action;
    }
    // The view of an entity linked through LoggingSceneServices.
    static LoggingEntityLink* viewOf(const Entity* entity) {
        return dynamic_cast<LoggingEntityLink*>(entity->getEntityLink());
    }
    Player* player(int32_t index) const { return mGame->getPlayer(index); }

    std::vector<CandidateAction*> mActions;
};
