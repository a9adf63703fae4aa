#include "scene/SubmitConfirmLayer.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "scene/widgets/Button.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

SubmitConfirmLayer::SubmitConfirmLayer(const char* message, CCObject* target,
                                       SEL_MenuHandler callback, const char* okLabel)
    : ConfirmLayer(message, callback, target, okLabel, cSubmitSound, cCancelSound) {
    const CCSize win = CCDirector::sharedDirector()->getWinSize();
    const float w = win.width;
    const float h = win.height;
    setContentSize(win);
    setAnchorPoint(CCPoint(0.5f, 0.5f));

    mTauntButton = new Button("UI/Button-290.png", "UI/Button-290.png", "UI/Button-290-Glow.png",
                              CCPoint(w / 2, h / 2), localizedCString("Submit With Taunt"),
                              getHeaderFontName(), 26, Button::insets(6, 47, 6, 54));
    addChild(mTauntButton);
    if (CCLabelTTF* label = mTauntButton->getLabel())
        label->setColor(ccc3(250, 250, 250));
    mTauntButton->mTapTarget = this;
    mTauntButton->mTapSelector = callfunc_selector(SubmitConfirmLayer::onSubmitWithTaunt);
    mTauntButton->mSound = cSubmitSound;

    mOkButton->setPosition(CCPoint(w / 2, h / 2 + cRowSpacing));
    mCancelButton->setPosition(CCPoint(w / 2, h / 2 - cRowSpacing));

    mTauntButton->setScale(0.9f);
    mTauntButton->setOpacity(0);
    appear(mTauntButton, message != nullptr, 255);

    // The taunt symbol at the button's left end; it fades in with the button.
    CCSprite* symbol = CCSprite::spriteWithFile("UI/SymbolTaunts.png");
    const CCSprite* image = mTauntButton->getSprite();
    const float imageWidth = image != nullptr ? image->getContentSize().width : 0;
    symbol->setPosition(CCPoint(30 - imageWidth / 2, 0));
    symbol->setOpacity(0);
    mTauntButton->addChild(symbol);
}

SubmitConfirmLayer::~SubmitConfirmLayer() {
    if (mTauntButton != nullptr) {
        mTauntButton->removeFromParentAndCleanup(true);
        mTauntButton->release();
    }
}

void SubmitConfirmLayer::dismiss() {
    mTauntButton->setEnabled(false);
    mTauntButton->runAction(CCFadeTo::actionWithDuration(0.15f, 0));
    ConfirmLayer::dismiss();
}

void SubmitConfirmLayer::onSubmitWithTaunt() {
    answer(this);
}
