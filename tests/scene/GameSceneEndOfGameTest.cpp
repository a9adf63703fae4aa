#include "EntityViewTestSupport.h"
#include "FakeGamesList.h"
#include "ShippedGameTestSupport.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"
#include "rules/AnimStateIds.h"

#include "platform/render/CCLabelBMFont.h"

#include <string>
#include <tuple>
#include <vector>

using namespace cocos2d;

namespace {

constexpr int32_t cAnimCheer = 41;

class GameSceneEndOfGameTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        mGame->mPuzzleCategory = -1;
        mGame->mPuzzleIndex = -1;
        mGame->mTurnCount = 6;
        mBoardScene->setGame(mGame);
    }
    void TearDown() override {
        mBoardScene->setGame(nullptr);
        EntityViewTest::TearDown();
    }

    // The award labels on the effect, in the order they were added.
    std::vector<std::string> awards() const {
        std::vector<std::string> texts;
        if (mBoardScene->mEndEffectPuppet == nullptr)
            return texts;
        for (CCNode* child : *mBoardScene->mEndEffectPuppet->getChildren())
            if (auto* label = dynamic_cast<CCLabelBMFont*>(child))
                texts.emplace_back(label->getString());
        return texts;
    }
    static int32_t stateOf(EntityView* view) { return view->puppet()->getCurrentState(); }
};

} // namespace

TEST_F(GameSceneEndOfGameTest, TheEffectFollowsTheOutcome) {
    struct Case {
        bool victory, challenge, tutorial;
        const char* effect;
        const char* text;
    };
    const Case cases[] = {
        {true, true, true, "Effects/TutorialEnd01", "Effects/TutorialEndTextProgrammatic"},
        {true, true, false, "Effects/VictoryChallenge01",
         "Effects/VictoryTextProgrammaticChallenge"},
        {true, false, false, "Effects/Victory01", "Effects/VictoryTextProgrammatic"},
        {false, true, true, "Effects/Defeated01", "Effects/DefeatedTextProgrammatic"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.effect);
        mBoardScene->playEndOfGameEffect(c.victory, c.challenge, c.tutorial);
        PuppetInstance* effect = mBoardScene->mEndEffectPuppet;
        ASSERT_NE(effect, nullptr);
        ASSERT_NE(mBoardScene->mEndEffectText, nullptr);
        EXPECT_EQ(effect->getPuppetIndex(), PuppetRegistry::loadPuppet(c.effect));
        EXPECT_EQ(mBoardScene->mEndEffectText->getPuppetIndex(),
                  PuppetRegistry::loadPuppet(c.text));
        EXPECT_EQ(mBoardScene->mEndEffectText->getParent(), effect);
        EXPECT_EQ(effect->getParent(), mBoardScene);
        EXPECT_EQ(effect->getZOrder(), 1000);
        EXPECT_FALSE(effect->getIsVisible());
        EXPECT_EQ(effect->getPosition().x, 480.0f);
        EXPECT_EQ(effect->getPosition().y, 320.0f);
    }
    // The text attachments are registered under their own names.
    for (const char* name : {"VictoryFX_TextProgrammaticChallenge", "VictoryFX_TextProgrammatic",
                             "DefeatedFX_DefeatedTextProgrammatic"})
        EXPECT_GE(PuppetRegistry::loadAttachment(name), 0) << name;
}

TEST_F(GameSceneEndOfGameTest, TheTauntAwardCountsFromTheSixthTurnOutsidePuzzles) {
    struct Case {
        const char* what;
        int32_t turn;
        int32_t puzzle;
        bool victory;
        const char* award; // null: none
    };
    const Case cases[] = {
        {"turn 5", 5, -1, true, nullptr},
        {"winner", 6, -1, true, "You were awarded 2 taunts!"},
        {"loser", 6, -1, false, "You were awarded 1 taunt!"},
        {"puzzle", 9, 0, true, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mGame->mTurnCount = c.turn;
        mGame->mPuzzleCategory = c.puzzle;
        mGame->mPuzzleIndex = c.puzzle;
        const size_t before = awards().size();
        mBoardScene->showEndOfGameSummary(c.victory, false);
        ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr);
        EXPECT_TRUE(mBoardScene->mEndEffectPuppet->getIsVisible());
        const std::vector<std::string> texts = awards();
        ASSERT_EQ(texts.size(), before + (c.award != nullptr ? 1 : 0));
        if (c.award != nullptr) {
            EXPECT_EQ(texts.back(), c.award);
        }
    }
}

TEST_F(GameSceneEndOfGameTest, TwoSummariesReuseOneEffectAndStackTheirAwards) {
    mBoardScene->showEndOfGameSummary(true, false);
    PuppetInstance* effect = mBoardScene->mEndEffectPuppet;
    mBoardScene->showEndOfGameSummary(true, false);
    EXPECT_EQ(mBoardScene->mEndEffectPuppet, effect);
    EXPECT_EQ(awards().size(), 2u);
}

TEST_F(GameSceneEndOfGameTest, WithoutTheEffectPuppetTheUnitsStillReactAndNoAwardShows) {
    EntityView* knight = view("knight", 0, GridSlot(1, 1));
    setBaseFolder(mRoot); // no end effect puppets here
    mBoardScene->showEndOfGameSummary(true, false);
    EXPECT_EQ(mBoardScene->mEndEffectPuppet, nullptr);
    EXPECT_EQ(stateOf(knight), cAnimCheer);
}

TEST_F(GameSceneEndOfGameTest, LivingUnitsCheerOrSlumpCrystalsAndKnockedOutUnitsDoNot) {
    EntityView* winner = view("knight", 0, GridSlot(1, 1));
    EntityView* loser = view("knight", 1, GridSlot(2, 1));
    EntityView* crystal = view("crystal", 0, GridSlot(3, 1));
    EntityView* knockedOut = view("knight", 1, GridSlot(4, 1), nullptr, cStateKnockedOut);
    EntityView* racked = view("knight", 0, GridSlot(0, 0), mGame->mPlayers[0]->mTileRack);
    EntityView* otherRack = view("knight", 1, GridSlot(0, 0), mGame->mPlayers[1]->mTileRack);
    const int32_t crystalState = stateOf(crystal);
    const int32_t knockedOutState = stateOf(knockedOut);
    const int32_t otherRackState = stateOf(otherRack);
    mBoardScene->showEndOfGameSummary(true, false);
    EXPECT_EQ(stateOf(winner), cAnimCheer);
    EXPECT_EQ(stateOf(racked), cAnimCheer);
    EXPECT_GE(stateOf(loser), cAnimStateDefeated);
    EXPECT_LE(stateOf(loser), cAnimStateDefeated5);
    EXPECT_EQ(stateOf(crystal), crystalState);
    EXPECT_EQ(stateOf(knockedOut), knockedOutState);
    EXPECT_EQ(stateOf(otherRack), otherRackState);
    // A defeat turns it round.
    mBoardScene->showEndOfGameSummary(false, false);
    EXPECT_EQ(stateOf(loser), cAnimCheer);
    EXPECT_GE(stateOf(winner), cAnimStateDefeated);
}

TEST_F(GameSceneEndOfGameTest, ATurnStartingInAFinishedGameShowsTheSummary) {
    mBoardScene->onTurnStarted();
    EXPECT_EQ(mBoardScene->mEndEffectPuppet, nullptr);
    mGame->mGameOver = true;
    mBoardScene->onTurnStarted();
    ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr);
    EXPECT_TRUE(mBoardScene->mEndEffectPuppet->getIsVisible());
}

TEST_F(GameSceneEndOfGameTest, BindingAFinishedGameBuildsItsEffectOnlyWhenTheLocalPlayerLeftPlay) {
    FakeGamesList list;
    PlayerRecord& ada = *list.add(5, {"Ada", "Bob"}).mPlayers[0];
    mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
    mGame->mGameID = 5;
    mGame->mGameOver = true;
    for (int32_t status : {cGameActive, cGameInactive}) {
        SCOPED_TRACE(status);
        ada.mStatus = status;
        mBoardScene->setGame(mGame);
        EXPECT_EQ(mBoardScene->mEndEffectPuppet != nullptr, status == cGameInactive);
    }
    ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr);
    EXPECT_FALSE(mBoardScene->mEndEffectPuppet->getIsVisible());
    mBoardScene->setGame(nullptr);
}

namespace {

using ShippedEndOfGameTest = ShippedSceneTest;

} // namespace

TEST_F(ShippedEndOfGameTest, TheShippedContentHasEveryEffectAndText) {
    mGame = new Game();
    ASSERT_TRUE(mGame->init(0));
    mGame->mCurrentPlayer = 0;
    mBoardScene->setGame(mGame);
    for (const auto& [victory, challenge, tutorial] :
         {std::tuple(true, false, true), std::tuple(true, true, false),
          std::tuple(true, false, false), std::tuple(false, false, false)}) {
        mBoardScene->playEndOfGameEffect(victory, challenge, tutorial);
        ASSERT_NE(mBoardScene->mEndEffectPuppet, nullptr);
        ASSERT_NE(mBoardScene->mEndEffectText, nullptr);
        EXPECT_NE(mBoardScene->mEndEffectText->getPuppet(), nullptr);
    }
    mBoardScene->setGame(nullptr);
}
