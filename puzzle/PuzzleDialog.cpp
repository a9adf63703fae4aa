#include "puzzle/PuzzleDialog.h"

#include "puzzle/PuzzleScriptNode.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCSpawn.h"
#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

namespace {

int32_t alignment(const std::string& value, const char* first, const char* last) {
    if (value == first)
        return 0;
    return value == last ? 2 : 1;
}

CCActionInterval* easedOut(CCActionInterval* action) {
    return CCEaseOut::actionWithAction(action, 2.0f);
}

} // namespace

PuzzleDialog::~PuzzleDialog() {
    if (mBubble != nullptr) {
        mBubble->removeFromParentAndCleanup(true);
        mBubble->release();
    }
}

bool PuzzleDialog::load(const PuzzleResultNode* node, CCNode* parent) {
    if (node == nullptr || parent == nullptr)
        return false;
    const PuzzleAttributes& attributes = node->mAttributes;
    mName = attributeText(attributes, "name");
    mTapToClose = attributeText(attributes, "tapToClose") == "true";
    mCloseTag = attributeText(attributes, "closeTag");
    mHAlign = alignment(attributeText(attributes, "hAlign"), "Left", "Right");
    mVAlign = alignment(attributeText(attributes, "vAlign"), "Top", "Bottom");
    mShowTapIcon = attributeText(attributes, "showTapIcon") == "true";
    mBackground = attributeText(attributes, "background");
    mContents =
        attributes.contains("pcContents") ? attributeText(attributes, "pcContents") : node->mText;
    const float margin = mShowTapIcon ? 20.0f : 10.0f;

    CCSprite* bubble =
        CCSprite::spriteWithFile(mBackground.empty() ? cDefaultBackground : mBackground.c_str());
    if (bubble == nullptr || bubble->getTexture() == nullptr)
        return false;
    mBubble = bubble;
    mBubble->retain();
    parent->addChild(mBubble);
    const CCSize size = mBubble->getContentSize();
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const float x[] = {size.width / 2, window.width / 2, window.width - size.width / 2};
    const float y[] = {window.height - size.height / 2, window.height / 2, size.height / 2};
    mRestingPosition = CCPoint(x[mHAlign], y[mVAlign]);

    if (mShowTapIcon) {
        if (CCSprite* icon = CCSprite::spriteWithFile(cTapIcon)) {
            icon->setPosition(CCPoint(size.width - 18, size.height - 18));
            mBubble->addChild(icon, 10);
        }
    }
    CCLabelTTF* label = CCLabelTTF::labelWithString(
        localizedCString(mContents), CCSize(size.width - 2 * margin, size.height - 2 * margin),
        CCTextAlignmentCenter, getDetailsFontName(), 26.0f, 12.0f, nullptr, nullptr);
    if (label != nullptr) {
        label->setColor(ccc3(0, 0, 0));
        label->setPosition(CCPoint(size.width / 2, size.height / 2));
        mBubble->addChild(label, 1);
    }
    mBubble->setPosition(mRestingPosition);
    mBubble->setOpacity(0);
    return true;
}

void PuzzleDialog::show() {
    if (mBubble == nullptr)
        return;
    mBubble->stopAllActions();
    mBubble->setPosition(CCPoint(mRestingPosition.x, mRestingPosition.y - 100));
    mBubble->setScale(0.5f);
    mBubble->runAction(
        CCSpawn::actions(easedOut(CCMoveTo::actionWithDuration(cFadeTime, mRestingPosition)),
                         easedOut(CCScaleTo::actionWithDuration(cFadeTime, 1.0f)),
                         easedOut(CCFadeIn::actionWithDuration(cFadeTime))));
}

void PuzzleDialog::hide() {
    if (mBubble == nullptr)
        return;
    mBubble->stopAllActions();
    mBubble->runAction(CCSpawn::actionOneTwo(CCScaleTo::actionWithDuration(cFadeTime, 0.9f),
                                             CCFadeOut::actionWithDuration(cFadeTime)));
}
