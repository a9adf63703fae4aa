#include "rules/HelpTooltip.h"

#include "content/FontNames.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCSprite.h"

#include <string_view>

using namespace cocos2d;

void buildHelpTooltip(CCNode* layer, const char* portrait, const char* title, const char* kind,
                      const char* text) {
    if (layer == nullptr)
        return;
    const DropShadowInfo titleShadow(0.9f, 0.9f, 0.75f, 0.0f, 1.5f);
    const DropShadowInfo textShadow(0.4f, 0.6f, 0.75f, 0.0f, 1.5f);
    const float width = layer->getContentSize().width;
    const float height = layer->getContentSize().height;

    CCSprite* picture = CCSprite::spriteWithFile(portrait);
    picture->setAnchorPoint(CCPoint(0.0f, 1.0f));
    picture->setPosition(CCPoint(7.0f, height - 7.0f));
    picture->setScale(0.5f);
    layer->addChild(picture, 1);
    const float pictureWidth = picture->getContentSize().width / 2;
    const float centreX = 7.0f + pictureWidth + (width - 7.0f - pictureWidth) / 2;

    CCLabelTTF* heading =
        CCLabelTTF::labelWithString(title, CCSize(142, 22), CCTextAlignmentCenter,
                                    getDetailsFontName(), 22.0f, 12.0f, &titleShadow);
    heading->setPosition(CCPoint(centreX, height - 18.0f));
    heading->setColor(ccc3(255, 255, 220));
    layer->addChild(heading, 1);

    if (!std::string_view(kind).empty()) {
        CCLabelTTF* kindLine =
            CCLabelTTF::labelWithString(kind, CCSize(142, 18), CCTextAlignmentCenter,
                                        getDetailsFontName(), 14.0f, 8.0f, &textShadow);
        kindLine->setPosition(CCPoint(centreX, height - 37.0f));
        kindLine->setColor(ccc3(220, 220, 220));
        layer->addChild(kindLine, 1);
    }

    CCSprite* separator = CCSprite::spriteWithFile("HelpTooltip_Separator.png");
    separator->setPosition(CCPoint(separator->getContentSize().width / 2 + 55.0f, height - 50.0f));
    layer->addChild(separator, 1);

    CCLabelTTF* help = CCLabelTTF::labelWithString(
        "<help text>", CCSize(width - 30.0f, height - 85.0f), CCImage::kAlignTopLeft,
        getDetailsFontName(), 16.0f, -1.0f, &textShadow);
    help->setAnchorPoint(CCPoint(0.0f, 1.0f));
    help->setPosition(CCPoint(15.0f, height - 70.0f));
    help->setString(text);
    layer->addChild(help, 1);
}
