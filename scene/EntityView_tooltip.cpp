// The help panel of a tile: the header (portrait, name, class, separator)
// for every kind; for units the health bar, power, defense and resist, the
// range and movement tiles and the help text; for gear, buffs and powers the
// help text alone. Numbers that buffs raised or lowered are coloured.

#include "scene/EntityView.h"

#include "content/FontNames.h"
#include "content/LocalizedStrings.h"
#include "content/protos/ProtoEntity.h"
#include "rules/Entity.h"
#include "rules/HelpTooltip.h"

#include "platform/render/CCLabelTTF.h"
#include "platform/render/CCProgressTimer.h"
#include "platform/render/CCSprite.h"

#include <algorithm>
#include <sstream>
#include <string>

using namespace cocos2d;

namespace {

constexpr ccColor3B cRaised{50, 255, 50};
constexpr ccColor3B cLowered{255, 100, 100};

// Colours a value that buffs moved away from its base; the default colour
// stays otherwise.
template <class T> void colourAgainst(CCLabelTTF* label, T value, T above, T below) {
    if (value > above)
        label->setColor(cRaised);
    else if (value < below)
        label->setColor(cLowered);
}

// A fraction as a percent in a text stream's default float format.
std::string percent(float fraction) {
    std::ostringstream text;
    text << fraction * 100.0f << '%';
    return text.str();
}

const CCImage::ETextAlign cCentre = CCLabelTTF::alignmentOf(CCTextAlignmentCenter);
const CCImage::ETextAlign cLeft = CCLabelTTF::alignmentOf(CCTextAlignmentLeft);

// The bullet and the row's icon, both anchored on their left middle.
void addRowIcons(CCNode* bg, const char* icon, float iconX, float y) {
    addTooltipSprite(bg, icon, CCPoint(0.0f, 0.5f), CCPoint(iconX, y));
    addTooltipSprite(bg, "HelpTooltip_Bulletpoint.png", CCPoint(0.0f, 0.5f),
                     CCPoint(iconX + 28.0f, y));
}

// A stat-row label anchored on its left middle.
CCLabelTTF* addStatLabel(CCNode* bg, const char* initial, const std::string& text, float x,
                         float y) {
    CCLabelTTF* label = addTooltipLabel(bg, initial, text.c_str(), CCSize(200, 20), cLeft, 16.0f,
                                        -1.0f, tooltipTextShadow(), CCPoint(x, y));
    label->setAnchorPoint(CCPoint(0.0f, 0.5f));
    return label;
}

// One line of the range block: icon, count tiles and the number; returns
// the number's label.
CCLabelTTF* addTileLine(CCNode* bg, const char* icon, const char* tile, int32_t count, float y) {
    addTooltipSprite(bg, icon, CCPoint(0.0f, 0.5f), CCPoint(72.0f, y));
    float x = 93.0f;
    for (int32_t i = 0; i < count; ++i) {
        CCSprite* square = addTooltipSprite(bg, tile, CCPoint(0.0f, 0.5f), CCPoint(x, y));
        square->setScaleX(1.0f);
        x += square->getContentSize().width;
    }
    if (count > 0)
        x += 5.0f;
    CCLabelTTF* number =
        CCLabelTTF::labelWithString("9", getDetailsFontName(), 12.0f, &tooltipTextShadow());
    number->setString(std::to_string(count).c_str());
    number->setAnchorPoint(CCPoint(0.0f, 0.5f));
    number->setPosition(CCPoint(x, y));
    bg->addChild(number, 1);
    return number;
}

// The unit rows below the header; d is the running row offset from the top.
void addUnitRows(CCNode* bg, const Entity& entity, const ProtoEntity& proto, float H) {
    const float rowY = H - 67.0f;
    CCSprite* inset =
        addTooltipSprite(bg, "HelpTooltip_InsetHP.png", CCPoint(0.5f, 0.5f), CCPoint(0.0f, rowY));
    inset->setPosition(CCPoint(45.0f + inset->getContentSize().width / 2, rowY));
    CCProgressTimer* bar = CCProgressTimer::progressWithFile("HelpTooltip_HPBar.png");
    bar->setType(kCCProgressTimerTypeHorizontalBarLR);
    bar->setPercentage(entity.getHealthFraction() * 100.0f);
    const float barWidth = bar->getContentSize().width;
    bar->setPosition(CCPoint(45.0f + barWidth / 2, rowY));
    bg->addChild(bar, 2);
    addRowIcons(bg, "HelpTooltip_HP.png", 7.0f, rowY);
    const std::string health =
        std::to_string(entity.mHealth) + "/" + std::to_string(entity.getMaxHealth());
    addTooltipLabel(bg, "HP:", health.c_str(), CCSize(200, 20), cCentre, 16.0f, -1.0f,
                    tooltipTextShadow(), CCPoint(bar->getPosition().x + barWidth + 15.0f, rowY), 3);

    float d = 87.0f;
    const int32_t power = entity.getPower(nullptr);
    if (power > 0 || proto.mPower > 0) {
        const char* kind =
            localizedCString(proto.mDamageType == cDamagePhysical ? "Physical" : "Magical");
        CCLabelTTF* label =
            addStatLabel(bg, "Power:", std::to_string(power) + " " + kind, 45.0f, H - d);
        colourAgainst(label, power, proto.mPower, proto.mPower);
        addRowIcons(bg,
                    proto.mDamageType == cDamagePhysical ? "UI/TooltipIcon_PhysDmg.png"
                                                         : "UI/TooltipIcon_MagicDmg.png",
                    7.0f, H - d);
        d = 107.0f;
    }

    const float y = H - d;
    const float defense = entity.getDefense();
    CCLabelTTF* defenseLabel = addStatLabel(bg, "Defense:", percent(defense), 45.0f, y);
    colourAgainst(defenseLabel, defense, proto.mDefense * 0.01f + 0.005f,
                  proto.mDefense * 0.01f - 0.005f);
    addRowIcons(bg, "UI/TooltipIcon_PhysDef.png", 7.0f, y);
    const float resist = entity.getResist();
    CCLabelTTF* resistLabel = addStatLabel(bg, "Resist:", percent(resist), 0.0f, y);
    resistLabel->setAnchorPoint(CCPoint(0.5f, 0.5f));
    resistLabel->setPosition(CCPoint(145.0f + resistLabel->getContentSize().width / 2, y));
    colourAgainst(resistLabel, resist, proto.mResist * 0.01f + 0.005f,
                  proto.mResist * 0.01f - 0.005f);
    addRowIcons(bg, "UI/TooltipIcon_MagicRes.png", 107.0f, y);
    d += 20.0f;

    const int32_t range = entity.getRange() + std::max(proto.mBonusRangeX, proto.mBonusRangeY);
    const int32_t movement = entity.getMovement();
    if (range > 0 || movement > 0) {
        const float yc = H - (d + 10.0f);
        CCLabelTTF* caption =
            addTooltipLabel(bg, localizedCString("Range:"), nullptr, CCSize(58, 20),
                            CCLabelTTF::alignmentOf(CCTextAlignmentRight), 16.0f, 8.0f,
                            tooltipTextShadow(), CCPoint(67.0f, yc));
        caption->setAnchorPoint(CCPoint(1.0f, 0.5f));
        CCLabelTTF* rangeNumber = addTileLine(bg, "UI/TooltipIcon_Range.png",
                                              "TooltipIcon_RangeTile.png", range, yc + 8.5f);
        colourAgainst(rangeNumber, entity.getRange(), proto.mMaxRange, proto.mMaxRange);
        CCLabelTTF* moveNumber =
            addTileLine(bg, "UI/TooltipIcon_Movement.png", "TooltipIcon_MovementTile.png", movement,
                        yc + 8.5f - 17.0f);
        colourAgainst(moveNumber, movement, proto.mMoveRange, proto.mMoveRange);
        d += 20.0f;
    }

    CCSprite* separator = addTooltipSprite(bg, "HelpTooltip_SeparatorWide.png", CCPoint(0.5f, 0.5f),
                                           CCPoint(0.0f, H - d));
    separator->setPosition(CCPoint(7.0f + separator->getContentSize().width / 2, H - d));
    addTooltipLabel(bg, "<help text>", proto.mShortHelp.c_str(), CCSize(180, 60), cLeft, 12.0f,
                    -1.0f, tooltipTextShadow(), CCPoint(17.0f, H - d))
        ->setAnchorPoint(CCPoint(0.0f, 1.0f));
}

} // namespace

void EntityView::buildTooltip(CCNode* bg) {
    const Entity* owner = entity();
    const ProtoEntity* proto = owner != nullptr ? owner->getProto() : nullptr;
    if (bg == nullptr || proto == nullptr)
        return;
    const float W = bg->getContentSize().width;
    const float H = bg->getContentSize().height;

    float x0 = 50.0f;
    if (!proto->mPortrait.empty()) {
        CCSprite* portrait = addTooltipSprite(bg, proto->mPortrait.c_str(), CCPoint(0.0f, 1.0f),
                                              CCPoint(7.0f, H - 7.0f));
        portrait->setScale(0.3906f);
        x0 = portrait->getContentSize().width * 0.3906f;
    }
    const float textX = (x0 + 7.0f + W) / 2;
    addTooltipLabel(bg, proto->mDisplayName.c_str(), nullptr, CCSize(142, 26), cCentre, 26.0f,
                    12.0f, tooltipTitleShadow(), CCPoint(textX, H - 18.0f))
        ->setColor(ccc3(255, 255, 220));
    const std::string& className =
        proto->mClassDisplayName.empty() ? proto->mClassName : proto->mClassDisplayName;
    addTooltipLabel(bg, "Class", className.c_str(), CCSize(142, 18), cCentre, 14.0f, 8.0f,
                    tooltipTextShadow(), CCPoint(textX, H - 37.0f))
        ->setColor(ccc3(220, 220, 220));
    CCSprite* separator = addTooltipSprite(bg, "HelpTooltip_Separator.png", CCPoint(0.5f, 0.5f),
                                           CCPoint(0.0f, H - 50.0f));
    separator->setPosition(CCPoint(x0 + 7.0f + separator->getContentSize().width / 2, H - 50.0f));

    switch (proto->mType) {
    case cEntityUnit:
        addUnitRows(bg, *owner, *proto, H);
        break;
    case cEntityGear:
    case cEntityBuff:
    case cEntityPower:
        addTooltipLabel(bg, "<help text>", proto->mShortHelp.c_str(),
                        CCSize(180, H - 67.0f - 10.0f), CCImage::kAlignTopLeft, 16.0f, -1.0f,
                        tooltipTextShadow(), CCPoint(17.0f, H - 67.0f))
            ->setAnchorPoint(CCPoint(0.0f, 1.0f));
        break;
    default: // projectiles and effects: the header only
        break;
    }
}
