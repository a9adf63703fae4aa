#include "scene/ShellServices.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ShellServicesTest, TheBuiltInRunnerRunsTheJobThenItsCompletionAtOnce) {
    std::vector<std::string> calls;
    shellServices().runWithProgressHUD(
        [&] {
            calls.push_back("job");
            return 3;
        },
        "Submitting...", [&](int result) { calls.push_back("done " + std::to_string(result)); });
    EXPECT_EQ(calls, (std::vector<std::string>{"job", "done 3"}));
}

TEST(ShellServicesTest, TheBuiltInNavigationOnlyNamesItself) {
    ShellServices& shell = shellServices();
    testing::internal::CaptureStdout();
    shell.gotoGame(42, true);
    shell.startNewGameFromRecord(43, false);
    shell.launchPuzzleScene(1, 2);
    shell.showTeamSelectForOpponent(44);
    shell.showTeamDetailsFromBoard(5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "**> gotoGame 42 1\n"
                                                      "**> startNewGameFromRecord 43 0\n"
                                                      "**> launchPuzzleScene 1 2\n"
                                                      "**> showTeamSelectForOpponent 44\n"
                                                      "**> showTeamDetailsFromBoard 5\n");
}

TEST(ShellServicesTest, InstalledServicesTakeOverUntilRemoved) {
    struct Recording : ShellServices {
        void gotoGame(int64_t gameId, bool) override { opened = gameId; }
        int64_t opened = -1;
    } shell;
    setShellServices(&shell);
    shellServices().gotoGame(9, false);
    setShellServices(nullptr);
    EXPECT_EQ(shell.opened, 9);
    EXPECT_NE(&shellServices(), &shell);
}
