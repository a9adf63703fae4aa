// Turns of an online game of the shipped content through the scene: a unit
// dropped from the rack, Submit, "Submit With Taunt" (the service hears the
// turn with its taunt, the unit taunts, and the rack refills once the taunt
// is over); an attack undone while its visuals still play.

#include "FakeGamesList.h"
#include "ShippedGameTestSupport.h"

#include "scene/EntityView.h"
#include "scene/SubmitConfirmLayer.h"
#include "scene/widgets/Button.h"

#include "content/protos/Database.h"
#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"
#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/SelfPlay.h"
#include "rules/TileRack.h"
#include "rules/core/EntityState.h"

#include <vector>

using namespace cocos2d;

namespace {

constexpr int64_t cGameId = 77;

// The games list with one record of "Ada" (local) and "Bob"; turns sent are
// recorded with their taunt request.
class TurnList : public FakeGamesList {
public:
    int submitTurn(int64_t gameId, const uint8_t*, int32_t stateSize, int32_t& tauntRequest,
                   int32_t, int32_t, int32_t) override {
        mSent.push_back({gameId, stateSize, tauntRequest});
        mRecords.front()->mCurrentTurnPlayer = "Bob"; // the turn passes
        return 0;
    }
    struct Sent {
        int64_t gameId;
        int32_t size;
        int32_t taunt;
    };
    std::vector<Sent> mSent;
};

// The program's scene services, noting each taunt asked of a view with the
// number of tiles the rack refill has flown by then.
class TauntWatch : public GameSceneServices {
public:
    void playEntityAnimation(Entity* entity, int32_t state, const GridSlot& own,
                             const GridSlot& toward, float delay, const GridSlot& end) override {
        if (state >= cAnimStateTaunt && state <= cAnimStateTaunt3)
            mTaunts.push_back({entity->mId, gCurrentGame->mFlownRackTileIds.size()});
        GameSceneServices::playEntityAnimation(entity, state, own, toward, delay, end);
    }
    struct Taunt {
        int32_t entityId;
        size_t flownBefore;
    };
    std::vector<Taunt> mTaunts;
};

class GameSceneTurnScenarioTest : public ShippedSceneTest {
protected:
    void SetUp() override {
        ShippedSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        setSceneServices(&mWatch);
        mList.add(cGameId, {"Ada", "Bob"}).mCurrentTurnPlayer = "Ada";
    }
    void TearDown() override {
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        undoStack().clear();
        ShippedSceneTest::TearDown();
    }

    // A new online game of the first two civs, player 0 to move; with
    // fight, a knight of player 0 stands beside a warrior of player 1. It
    // is opened as the program opens a received game (saved, then loaded
    // with the turn's first snapshot) and bound to the scene.
    void start(bool fight) {
        const SettingsManager& settings = SettingsManager::instance();
        ASSERT_GE(settings.mCivs.size(), 2u);
        Game* fresh = new Game();
        ASSERT_TRUE(
            SelfPlay::setUpNewGame(*fresh, 5, {settings.mCivs[0]->mId, settings.mCivs[1]->mId}));
        fresh->mCurrentPlayer = 0;
        fresh->mFlags &= static_cast<uint8_t>(~cGameLocal);
        if (fight) {
            GameBoard* board = fresh->mGameBoard;
            for (int32_t y = 0; y < board->getHeight() && mKnight < 0; ++y)
                for (int32_t x = 0; x + 1 < board->getWidth() && mKnight < 0; ++x) {
                    if (board->getEntityIdAt(GridSlot(x, y)) >= 0 ||
                        board->getEntityIdAt(GridSlot(x + 1, y)) >= 0)
                        continue;
                    mKnight = place(*fresh, "knight", 0, GridSlot(x, y));
                    mWarrior = place(*fresh, "warrior", 1, GridSlot(x + 1, y));
                }
            ASSERT_GE(mWarrior, 0);
        }
        const std::vector<uint8_t> blob = fresh->saveToBuffer();
        fresh->release();
        mGame = new Game();
        mGame->mCurrentPlayer = 0; // the opener's choice, kept by the load
        ASSERT_TRUE(
            mGame->loadFromBuffer(blob.data(), static_cast<int32_t>(blob.size()), cGameId, true));
        gCurrentGame = mGame;
        mBoardScene->setGame(mGame);
    }
    static int32_t place(Game& game, const char* name, int32_t owner, GridSlot slot) {
        const int32_t id = game.createEntity(Database::getProtoIdByName(name), owner);
        Entity* entity = game.getEntity(id);
        if (entity == nullptr || !game.mGameBoard->addEntityAt(id, slot))
            return -1;
        entity->mState = cStateDeployedToGameBoard;
        return id;
    }

    // Drops the first unit of player 0's rack on the first square that
    // takes it; its id, or -1.
    int32_t dropAUnit() {
        TileRack* rack = mGame->mPlayers[0]->mTileRack;
        GameBoard* board = mGame->mGameBoard;
        for (int32_t k = 0; k < rack->getSlotCount(); ++k) {
            const Entity* tile = rack->getEntityAtIndex(k);
            if (tile == nullptr || tile->getProto()->mType != cEntityUnit)
                continue;
            for (int32_t y = 0; y < board->getHeight(); ++y)
                for (int32_t x = 0; x < board->getWidth(); ++x)
                    if (mGame->dropEntity(tile->mId, cGridGameBoard, GridSlot(x, y)))
                        return tile->mId;
        }
        return -1;
    }

    TauntWatch mWatch;
    TurnList mList;
    int32_t mKnight = -1;
    int32_t mWarrior = -1;
};

} // namespace

TEST_F(GameSceneTurnScenarioTest, ADropSubmittedWithATauntTauntsThenRefillsTheRack) {
    start(false);
    ASSERT_NE(mGame, nullptr);
    const int32_t unit = dropAUnit();
    ASSERT_GE(unit, 0);
    run(1.0f);
    ASSERT_TRUE(mGame->mFlownRackTileIds.empty());

    EXPECT_FALSE(mBoardScene->mSubmitButton->mDisabled);
    mBoardScene->onSubmitButton();
    SubmitConfirmLayer* layer = nullptr;
    for (CCNode* child : *mBoardScene->getChildren())
        if (auto* found = dynamic_cast<SubmitConfirmLayer*>(child))
            layer = found;
    ASSERT_NE(layer, nullptr);
    run(3.0f); // the warning about unspent points shows first
    ASSERT_TRUE(layer->getTauntButton()->getIsVisible());
    tap(480, 320); // "Submit With Taunt"
    run(3.0f);

    ASSERT_EQ(mList.mSent.size(), 1u);
    EXPECT_EQ(mList.mSent[0].gameId, cGameId);
    EXPECT_EQ(mList.mSent[0].taunt, 1);
    EXPECT_GT(mList.mSent[0].size, 0);
    EXPECT_TRUE(mBoardScene->mSubmitButton->mDisabled) << "the buttons follow the passed turn";
    // The dropped unit, the only one of player 0 on the board, taunts
    // before any tile flies; the new tiles fly once it is over.
    ASSERT_EQ(mWatch.mTaunts.size(), 1u);
    EXPECT_EQ(mWatch.mTaunts[0].entityId, unit);
    EXPECT_EQ(mWatch.mTaunts[0].flownBefore, 0u);
    EXPECT_EQ(mGame->mTauntsRunning, 0);
    EXPECT_FALSE(mGame->mFlownRackTileIds.empty());
}

// Under the sanitizer build this also shows that no view, action or
// callback outlives the undo that reloads the game under them.
TEST_F(GameSceneTurnScenarioTest, AnUndoWhileAnAttackStillPlaysRestoresTheTurnCleanly) {
    start(true);
    ASSERT_NE(mGame, nullptr);
    const int32_t health = mGame->getEntity(mWarrior)->mHealth;
    const int32_t points = mGame->getCurrentPlayer()->mActionPoints;
    ASSERT_TRUE(mGame->dropEntity(mKnight, cGridGameBoard, mGame->getEntity(mWarrior)->mSlot));
    ASSERT_LT(mGame->getEntity(mWarrior)->mHealth, health);
    run(0.05f); // the attack's visuals under way
    ASSERT_TRUE(mGame->canUndo());
    ASSERT_NE(mGame->findAction(cPlaybackPlaying), nullptr);

    mBoardScene->onActionPointsTapped(true);
    EXPECT_EQ(mGame->findAction(cPlaybackPlaying), nullptr);
    EXPECT_EQ(mGame->getEntity(mWarrior)->mHealth, health);
    EXPECT_EQ(mGame->getCurrentPlayer()->mActionPoints, points);
    EXPECT_FALSE(mGame->canUndo());
    run(5.0f);
    // The reloaded units have views again and nothing else changed.
    EXPECT_NE(mGame->getEntity(mKnight)->getEntityLink(), nullptr);
    EXPECT_EQ(mGame->getEntity(mWarrior)->mHealth, health);
}
