// The puzzles as the game scene binds them: the installed factories give a
// tutorial its running script and its dialog layer with the darkening sprite.

#include "../scene/EntityViewTestSupport.h"

#include "puzzle/PuzzleDialogManager.h"
#include "puzzle/PuzzleSceneSupport.h"
#include "puzzle/PuzzleScriptRuntime.h"

#include "content/settings/ProtoPuzzle.h"
#include "content/settings/PuzzleCategory.h"

#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

class PuzzleSceneSupportTest : public EntityViewTest {
protected:
    void SetUp() override {
        EntityViewTest::SetUp();
        installPuzzleSceneSupport();
        auto category = std::make_unique<PuzzleCategory>();
        category->mPuzzles.push_back(std::make_unique<ProtoPuzzle>("Scripted"));
        category->mPuzzles.back()->mScript = std::make_unique<PuzzleScriptNodeList>();
        SettingsManager::instance().mPuzzleCategories.push_back(std::move(category));
        mGame->mPuzzleCategory = int32_t(SettingsManager::instance().mPuzzleCategories.size()) - 1;
        mGame->mPuzzleIndex = 0;
    }
    void TearDown() override {
        mBoardScene->setGame(nullptr);
        SettingsManager::instance().mPuzzleCategories.pop_back();
        setPuzzleScriptFactory(nullptr);
        GameScene::setDialogManagerFactory(nullptr);
        EntityViewTest::TearDown();
    }
};

} // namespace

TEST_F(PuzzleSceneSupportTest, ATutorialGetsTheRunningScriptAndTheDarkenedDialogLayer) {
    writeSolidPng(PuzzleDialogManager::cDarkeningImage, 16, 8, {0, 0, 0, 160});
    mBoardScene->setGame(mGame);
    EXPECT_NE(dynamic_cast<PuzzleScriptRuntime*>(mBoardScene->getPuzzleScript()), nullptr);
    auto* dialogs = dynamic_cast<PuzzleDialogManager*>(mBoardScene->mPuzzleDialogManager);
    ASSERT_NE(dialogs, nullptr);
    EXPECT_EQ(dialogs->getParent(), mBoardScene);
    EXPECT_EQ(dialogs->getZOrder(), GameScene::cPuzzleDialogZOrder);
    CCSprite* darkening = dialogs->darkeningSprite();
    ASSERT_NE(darkening, nullptr);
    const CCSize window = director()->getWinSize();
    EXPECT_EQ(darkening->getOpacity(), 0);
    EXPECT_EQ(darkening->getPosition(), CCPoint(window.width / 2, window.height / 2));
    EXPECT_FLOAT_EQ(darkening->getContentSize().width * darkening->getScaleX(), window.width);
    EXPECT_FLOAT_EQ(darkening->getContentSize().height * darkening->getScaleY(), window.height);
}

TEST_F(PuzzleSceneSupportTest, WithoutTheDarkeningImageTheLayerDarkensNothing) {
    mBoardScene->setGame(mGame);
    auto* dialogs = dynamic_cast<PuzzleDialogManager*>(mBoardScene->mPuzzleDialogManager);
    ASSERT_NE(dialogs, nullptr);
    ASSERT_NE(dialogs->darkeningSprite(), nullptr);
    EXPECT_EQ(dialogs->darkeningSprite()->getContentSize(), CCSize(0, 0));
    EXPECT_EQ(dialogs->darkeningSprite()->getScaleX(), 1.0f);
    EXPECT_NE(mBoardScene->getPuzzleScript(), nullptr);
}
