#include "scene/widgets/Button.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "scene/widgets/TooltipManager.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

using namespace cocos2d;

CCPoint Button::getTooltipPosition() const {
    return getPosition();
}

void Button::setTooltip(const std::string& image, const std::string& title,
                        const std::string& text) {
    mTooltipImage = image;
    mTooltipTitle = title;
    mTooltipText = text;
    mTooltipKind = 3;
    showTooltipIndicator();
    gTooltipManager.addTarget(this);
}

void Button::buildTooltip(CCNode* background) {
    if (background == nullptr || mTooltipImage.empty())
        return;
    const DropShadowInfo shadowA(0.9f, 0.9f, 0.75f, 0.0f, 1.5f);
    const DropShadowInfo shadowB(0.4f, 0.6f, 0.75f, 0.0f, 1.5f);
    const float W = background->getContentSize().width;
    const float H = background->getContentSize().height;

    CCSprite* icon = CCSprite::spriteWithFile(mTooltipImage);
    icon->setAnchorPoint(CCPoint(0.0f, 1.0f));
    icon->setPosition(CCPoint(7.0f, H - 7.0f));
    icon->setScale(0.5f);
    background->addChild(icon, 1);
    const float iw = icon->getContentSize().width / 2;

    const float titleX = 7.0f + iw + (W - 7.0f - iw) / 2;
    CCLabelTTF* title =
        CCLabelTTF::labelWithString(mTooltipTitle.c_str(), CCSize(142, 22), CCTextAlignmentCenter,
                                    getDetailsFontName(), 22.0f, 12.0f, &shadowA);
    title->setPosition(CCPoint(titleX, H - 18.0f));
    title->setColor(ccc3(255, 255, 220));
    background->addChild(title, 1);

    CCLabelTTF* kind = CCLabelTTF::labelWithString(localizedCString("Button"), CCSize(142, 18),
                                                   CCTextAlignmentCenter, getDetailsFontName(),
                                                   14.0f, 8.0f, &shadowB);
    kind->setPosition(CCPoint(titleX, H - 37.0f));
    kind->setColor(ccc3(220, 220, 220));
    background->addChild(kind, 1);

    CCSprite* separator = CCSprite::spriteWithFile("HelpTooltip_Separator.png");
    separator->setPosition(CCPoint(separator->getContentSize().width / 2 + 55.0f, H - 50.0f));
    background->addChild(separator, 1);

    CCLabelTTF* help = CCLabelTTF::labelWithString("<help text>", CCSize(W - 30.0f, H - 85.0f),
                                                   CCImage::kAlignTopLeft, getDetailsFontName(),
                                                   16.0f, -1.0f, &shadowB);
    help->setAnchorPoint(CCPoint(0.0f, 1.0f));
    help->setPosition(CCPoint(15.0f, H - 70.0f));
    help->setString(mTooltipText.c_str());
    background->addChild(help, 1);
}
