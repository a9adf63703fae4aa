#include "puzzle/PuzzleCompleteLayer.h"

#include "puzzle/PuzzleMenuServices.h"

#include "scene/GameScene.h"
#include "scene/widgets/Button.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/settings/SettingsManager.h"
#include "rules/Game.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCLabelTTF.h"

using namespace cocos2d;

namespace {

// Stops a button, takes it off its parent and drops the owner's reference.
void dropButton(Button*& button) {
    if (button == nullptr)
        return;
    button->stopAllActions();
    button->removeFromParentAndCleanup(true);
    button->release();
    button = nullptr;
}

bool currentPuzzleIsTutorial() {
    return gCurrentGame != nullptr && gCurrentGame->mPuzzleCategory >= 0 &&
           gCurrentGame->mPuzzleCategory == SettingsManager::instance().mTutorialsCategoryIndex;
}

} // namespace

PuzzleCompleteLayer::PuzzleCompleteLayer(const char* label, bool won)
    : ConfirmLayer(nullptr, nullptr, nullptr, label, cSubmitSound, nullptr), mWon(won) {}

PuzzleCompleteLayer::~PuzzleCompleteLayer() {
    dropButton(mSecondButton);
}

PuzzleCompleteLayer* PuzzleCompleteLayer::create(const char* label, bool won, bool hasNext,
                                                 bool callToAction, bool isLast, bool toMainMenu) {
    auto* layer = new PuzzleCompleteLayer(label, won);
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    layer->setContentSize(window);
    layer->setAnchorPoint(CCPoint(0.5f, 0.5f));
    layer->mOkButton->setPosition(CCPoint(window.width / 2, window.height / 2 - 50));
    layer->mOkButton->mTapTarget = layer;
    layer->mOkButton->mTapSelector = won ? callfunc_selector(PuzzleCompleteLayer::onNext)
                                         : callfunc_selector(PuzzleCompleteLayer::onRetry);
    dropButton(layer->mCancelButton);
    if (!hasNext)
        dropButton(layer->mOkButton);

    const char* second = isLast ? "Continue" : callToAction ? "Back" : nullptr;
    if (second == nullptr)
        return layer;
    Button* button = new Button("UI/Button-186.png", "UI/Button-186.png", "UI/Button-186-Glow.png",
                                CCPoint(0, 0), localizedCString(second), getHeaderFontName(), 26,
                                Button::insets(6, 6, 6, 6));
    if (CCLabelTTF* text = button->getLabel())
        text->setColor(ccc3(250, 250, 250));
    layer->mSecondButton = button;
    layer->addChild(button);
    button->setPosition(CCPoint(window.width / 2, window.height / 2 - 100));
    button->setScale(0.9f);
    button->setOpacity(0);
    layer->appear(button, false, 255);
    button->mTapTarget = layer;
    button->mTapSelector = toMainMenu || currentPuzzleIsTutorial()
                               ? callfunc_selector(PuzzleCompleteLayer::onMainMenu)
                               : callfunc_selector(PuzzleCompleteLayer::onChallenges);
    return layer;
}

void PuzzleCompleteLayer::dismiss() {
    if (mSecondButton != nullptr) {
        mSecondButton->setEnabled(false);
        mSecondButton->runAction(CCFadeTo::actionWithDuration(0.15f, 0));
    }
    ConfirmLayer::dismiss();
}

void PuzzleCompleteLayer::loadPuzzle(int32_t offset) {
    dismiss();
    if (gCurrentGame == nullptr)
        return;
    const int32_t category = gCurrentGame->mPuzzleCategory;
    const int32_t index = gCurrentGame->mPuzzleIndex;
    if (category < 0 || index < 0 ||
        index + offset >= SettingsManager::instance().puzzleCount(category))
        return;
    if (auto* scene = dynamic_cast<GameScene*>(gGameScene))
        scene->loadNextPuzzle(category, index + offset);
}

void PuzzleCompleteLayer::onNext() {
    loadPuzzle(1);
}

void PuzzleCompleteLayer::onRetry() {
    loadPuzzle(0);
}

void PuzzleCompleteLayer::onMainMenu() {
    retain(); // popping the scene may drop the layer
    puzzleMenuServices().popGameScene();
    puzzleMenuServices().sendToMainMenu();
    release();
}

void PuzzleCompleteLayer::onChallenges() {
    retain();
    puzzleMenuServices().popGameScene();
    puzzleMenuServices().navigateToChallenges();
    release();
}
