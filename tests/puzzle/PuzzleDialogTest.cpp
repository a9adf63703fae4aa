// The dialog layer on the board: bubbles placed by their alignment, shown
// and hidden once, closed by a tap in the order they were shown with their
// close tags; the darkening; arrows at squares and controls; and the
// results that reset the puzzle and reveal or hide controls.

#include "PuzzleBoardTestSupport.h"

#include "puzzle/PuzzleArrow.h"
#include "puzzle/PuzzleDialog.h"
#include "puzzle/PuzzleScriptRuntime.h"

#include "scene/widgets/Button.h"

#include "rules/GameBoard.h"

#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class PuzzleDialogTest : public PuzzleBoardTest {
protected:
    // Plays a tutorial of one puzzle with that script.
    PuzzleDialogManager& playScript(const std::string& script) {
        play(addCategory("Tutorials", {script}), 0);
        EXPECT_NE(dialogs(), nullptr);
        return *dialogs();
    }
    bool shown(const char* name) const {
        const std::vector<PuzzleDialog*>& list = dialogs()->shownDialogs();
        return std::ranges::find(list, dialogs()->dialog(name)) != list.end();
    }
    std::vector<std::string> shownNames() const {
        std::vector<std::string> names;
        for (const PuzzleDialog* dialog : dialogs()->shownDialogs())
            names.push_back(dialog->name());
        return names;
    }
    uint8_t darkness() const { return dialogs()->darkeningSprite()->getOpacity(); }
};

} // namespace

TEST_F(PuzzleDialogTest, BubblesStandWhereTheirAlignmentSays) {
    struct Case {
        const char* attributes;
        float x; // in bubble widths from the left edge; < 0 from the right edge
        float y; // in bubble heights from the bottom; < 0 from the top
    };
    const CCSize window = director()->getWinSize();
    const Case cases[] = {
        {R"(hAlign="Right" vAlign="Top")", -0.5f, -0.5f},
        {R"(hAlign="Left" vAlign="Bottom")", 0.5f, 0.5f},
        {R"(hAlign="right" vAlign="Middle")", 0, 0},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        PuzzleDialogManager& layer = playScript(std::string("<onStart><showDialog name=\"D\" ") +
                                                c.attributes + ">Key</showDialog></onStart>");
        run(0.2f);
        CCSprite* bubble = layer.dialog("D")->bubble();
        const float x = c.x == 0  ? window.width / 2
                        : c.x > 0 ? c.x * cBubbleWidth
                                  : window.width + c.x * cBubbleWidth;
        const float y = c.y == 0  ? window.height / 2
                        : c.y > 0 ? c.y * cBubbleHeight
                                  : window.height + c.y * cBubbleHeight;
        EXPECT_EQ(bubble->getPosition(), CCPoint(x, y));
        EXPECT_EQ(bubble->getOpacity(), 255);
        EXPECT_FLOAT_EQ(bubble->getScale(), 1.0f);
        mBoardScene->setGame(nullptr);
        SettingsManager::instance().clearPuzzleCategories();
    }
}

TEST_F(PuzzleDialogTest, ABubbleShowsAndHidesOnce) {
    PuzzleDialogManager& layer = playScript(R"(<onSubmit>
        <showDialog name="A" pcContents="Key_A" background="Missing.png"/></onSubmit>)");
    // Built hidden; a bubble whose background does not load is not there.
    EXPECT_EQ(layer.dialog("A"), nullptr);
    mBoardScene->setGame(nullptr);
    SettingsManager::instance().clearPuzzleCategories();

    PuzzleDialogManager& built = playScript(R"(<onStart>
        <showDialog name="A" pcContents="Key_A" showTapIcon="true">Ignored</showDialog></onStart>)");
    ASSERT_NE(built.dialog("A"), nullptr);
    EXPECT_EQ(built.dialog("A")->contents(), "Key_A");
    EXPECT_EQ(built.dialog("A")->bubble()->getChildrenCount(), 2u); // icon and text
    EXPECT_FALSE(built.showDialog("A"));
    EXPECT_FALSE(built.showDialog("Unknown"));
    EXPECT_TRUE(built.hideDialog("A"));
    EXPECT_FALSE(built.hideDialog("A"));
    run(0.2f);
    EXPECT_EQ(built.dialog("A")->bubble()->getOpacity(), 0);
    EXPECT_FLOAT_EQ(built.dialog("A")->bubble()->getScale(), 0.9f);
    EXPECT_TRUE(built.showDialog("A"));
}

TEST_F(PuzzleDialogTest, OneTapClosesTheTapToCloseBubblesInShownOrder) {
    // B's tag hides C, A's tag shows it: shown order A, B leaves C hidden.
    // Each tag also shows a bubble of its own, which stays open.
    PuzzleDialogManager& layer = playScript(R"(<onStart>
        <showDialog name="Keep">K</showDialog>
        <showDialog name="A" tapToClose="true" closeTag="a">A</showDialog>
        <showDialog name="B" tapToClose="true" closeTag="b">B</showDialog></onStart>
        <onNamedTag tagName="a"><showDialog name="C">C</showDialog>
          <showDialog name="Next" tapToClose="true" closeTag="next">N</showDialog></onNamedTag>
        <onNamedTag tagName="b"><hideDialog name="C"/></onNamedTag>
        <onNamedTag tagName="next"><showArrow uiElement="SubmitButton"/></onNamedTag>)");
    run(0.2f);
    EXPECT_EQ(darkness(), 255);
    tap(480, 320);
    EXPECT_EQ(shownNames(), (std::vector<std::string>{"Keep", "Next"}));
    run(0.2f);
    // The bubble a tag showed waits for its own tap, darkened.
    EXPECT_EQ(darkness(), 255);
    EXPECT_EQ(layer.currentArrow(), -1);
    tap(480, 320);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Keep"});
    EXPECT_EQ(layer.currentArrow(), 0);
    run(0.2f);
    EXPECT_EQ(darkness(), 0);
}

TEST_F(PuzzleDialogTest, TouchesReachTheBoardUnlessABubbleWaitsForATap) {
    PuzzleDialogManager& layer = playScript(R"(<onStart>
        <showDialog name="Note">N</showDialog></onStart>
        <onSubmit><showDialog name="Wait" tapToClose="true">W</showDialog></onSubmit>)");
    auto* board = new CountingDelegate();
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(board, 1, true);
    tap(480, 320);
    EXPECT_EQ(board->mBegan, 1);
    mBoardScene->getPuzzleScript()->onSubmit();
    tap(480, 320);
    EXPECT_EQ(board->mBegan, 1);
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Note"});
    tap(480, 320);
    EXPECT_EQ(board->mBegan, 2);
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(board);
    board->release();
    EXPECT_TRUE(layer.hideDialog("Note"));
}

TEST_F(PuzzleDialogTest, TheDarkeningFadesOverAFractionOfASecond) {
    PuzzleDialogManager& layer = playScript(R"(<onSubmit>
        <showDialog name="A" tapToClose="true">A</showDialog>
        <showDialog name="B" tapToClose="true">B</showDialog></onSubmit>)");
    layer.showDialog("A");
    layer.showDialog("B");
    run(0.1f);
    EXPECT_GT(darkness(), 0);
    EXPECT_LT(darkness(), 255);
    run(0.05f);
    EXPECT_EQ(darkness(), 255);
    // Hiding one of two fades the darkening out although the other waits.
    layer.hideDialog("A");
    run(0.15f);
    EXPECT_EQ(darkness(), 0);
    layer.hideAllDialogs();
    EXPECT_TRUE(layer.shownDialogs().empty());
}

TEST_F(PuzzleDialogTest, ArrowsPointAtSquaresAndControls) {
    mGame->mGameBoard->linkAt(CCPoint(480, 200));
    PuzzleDialogManager& layer = playScript(R"(<onSubmit>
        <showArrow grid="GameBoard" slotX="2" slotY="3"/>
        <showArrow uiElement="SubmitButton" orientation="Right"/>
        <showArrow uiElement="NoSuchControl" orientation="Up"/>
        <showArrow orientation="Left"/></onSubmit>)");
    ASSERT_EQ(layer.arrowCount(), 4);
    const CCPoint square = mGame->mGameBoard->pointForCoords(GridSlot(2, 3), true);
    const CCPoint submit = mBoardScene->mSubmitButton->getPosition();
    const struct {
        CCPoint at;
        float rotation;
    } expected[] = {{CCPoint(square.x, square.y + 20), 90},
                    {CCPoint(submit.x - 20, submit.y), 0},
                    {CCPoint(0, -20), -90},
                    {CCPoint(20, 0), 180}};
    for (int32_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(layer.arrow(i)->restingPosition(), expected[i].at);
        EXPECT_EQ(layer.arrow(i)->sprite()->getRotation(), expected[i].rotation);
    }
    mGame->mGameBoard->unlink();
}

TEST_F(PuzzleDialogTest, OnlyOneArrowShows) {
    PuzzleDialogManager& layer = playScript(R"(<onSubmit>
        <showArrow uiElement="ResetButton"/><showArrow uiElement="SubmitButton"/></onSubmit>)");
    EXPECT_TRUE(layer.showArrow(0));
    run(0.2f);
    EXPECT_TRUE(layer.showArrow(1));
    run(0.2f);
    EXPECT_EQ(layer.arrow(0)->sprite()->getOpacity(), 0);
    EXPECT_EQ(layer.arrow(1)->sprite()->getOpacity(), 255);
    EXPECT_EQ(layer.currentArrow(), 1);
    EXPECT_FALSE(layer.showArrow(2));
    EXPECT_EQ(layer.currentArrow(), -1);
    run(0.2f);
    EXPECT_EQ(layer.arrow(1)->sprite()->getOpacity(), 0);
}

TEST_F(PuzzleDialogTest, ResetHidesTheBubblesAndStartsAgain) {
    // The until-tag's start comes back only after the triggers' reset; the
    // dialog it shows stays only when the hiding came before the start.
    PuzzleDialogManager& layer = playScript(R"(
        <untilTag tagName="stop"><onStart>
          <showDialog name="Intro">I</showDialog></onStart></untilTag>
        <onNamedTag tagName="more"><showDialog name="More">M</showDialog></onNamedTag>)");
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Intro"});
    PuzzleScript* script = mBoardScene->getPuzzleScript();
    script->sendTag("stop");
    script->sendTag("more");
    layer.hideDialog("Intro");
    EXPECT_EQ(shownNames(), std::vector<std::string>{"More"});
    result("<reset/>")->execute();
    EXPECT_EQ(shownNames(), std::vector<std::string>{"Intro"});
}

TEST_F(PuzzleDialogTest, ShowAndHideUIByControlName) {
    playScript("<onStart/>");
    struct Case {
        const char* element;
        Button* GameScene::*control;
        bool visible;
    };
    const Case cases[] = {
        {R"(<hideUI name="SettingsButton"/>)", &GameScene::mSettingsButton, false},
        {R"(<showUI name="SettingsButton"/>)", &GameScene::mSettingsButton, true},
        {R"(<hideUI name="SubmitButton"/>)", &GameScene::mSubmitButton, false},
        {R"(<showUI name="SubmitButton"/>)", &GameScene::mSubmitButton, true},
        {R"(<hideUI name="ResetButton"/>)", &GameScene::mActionPointsButton, false},
        {R"(<showUI name="ResetButton"/>)", &GameScene::mActionPointsButton, true},
        {R"(<hideUI name="PlayerBanner"/>)", &GameScene::mLocalProfileButton, false},
        {R"(<showUI name="PlayerBanner"/>)", &GameScene::mLocalProfileButton, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        Button* control = mBoardScene->*c.control;
        if (control == nullptr)
            continue;
        result(c.element)->execute();
        EXPECT_EQ(control->getIsVisible(), c.visible);
    }
    // Unknown names change nothing.
    std::vector<bool> before;
    for (const Case& c : cases)
        if (Button* control = mBoardScene->*c.control)
            before.push_back(control->getIsVisible());
    result(R"(<hideUI name="HelpButton"/>)")->execute();
    result(R"(<showUI name="Nothing"/>)")->execute();
    std::vector<bool> after;
    for (const Case& c : cases)
        if (Button* control = mBoardScene->*c.control)
            after.push_back(control->getIsVisible());
    EXPECT_EQ(after, before);
}

TEST_F(PuzzleDialogTest, AnArrowWithoutItsImageDoesNotBuild) {
    std::filesystem::remove(mRoot / PuzzleArrow::cImage);
    PuzzleDialogManager& layer =
        playScript(R"(<onSubmit><showArrow uiElement="SubmitButton"/></onSubmit>)");
    EXPECT_EQ(layer.arrowCount(), 0);
    // Its trigger does not build either; the rest of the script runs.
    auto* script = dynamic_cast<PuzzleScriptRuntime*>(mBoardScene->getPuzzleScript());
    ASSERT_NE(script, nullptr);
    EXPECT_TRUE(script->triggers().empty());
    script->onSubmit();
    EXPECT_FALSE(layer.showArrow(0));
}
