#pragma once

// Helpers of the puzzle tests: scripts parsed from inline text, a scene whose
// puzzle script records what results send it (and passes it on to the
// script under test), and actions with hand-made result records over the
// rules tests' game.

#include "../rules/GameSetupTestSupport.h"

#include "puzzle/PuzzleScriptLoader.h"
#include "puzzle/PuzzleScriptNode.h"
#include "puzzle/PuzzleScriptRuntime.h"
#include "puzzle/PuzzleScriptTrigger.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"

#include "content/BConfig.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The nodes of a "script" element's text; freed with the object.
class ParsedScript {
public:
    explicit ParsedScript(std::string_view text) {
        mHolder.setText(text);
        XmlNode* root = nullptr;
        mParsed = mHolder.parse(root);
        mLoaded = mParsed && mLoader.loadPuzzleScriptNodes(root, mNodes);
    }
    ~ParsedScript() { mLoader.deletePuzzleScriptNodes(mNodes); }
    ParsedScript(const ParsedScript&) = delete;
    ParsedScript& operator=(const ParsedScript&) = delete;

    XMLHelper mHolder;
    PuzzleScriptLoader mLoader;
    PuzzleScriptNodeList mNodes;
    bool mParsed = false;
    bool mLoaded = false;
};

// A scene whose puzzle script logs "tag:<name>", "section:<name>" and "ap"
// for the tags, pending sections and action-point changes it receives, then
// hands them on to mTarget (the script under test) or, for action points,
// to mTrigger.
class PuzzleScene : public RecordingScene {
public:
    class Recorder : public PuzzleScript {
    public:
        void sendTag(const std::string& tag) override {
            mLog.push_back("tag:" + tag);
            if (mTarget)
                mTarget->sendTag(tag);
        }
        void setPendingSection(const std::string& name) override {
            mLog.push_back("section:" + name);
            if (mTarget)
                mTarget->setPendingSection(name);
        }
        void onAPRemaining(Player* player) override {
            mLog.push_back("ap");
            if (mTrigger)
                mTrigger->onAPRemaining(player);
        }
        std::vector<std::string> mLog;
        PuzzleScript* mTarget = nullptr;
        PuzzleScriptTrigger* mTrigger = nullptr;
    };

    PuzzleScript* getPuzzleScript() const override { return &mRecorder; }
    mutable Recorder mRecorder;
};

// The rules tests' game as the current game, with a puzzle scene.
class PuzzleTest : public RulesTest {
protected:
    void SetUp() override {
        RulesTest::SetUp();
        gCurrentGame = mGame;
        builtInPreferenceStore().clear();
        mKnight = create(cKnight);
        mArcher = create(cArcher, 1);
    }
    void TearDown() override {
        for (CandidateAction* action : mActions)
            action->release();
        gCurrentGame = nullptr;
        builtInPreferenceStore().clear();
        BConfig::instance().unsetById(cOptForceFirstTimeUser);
        RulesTest::TearDown();
    }

    // The trigger of a script's one element; null when it does not build.
    static std::unique_ptr<PuzzleScriptTrigger> trigger(std::string_view element) {
        const ParsedScript script("<script>" + std::string(element) + "</script>");
        EXPECT_EQ(script.mNodes.size(), 1u) << element;
        return script.mNodes.empty() ? nullptr : PuzzleScriptTrigger::create(script.mNodes[0]);
    }

    // An action of that type by source, freed with the test.
    CandidateAction* action(int32_t type, int32_t source = 0) {
        auto* made = new CandidateAction(mGame, 1);
        made->mActionType = type;
        made->mSourceEntity = source;
        mActions.push_back(made);
        return made;
    }
    // Adds a record of entity going from hit points before to after (-1:
    // not captured) out of its maximum health.
    void addRecord(CandidateAction* to, int32_t entityId, int32_t before, int32_t after,
                   bool killed = false) {
        auto* record = new ActionResultInfo(entityId);
        const auto maxHealth = static_cast<float>(entity(entityId)->getMaxHealth());
        record->mInitialHealthFraction =
            before < 0 ? -1.0f : static_cast<float>(before) / maxHealth;
        record->mFinalHealthFraction = after < 0 ? -1.0f : static_cast<float>(after) / maxHealth;
        record->mKilled = killed;
        to->mResults.push_back(record);
    }

    std::vector<std::string>& log() { return mScene.mRecorder.mLog; }
    void mark() { log().push_back("|"); }

    PuzzleScene mScene;
    int32_t mKnight = -1;
    int32_t mArcher = -1;
    std::vector<CandidateAction*> mActions;
};
