#include "ActionsTestSupport.h"

namespace {

class DropClassificationTest : public ActionsGameTest {};

} // namespace

TEST_F(DropClassificationTest, WhoCanBeDragged) {
    Entity* knight = unit("knight", 0, 2, 1);
    Entity* phoenix = unit("phoenix", 0, 3, 1);
    Entity* enemy = unit("knight", 1, 4, 1);
    Entity* crystal = at(0, 2);
    ASSERT_NE(crystal, nullptr);
    struct Row {
        const char* what;
        Entity* entity;
        int32_t state;
        bool local;
        bool replaying;
        bool draggable;
    };
    const Row rows[] = {
        {"deployed unit", knight, cStateDeployedToGameBoard, true, false, true},
        {"rack tile", knight, cStateOnTileRack, true, false, true},
        {"candidate state", knight, cStateCandidateAttack, true, false, true},
        {"in the chest", knight, cStateInTileChest, true, false, false},
        {"equipped", knight, cStateEquipped, true, false, false},
        {"dead", knight, cStateDead, true, false, false},
        {"knocked out", knight, cStateKnockedOut, true, false, false},
        {"knocked out, respawns", phoenix, cStateKnockedOut, true, false, true},
        {"dead, respawns", phoenix, cStateDead, true, false, false},
        {"the opponent's", enemy, cStateDeployedToGameBoard, true, false, false},
        {"not selectable", crystal, cStateDeployedToGameBoard, true, false, false},
        {"not our turn", knight, cStateDeployedToGameBoard, false, false, false},
        {"replaying", knight, cStateDeployedToGameBoard, true, true, false},
    };
    for (const Row& row : rows) {
        row.entity->mState = row.state;
        mGame->mFlags = static_cast<uint8_t>((row.local ? cGameLocal : 0) |
                                             (row.replaying ? cGameReplaying : 0));
        EXPECT_EQ(row.entity->canBeDragged(), row.draggable) << row.what;
    }
}

TEST_F(DropClassificationTest, DecisionTable) {
    Entity* knight = unit("knight", 0, 2, 1);
    knight->mHealth = 600;
    Entity* cleric = unit("cleric", 0, 2, 3);
    Entity* porter = unit("porter", 0, 3, 3);
    unit("knight", 1, 3, 1);                   // an enemy beside the knight
    unit("knight", 1, 2, 2, cStateKnockedOut); // a corpse outside any zone
    unit("swift", 1, 1, 0, cStateKnockedOut);  // a corpse in our zone
    Entity* phoenix = unit("phoenix", 0, 1, 4, cStateKnockedOut);
    Entity* recruit = tile("knight", 0, 0);
    Entity* sword = tile("sword", 0, 1);
    Entity* storm = tile("storm", 0, 2);
    Entity* smite = tile("smite", 0, 3);
    EntityGrid* chest = mGame->getGrid(cGridTileChest, -1);
    ASSERT_NE(chest, nullptr);
    EntityGrid* ourRack = rack(0);
    EntityGrid* theirRack = rack(1);
    EntityGrid* field = board();

    struct Row {
        const char* what;
        Entity* source;
        EntityGrid* grid;
        GridSlot slot;
        int32_t type;
        int32_t cost;
        int32_t state = -1; // the source's state for this row, when set
    };
    const Row rows[] = {
        {"rack tile into the chest", recruit, chest, {0, 0}, cActionSwap, 11},
        {"board unit into the chest", knight, chest, {0, 0}, -1, 0},
        {"no grid", recruit, nullptr, {0, 0}, -1, 0},
        {"negative square", recruit, field, {-1, 2}, cActionReturn, 0},
        {"power anywhere on the board", storm, field, {3, 2}, cActionCastPower, 3},
        {"power on an empty square", smite, field, {4, 2}, cActionReturn, 8},
        {"power on the enemy crystal", smite, field, {6, 2}, cActionCastPower, 2},
        {"power on a free rack square", storm, ourRack, {5, 0}, cActionReturn, 0},
        {"unit on an enemy", knight, field, {3, 1}, cActionAttack, 5},
        {"candidate unit on an enemy",
         knight,
         field,
         {3, 1},
         cActionAttack,
         5,
         cStateCandidateAttack},
        {"equip-candidate on an enemy",
         knight,
         field,
         {3, 1},
         cActionReturn,
         0,
         cStateCandidateEquip},
        {"healer on a damaged ally", cleric, field, {2, 1}, cActionHeal, 6},
        {"porter on an ally", porter, field, {2, 3}, cActionAllyAbility, 10},
        {"unit onto a corpse it may stomp", knight, field, {2, 2}, cActionMove, 4},
        {"unit onto a living ally", knight, field, {2, 3}, cActionReturn, 0},
        {"rack tile on an occupied rack square", recruit, ourRack, {1, 0}, cActionReturn, 0},
        {"gear on an ally", sword, field, {2, 1}, cActionEquip, 7},
        {"gear on an enemy", sword, field, {3, 1}, cActionReturn, 0},
        {"tile onto a corpse in our zone", recruit, field, {1, 0}, cActionDeploy, 1},
        {"tile onto a living enemy", recruit, field, {3, 1}, cActionReturn, 0},
        {"tile onto a free square of our zone", recruit, field, {0, 0}, cActionDeploy, 1},
        {"tile onto a free square outside", recruit, field, {3, 2}, cActionReturn, 0},
        {"tile to another rack square", recruit, ourRack, {5, 0}, cActionPlace, 2},
        {"tile back on its square", recruit, ourRack, {0, 0}, cActionReturn, 0},
        {"unit back on its square", knight, field, {2, 1}, cActionReturn, 0},
        {"unit to a free square in reach", knight, field, {2, 0}, cActionMove, 4},
        {"unit beyond its reach", knight, field, {4, 3}, cActionReturn, 0},
        {"knocked-out respawner in our zone", phoenix, field, {0, 4}, cActionDeploy, 4},
        {"knocked-out respawner outside", phoenix, field, {3, 4}, cActionReturn, 0},
        {"gear on a free board square", sword, field, {4, 2}, cActionReturn, 0},
        {"gear to another rack square", sword, ourRack, {5, 0}, cActionPlace, 2},
        {"tile to the opponent's rack", recruit, theirRack, {2, 0}, -1, 0},
        {"unit back to our rack", knight, ourRack, {5, 0}, cActionReturn, 9},
    };
    for (const Row& row : rows) {
        const int32_t state = row.source->mState;
        if (row.state >= 0)
            row.source->mState = row.state;
        int32_t cost = -5;
        GridSlot slot(-7, -7);
        EXPECT_EQ(row.source->classifyDrop(row.grid, row.slot, cost, slot), row.type) << row.what;
        EXPECT_EQ(cost, row.cost) << row.what;
        // The out square is set once the chest has been ruled out.
        if (row.type >= 0 && row.type != cActionSwap) {
            EXPECT_EQ(slot, row.slot) << row.what;
        }
        row.source->mState = state;
    }
}

TEST_F(DropClassificationTest, ACorpseUserPrefersAttackOverHeal) {
    Entity* necromancer = unit("necromancer", 0, 2, 2);
    Entity* fallen = unit("knight", 0, 3, 2, cStateKnockedOut);
    fallen->mHealth = 0;
    EXPECT_TRUE(necromancer->canAttack(fallen->mId));
    EXPECT_TRUE(necromancer->canHeal(fallen->mId, true, true));
    int32_t cost = 0;
    GridSlot slot;
    EXPECT_EQ(necromancer->classifyDrop(board(), fallen->mSlot, cost, slot), cActionAttack);
    EXPECT_EQ(cost, 5);
}
