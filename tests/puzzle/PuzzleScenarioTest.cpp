// The first sample tutorial on the board, without a display: its first
// bubble waits for a tap, the tap sends the bubble's tag and the next
// section points at the rack, deploying two knights moves on to the attack,
// and ending the turn wins: the completion layer offers the next tutorial
// and the tutorial is stored as completed.

#include "PuzzleBoardTestSupport.h"

#include "puzzle/PuzzleArrow.h"
#include "puzzle/PuzzleDialog.h"

#include "scene/widgets/Button.h"

#include "rules/CandidateAction.h"
#include "rules/core/EntityState.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace cocos2d;

namespace {

// The inside of the "script" element of a sample puzzle file.
std::string sampleScript(const char* name) {
    std::ifstream file(std::filesystem::path(TARNWICK_SOURCE_DIR) / "data" / "Puzzles" /
                       (std::string(name) + ".xml"));
    std::stringstream text;
    text << file.rdbuf();
    const std::string all = text.str();
    const size_t begin = all.find("<script>");
    const size_t end = all.find("</script>");
    EXPECT_TRUE(begin != std::string::npos && end != std::string::npos) << name;
    return begin < end && end != std::string::npos ? all.substr(begin + 8, end - begin - 8) : "";
}

class PuzzleScenarioTest : public PuzzleBoardTest {
protected:
    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const PuzzleDialog* dialog : dialogs()->shownDialogs())
            names.push_back(dialog->name());
        return names;
    }
};

} // namespace

TEST_F(PuzzleScenarioTest, TheFirstSampleTutorialFromWelcomeToVictory) {
    const int32_t tutorials =
        addCategory("Tutorials", {sampleScript("TutorialBasics"), sampleScript("TutorialTurns")});
    play(tutorials, 0);
    PuzzleDialogManager* layer = dialogs();
    ASSERT_NE(layer, nullptr);
    PuzzleScript* script = mBoardScene->getPuzzleScript();
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Welcome"});
    EXPECT_EQ(layer->dialog("Welcome")->verticalAlignment(), 0);
    run(0.2f);
    EXPECT_EQ(layer->darkeningSprite()->getOpacity(), 255);

    // The tap closes the welcome and its tag opens the deploy hints.
    tap(480, 320);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"DeployHint"});
    ASSERT_GE(layer->currentArrow(), 0);
    run(0.2f);
    EXPECT_EQ(layer->darkeningSprite()->getOpacity(), 0);
    EXPECT_EQ(layer->arrow(layer->currentArrow())->sprite()->getOpacity(), 255);

    // Two knights deployed: on to the attack.
    std::vector<CandidateAction*> deployed;
    for (int32_t x : {0, 1}) {
        Entity* knight = make("knight", 0, GridSlot(x, 1));
        ASSERT_NE(knight, nullptr);
        auto* action = new CandidateAction(mGame, 1);
        action->mActionType = cActionDeploy;
        action->mSourceEntity = knight->mId;
        script->onActionPerformed(action);
        deployed.push_back(action);
    }
    EXPECT_EQ(shownNames(), std::vector<std::string>{"AttackHint"});
    EXPECT_EQ(layer->currentArrow(), -1);

    // Ending the turn wins.
    script->onSubmit();
    EXPECT_TRUE(layer->shownDialogs().empty());
    EXPECT_TRUE(mGame->mGameOver);
    EXPECT_TRUE(SettingsManager::instance().isPuzzleCompleted(tutorials, 0));
    PuzzleCompleteLayer* complete = completeLayer();
    ASSERT_NE(complete, nullptr);
    ASSERT_NE(complete->getOkButton(), nullptr);
    EXPECT_STREQ(complete->getOkButton()->getLabel()->getString(), "Next Tutorial");
    EXPECT_EQ(complete->getSecondButton(), nullptr);
    for (CandidateAction* action : deployed)
        action->release();
}
