#include "rules/HelpTooltip.h"

#include "content/FontNames.h"

#include "platform/render/CCSprite.h"

#include <string_view>

using namespace cocos2d;

const DropShadowInfo& tooltipTitleShadow() {
    static const DropShadowInfo shadow(0.9f, 0.9f, 0.75f, 0.0f, 1.5f);
    return shadow;
}

const DropShadowInfo& tooltipTextShadow() {
    static const DropShadowInfo shadow(0.4f, 0.6f, 0.75f, 0.0f, 1.5f);
    return shadow;
}

CCLabelTTF* addTooltipLabel(CCNode* parent, const char* initial, const char* text,
                            const CCSize& box, CCImage::ETextAlign alignment, float size,
                            float smallest, const DropShadowInfo& shadow, const CCPoint& position,
                            int z) {
    CCLabelTTF* label = CCLabelTTF::labelWithString(initial, box, alignment, getDetailsFontName(),
                                                    size, smallest, &shadow);
    if (text != nullptr)
        label->setString(text);
    label->setPosition(position);
    parent->addChild(label, z);
    return label;
}

CCSprite* addTooltipSprite(CCNode* parent, const char* image, const CCPoint& anchor,
                           const CCPoint& position) {
    CCSprite* sprite = CCSprite::spriteWithFile(image);
    sprite->setAnchorPoint(anchor);
    sprite->setPosition(position);
    parent->addChild(sprite, 1);
    return sprite;
}

void buildHelpTooltip(CCNode* layer, const char* portrait, const char* title, const char* kind,
                      const char* text) {
    if (layer == nullptr)
        return;
    const float width = layer->getContentSize().width;
    const float height = layer->getContentSize().height;
    const CCImage::ETextAlign centre = CCLabelTTF::alignmentOf(CCTextAlignmentCenter);

    CCSprite* picture =
        addTooltipSprite(layer, portrait, CCPoint(0.0f, 1.0f), CCPoint(7.0f, height - 7.0f));
    picture->setScale(0.5f);
    const float pictureWidth = picture->getContentSize().width / 2;
    const float centreX = 7.0f + pictureWidth + (width - 7.0f - pictureWidth) / 2;

    addTooltipLabel(layer, title, nullptr, CCSize(142, 22), centre, 22.0f, 12.0f,
                    tooltipTitleShadow(), CCPoint(centreX, height - 18.0f))
        ->setColor(ccc3(255, 255, 220));

    if (!std::string_view(kind).empty())
        addTooltipLabel(layer, kind, nullptr, CCSize(142, 18), centre, 14.0f, 8.0f,
                        tooltipTextShadow(), CCPoint(centreX, height - 37.0f))
            ->setColor(ccc3(220, 220, 220));

    CCSprite* separator = addTooltipSprite(layer, "HelpTooltip_Separator.png", CCPoint(0.5f, 0.5f),
                                           CCPoint(0.0f, height - 50.0f));
    separator->setPosition(CCPoint(separator->getContentSize().width / 2 + 55.0f, height - 50.0f));

    CCLabelTTF* help = addTooltipLabel(
        layer, "<help text>", text, CCSize(width - 30.0f, height - 85.0f), CCImage::kAlignTopLeft,
        16.0f, -1.0f, tooltipTextShadow(), CCPoint(15.0f, height - 70.0f));
    help->setAnchorPoint(CCPoint(0.0f, 1.0f));
}
