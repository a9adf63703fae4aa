#include "puzzle/PuzzleDialogManager.h"

#include "puzzle/PuzzleArrow.h"
#include "puzzle/PuzzleDialog.h"

#include "scene/GameScene.h"

#include "rules/PuzzleScript.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCSprite.h"

#include <algorithm>

using namespace cocos2d;

PuzzleDialogManager* PuzzleDialogManager::node() {
    auto* layer = new PuzzleDialogManager();
    if (!layer->init()) {
        layer->release();
        return nullptr;
    }
    layer->autorelease();
    return layer;
}

PuzzleDialogManager* PuzzleDialogManager::current() {
    const auto* scene = dynamic_cast<const GameScene*>(gGameScene);
    return scene != nullptr ? dynamic_cast<PuzzleDialogManager*>(scene->mPuzzleDialogManager)
                            : nullptr;
}

PuzzleDialogManager::~PuzzleDialogManager() {
    mShown.clear();
    mDialogs.clear();
    mArrows.clear();
    if (mDarkening != nullptr)
        mDarkening->removeFromParentAndCleanup(true);
}

bool PuzzleDialogManager::init() {
    if (!CCLayer::init())
        return false;
    mDarkening = CCSprite::spriteWithFile(cDarkeningImage);
    if (mDarkening == nullptr)
        return false;
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCSize image = mDarkening->getContentSize();
    mDarkening->setPosition(CCPoint(window.width / 2, window.height / 2));
    if (image.width > 0 && image.height > 0) {
        mDarkening->setScaleX(window.width / image.width);
        mDarkening->setScaleY(window.height / image.height);
    }
    mDarkening->setOpacity(0);
    addChild(mDarkening);
    setIsTouchEnabled(true);
    return true;
}

bool PuzzleDialogManager::addDialog(const PuzzleResultNode* node) {
    auto dialog = std::make_unique<PuzzleDialog>();
    if (!dialog->load(node, this))
        return false;
    auto found = mDialogs.find(dialog->name());
    if (found != mDialogs.end()) {
        std::erase(mShown, found->second.get());
        found->second = std::move(dialog);
    } else {
        mDialogs.emplace(dialog->name(), std::move(dialog));
    }
    return true;
}

PuzzleDialog* PuzzleDialogManager::dialog(const std::string& name) const {
    auto found = mDialogs.find(name);
    return found != mDialogs.end() ? found->second.get() : nullptr;
}

bool PuzzleDialogManager::showDialog(const std::string& name) {
    PuzzleDialog* shown = dialog(name);
    if (shown == nullptr || std::ranges::find(mShown, shown) != mShown.end())
        return false;
    shown->show();
    mShown.push_back(shown);
    if (shown->tapToClose())
        fadeDarkening(true);
    return true;
}

bool PuzzleDialogManager::hideDialog(const std::string& name) {
    PuzzleDialog* hidden = dialog(name);
    auto at = std::ranges::find(mShown, hidden);
    if (hidden == nullptr || at == mShown.end())
        return false;
    hidden->hide();
    mShown.erase(at);
    if (hidden->tapToClose())
        fadeDarkening(false);
    return true;
}

void PuzzleDialogManager::hideAllDialogs() {
    for (PuzzleDialog* shown : mShown)
        shown->hide();
    mShown.clear();
    if (mDarkening != nullptr && mDarkening->getOpacity() > 0)
        fadeDarkening(false);
}

int32_t PuzzleDialogManager::addArrow(const PuzzleResultNode* node) {
    auto arrow = std::make_unique<PuzzleArrow>();
    if (!arrow->load(node, this))
        return -1;
    mArrows.push_back(std::move(arrow));
    return int32_t(mArrows.size()) - 1;
}

PuzzleArrow* PuzzleDialogManager::arrow(int32_t index) const {
    return index >= 0 && index < arrowCount() ? mArrows[size_t(index)].get() : nullptr;
}

bool PuzzleDialogManager::showArrow(int32_t index) {
    hideArrow();
    PuzzleArrow* shown = arrow(index);
    if (shown == nullptr)
        return false;
    shown->show();
    mCurrentArrow = index;
    return true;
}

void PuzzleDialogManager::hideArrow() {
    if (PuzzleArrow* shown = arrow(mCurrentArrow))
        shown->hide();
    mCurrentArrow = -1;
}

void PuzzleDialogManager::registerWithTouchDispatcher() {
    CCTouchDispatcher::sharedDispatcher()->addTargetedDelegate(this, 0, true);
}

bool PuzzleDialogManager::anyTapToCloseShown() const {
    return std::ranges::any_of(mShown,
                               [](const PuzzleDialog* shown) { return shown->tapToClose(); });
}

bool PuzzleDialogManager::ccTouchBegan(CCTouch* /*touch*/, CCEvent* /*event*/) {
    return anyTapToCloseShown();
}

void PuzzleDialogManager::ccTouchMoved(CCTouch* /*touch*/, CCEvent* /*event*/) {}

void PuzzleDialogManager::ccTouchEnded(CCTouch* /*touch*/, CCEvent* /*event*/) {
    // Close tags run script events that may show, hide or replace bubbles:
    // walk the bubbles waiting for a tap when the touch ended, by name, and
    // close only those still shown.
    std::vector<std::string> closing;
    for (const PuzzleDialog* shown : mShown)
        if (shown->tapToClose())
            closing.push_back(shown->name());
    retain(); // a tag's event may end the scene and drop this layer
    bool closed = false;
    for (const std::string& name : closing) {
        PuzzleDialog* shown = dialog(name);
        auto at = std::ranges::find(mShown, shown);
        if (shown == nullptr || at == mShown.end())
            continue;
        shown->hide();
        mShown.erase(at);
        closed = true;
        const std::string tag = shown->closeTag();
        if (tag.empty() || gGameScene == nullptr)
            continue;
        if (PuzzleScript* script = gGameScene->getPuzzleScript())
            script->sendTag(tag);
    }
    if (closed && !anyTapToCloseShown() && mDarkening != nullptr && mDarkening->getOpacity() > 0)
        fadeDarkening(false);
    release();
}

void PuzzleDialogManager::fadeDarkening(bool in) {
    if (mDarkening == nullptr)
        return;
    mDarkening->stopAllActions();
    mDarkening->runAction(in ? static_cast<CCAction*>(CCFadeIn::actionWithDuration(cFadeTime))
                             : CCFadeOut::actionWithDuration(cFadeTime));
}
