#include "puzzle/PuzzleDialogManager.h"

#include "platform/engine/CCDirector.h"
#include "platform/render/CCSprite.h"

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
    return true;
}
