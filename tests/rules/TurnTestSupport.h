#pragma once

// The game of the turn tests: the content of tests/fixtures/rules/turn (a
// 7 x 5 board with a crystal per side at (0, 2) and (6, 2); layout 0 has
// Score squares at (1, 1) and (1, 3) and a ScoreMultiplier square at (2, 2),
// layout 1 none; a rack of 4; a shared chest filled in a fixed order), set
// up from seed 7, local, at player 0's turn, on the bare layout unless a
// test picks the other.

#include "ActionsTestSupport.h"
#include "RulesTestSupport.h"

#include "rules/AchievementTracker.h"
#include "rules/Graveyard.h"
#include "rules/Player.h"
#include "rules/TileChest.h"

#include <string>
#include <vector>

inline const std::string cTurnFixture = std::string(TARNWICK_FIXTURES_DIR) + "/rules/turn";

class TurnTest : public ActionsGameTest {
protected:
    static constexpr int32_t cScoreBoard = 0;
    static constexpr int32_t cBareBoard = 1;

    TurnTest() : ActionsGameTest(cTurnFixture) {}

    void SetUp() override {
        ActionsGameTest::SetUp();
        board()->setProtoIndex(cBareBoard);
        AchievementTracker::reset();
    }
    void TearDown() override {
        AchievementTracker::reset();
        gCurrentGame = nullptr;
        ActionsGameTest::TearDown();
    }

    Player* player(int32_t index) const { return mGame->getPlayer(index); }
    TileChest* chest() const { return mGame->mTileChest; }
    // The proto names of a grid's entities in slot order.
    std::vector<std::string> namesIn(const EntityGrid* grid) const {
        std::vector<std::string> names;
        for (int32_t i = 0; i < grid->getSlotCount(); ++i)
            if (const Entity* entity = grid->getEntityAtIndex(i))
                names.push_back(entity->getProto()->mName);
        return names;
    }
    // Empties the shared chest into player 1's graveyard.
    void emptyChest() const {
        for (int32_t i = 0; i < chest()->getSlotCount(); ++i) {
            const int32_t id = chest()->getEntityIdAtIndex(i);
            if (id >= 0) {
                ASSERT_TRUE(chest()->moveEntityToFirstFree(id, player(1)->mGraveyard));
            }
        }
        ASSERT_EQ(chest()->getEntityCount(), 0);
    }
};
