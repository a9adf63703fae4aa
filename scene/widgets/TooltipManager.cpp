#include "scene/widgets/TooltipManager.h"

#include "rules/TooltipProtocol.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCActionScale.h"
#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCSequence.h"
#include "platform/engine/CCSpawn.h"
#include "platform/engine/CCTouch.h"
#include "platform/engine/CCTouchDispatcher.h"
#include "platform/render/CCTexture2D.h"
#include "platform/render/CCTextureCache.h"

#include <algorithm>
#include <cstdio>

using namespace cocos2d;

TooltipManager gTooltipManager;

namespace {

constexpr const char* cIndicatorImages[] = {"UI_Tooltip.png", "UI_Tooltip2.png", "UI_Tooltip3.png",
                                            "UI_Tooltip4.png"};
constexpr int cPickPriority = -10;
constexpr float cIndicatorFade = 0.25f;

} // namespace

TooltipManager::~TooltipManager() {
    releaseTextures();
}

bool TooltipManager::addTarget(TooltipProtocol* target) {
    if (target == nullptr || std::find(mTargets.begin(), mTargets.end(), target) != mTargets.end())
        return false;
    mTargets.push_back(target);
    return true;
}

bool TooltipManager::removeTarget(TooltipProtocol* target) {
    if (target == nullptr)
        return false;
    std::erase(mTargets, target);
    return true;
}

CCTexture2D* TooltipManager::indicatorTexture(int32_t kind) {
    if (kind < 0 || kind >= int32_t(mIndicatorTextures.size()))
        return nullptr;
    CCTexture2D*& texture = mIndicatorTextures[size_t(kind)];
    if (texture == nullptr) {
        texture = CCTextureCache::sharedTextureCache()->addImage(cIndicatorImages[kind]);
        if (texture != nullptr)
            texture->retain();
    }
    return texture;
}

void TooltipManager::beginTooltipMode() {
    for (TooltipProtocol* target : mTargets) {
        CCNode* indicator = target != nullptr ? target->mTooltipIndicator : nullptr;
        if (indicator == nullptr)
            continue;
        indicator->stopAllActions();
        indicator->setPosition(target->getTooltipIndicatorPosition());
        indicator->setIsVisible(true);
        indicator->runAction(CCFadeIn::actionWithDuration(cIndicatorFade));
    }
    CCTouchDispatcher* dispatcher = CCTouchDispatcher::sharedDispatcher();
    if (!dispatcher->isRegistered(this))
        dispatcher->addTargetedDelegate(this, cPickPriority, true);
}

void TooltipManager::endTooltipMode() {
    CCTouchDispatcher::sharedDispatcher()->removeDelegate(this);
    for (TooltipProtocol* target : mTargets) {
        CCNode* indicator = target != nullptr ? target->mTooltipIndicator : nullptr;
        if (indicator == nullptr) {
            std::printf("  WTF\n");
            continue;
        }
        indicator->stopAllActions();
        CCFiniteTimeAction* away =
            CCSpawn::actionOneTwo(CCScaleTo::actionWithDuration(cIndicatorFade, 0.5f),
                                  CCFadeOut::actionWithDuration(cIndicatorFade));
        indicator->runAction(CCSequence::actionOneTwo(
            CCEaseOut::actionWithAction(static_cast<CCActionInterval*>(away), 2.0f),
            CCHide::action()));
    }
    std::fflush(stdout);
}

bool TooltipManager::ccTouchBegan(CCTouch* touch, CCEvent* /*event*/) {
    const CCPoint p = CCDirector::sharedDirector()->convertToScene(touch->locationInView());
    TooltipProtocol* best = nullptr;
    float bestDistance2 = cPickRadius * cPickRadius;
    for (TooltipProtocol* target : mTargets) {
        if (target == nullptr)
            continue;
        const CCPoint q = target->getTooltipPosition();
        const float dx = p.x - q.x;
        const float dy = p.y - q.y;
        const float d2 = dx * dx + dy * dy;
        if (d2 < bestDistance2) {
            best = target;
            bestDistance2 = d2;
        }
    }
    if (best != nullptr)
        best->showTooltip();
    endTooltipMode();
    playSoundEffect(best != nullptr ? "sound/UI_Game_Question_Card_IN.mp3"
                                    : "sound/UI_Game_Tooltip_Hide.mp3",
                    nullptr, false);
    return true;
}

void TooltipManager::purge() {
    mTargets.clear();
    releaseTextures();
}

void TooltipManager::releaseTextures() {
    for (CCTexture2D*& texture : mIndicatorTextures)
        ccSafeRelease(texture);
}
