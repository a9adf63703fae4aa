// Actions performed on the shipped content's board and played by the entity
// views' animation driver: a victim pushed by an attack or a power stands on
// its new square once the visuals have run.

#include "ShippedGameTestSupport.h"

#include "rules/CocosEntityLink.h"
#include "rules/EntityGrid.h"
#include "rules/GameBoard.h"
#include "rules/Player.h"
#include "rules/TileRack.h"

#include <cmath>

using namespace cocos2d;

namespace {

using EntityViewPlaybackTest = ShippedGameTest;

} // namespace

TEST_F(EntityViewPlaybackTest, APushedVictimEndsOnItsNewSquare) {
    struct Case {
        const char* source; // a knight on the board attacks, a power is cast
        bool power;
    };
    const Case cases[] = {{"knight", false}, {"typhoon", true}};
    for (const Case& row : cases) {
        mGame->unlink(false);
        GameBoard& board = *mGame->mGameBoard;
        const GridSlot from(4, 2);
        const GridSlot pushed(5, 2);
        Entity* victim = make("warrior", 1);
        ASSERT_TRUE(board.addEntityAt(victim->mId, from));
        victim->mState = cStateDeployedToGameBoard;
        Entity* source = make(row.source, 0);
        if (row.power) {
            ASSERT_TRUE(mGame->mPlayers[0]->mTileRack->addEntity(source->mId));
            source->mState = cStateOnTileRack;
        } else {
            ASSERT_TRUE(board.addEntityAt(source->mId, GridSlot(3, 2)));
            source->mState = cStateDeployedToGameBoard;
        }
        ASSERT_TRUE(mGame->linkAt(CCPoint(0, 0), false));
        mGame->mPlayers[0]->mActionPoints = 10;
        const int32_t health = victim->mHealth;
        ASSERT_TRUE(
            mGame->dropEntity(source->mId, cGridGameBoard, row.power ? GridSlot(3, 2) : from))
            << row.source;
        ASSERT_EQ(victim->mSlot, pushed) << row.source;
        ASSERT_LT(victim->mHealth, health) << row.source;
        run(4.0f);
        const CCPoint at = victim->getEntityLink()->getMainNode()->getPosition();
        const CCPoint square = board.pointForCoords(pushed, true);
        EXPECT_LT(std::fabs(at.x - square.x) + std::fabs(at.y - square.y), 1.0f) << row.source;
        // The next case starts from an empty board.
        for (Entity* gone : {victim, source})
            if (gone->mGrid != nullptr)
                gone->mGrid->removeEntity(gone->mId);
    }
}
