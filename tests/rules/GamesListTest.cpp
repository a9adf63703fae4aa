#include "rules/GamesList.h"
#include "rules/ServerTurn.h"

#include <gtest/gtest.h>

TEST(GamesListTest, WithoutAServiceEveryRequestFailsAsAnythingElse) {
    GamesList& list = gamesList();
    const uint8_t state[] = {1, 2, 3};
    int32_t taunt = 1;
    EXPECT_EQ(list.submitTurn(7, state, 3, taunt, 4, -1, -1), 2);
    EXPECT_EQ(list.submitServerTurn(7, ServerTurn(), 2, 2), 2);
    EXPECT_EQ(list.updatePlayerStatus(7, 2, 4), 2);
    EXPECT_FALSE(list.followUpGameStatus(7));
    EXPECT_EQ(list.getGameState(7), 2);
    EXPECT_EQ(list.login(), 2);
    list.setStoredUsername("bob");
    list.setStoredPassword("secret");
    EXPECT_EQ(list.serverTimeOffset(), 0);
    EXPECT_EQ(list.findGame(7), nullptr);
}
