#pragma once

// The game of the execution tests with the headless board scene: a
// recording scene on a real layer, entity views holding real nodes, and the
// animation driver stand-in, which reports a visual step 0.5 s after its
// line's delay. Actions performed through the game play their visuals on
// the hand clock (tick).

#include "ExecuteTestSupport.h"

#include "rules/AnimStateIds.h"

#include "tools/scenefakes/HeadlessAnimationDriver.h"
#include "tools/scenefakes/HeadlessEntityView.h"
#include "tools/scenefakes/HeadlessGameScene.h"

#include "platform/engine/CCDirector.h"

#include <algorithm>
#include <memory>

class PlaybackTest : public ExecuteTest {
protected:
    using Line = HeadlessSceneServices::Animation;
    static constexpr float cStep = 0.5f;

    void SetUp() override {
        ExecuteTest::SetUp();
        mDriver = std::make_unique<HeadlessAnimationDriver>(cStep);
        mScene = std::make_unique<HeadlessGameScene>();
        mScene->setGame(mGame);
        gCurrentGame = mGame;
        undoStack().clear();
    }
    void TearDown() override {
        mGame->unlink(false);
        mScene->setGame(nullptr);
        mScene.reset();
        mDriver.reset();
        CandidateAction::hitDelays().clear();
        ExecuteTest::TearDown();
    }

    // Views for the board's and both racks' pieces.
    void showGame() {
        board()->linkAt(cocos2d::CCPoint(40.0f, 20.0f));
        rack(0)->linkAt(cocos2d::CCPoint(40.0f, 300.0f));
    }
    // Prepared, then performed through the game (which plays it).
    CandidateAction* perform(int32_t type, const Entity* source, GridSlot slot, int32_t cost = 1,
                             EntityGrid* grid = nullptr) {
        CandidateAction* action = prepare(type, source, slot, cost, grid);
        mGame->performAction(action);
        return action;
    }
    // Recorded in the game's list as a performed action, not yet played.
    CandidateAction* record(CandidateAction* action) {
        action->retain();
        mGame->mActions.push_back(action);
        return action;
    }
    static void tick(float seconds, float step = 0.01f) {
        for (float left = seconds; left > 1e-6f; left -= step)
            cocos2d::CCDirector::sharedDirector()->tick(std::min(step, left));
    }
    // The driver's lines for an entity, in order.
    std::vector<Line> linesOf(const Entity* entity) const {
        std::vector<Line> found;
        for (const Line& line : mDriver->mAnimations)
            if (line.mEntity == entity)
                found.push_back(line);
        return found;
    }
    // The scene's calls of a name.
    std::vector<HeadlessGameScene::Call> sceneCalls(const std::string& name) const {
        std::vector<HeadlessGameScene::Call> found;
        for (const auto& call : mScene->mCalls)
            if (call.mName == name)
                found.push_back(call);
        return found;
    }
    static HeadlessEntityView* viewOf(const Entity* entity) {
        return dynamic_cast<HeadlessEntityView*>(entity->getEntityLink());
    }

    std::unique_ptr<HeadlessAnimationDriver> mDriver;
    std::unique_ptr<HeadlessGameScene> mScene;
};
