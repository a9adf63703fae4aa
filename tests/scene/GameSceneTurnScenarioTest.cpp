// A whole turn of an online game of the shipped content through the scene:
// a unit dropped from the rack, Submit, "Submit With Taunt"; the service
// hears the turn with its taunt, the unit taunts, and the rack refills
// once the taunt is over.

#include "FakeGamesList.h"
#include "SampleSceneTestSupport.h"

#include "scene/EntityView.h"
#include "scene/SubmitConfirmLayer.h"
#include "scene/widgets/Button.h"

#include "content/protos/ProtoEntity.h"
#include "puppet/PuppetInstance.h"
#include "rules/AnimStateIds.h"
#include "rules/Entity.h"
#include "rules/Game.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/SelfPlay.h"
#include "rules/TileRack.h"

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

class GameSceneTurnScenarioTest : public SampleSceneTest {
protected:
    void SetUp() override {
        SampleSceneTest::SetUp();
        if (HasFatalFailure())
            return;
        setSceneServices(&mWatch);
        const SettingsManager& settings = SettingsManager::instance();
        ASSERT_GE(settings.mCivs.size(), 2u);
        mList.add(cGameId, {"Ada", "Bob"}).mCurrentTurnPlayer = "Ada";
        mGame = new Game();
        ASSERT_TRUE(
            SelfPlay::setUpNewGame(*mGame, 5, {settings.mCivs[0]->mId, settings.mCivs[1]->mId}));
        mGame->mCurrentPlayer = 0;
        mGame->mGameID = cGameId;
        mGame->mFlags &= static_cast<uint8_t>(~cGameLocal);
        gCurrentGame = mGame;
        mBoardScene->setGame(mGame);
    }
    void TearDown() override {
        if (mBoardScene != nullptr)
            mBoardScene->setGame(nullptr);
        SampleSceneTest::TearDown();
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
};

} // namespace

TEST_F(GameSceneTurnScenarioTest, ADropSubmittedWithATauntTauntsThenRefillsTheRack) {
    const int32_t unit = dropAUnit();
    ASSERT_GE(unit, 0);
    run(1.0f);
    ASSERT_TRUE(mGame->mFlownRackTileIds.empty());

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
    // The dropped unit, the only one of player 0 on the board, taunts
    // before any tile flies; the new tiles fly once it is over.
    ASSERT_EQ(mWatch.mTaunts.size(), 1u);
    EXPECT_EQ(mWatch.mTaunts[0].entityId, unit);
    EXPECT_EQ(mWatch.mTaunts[0].flownBefore, 0u);
    EXPECT_EQ(mGame->mTauntsRunning, 0);
    EXPECT_FALSE(mGame->mFlownRackTileIds.empty());
}
