#include "platform/engine/CCActionColor.h"

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"

#include <algorithm>

namespace cocos2d {

uint8_t ccLerpByte(uint8_t from, uint8_t to, ccTime progress) {
    const float value = float(from) + (float(to) - float(from)) * progress;
    return uint8_t(std::clamp(value, 0.0f, 255.0f));
}

CCFadeTo* CCFadeTo::actionWithDuration(ccTime duration, uint8_t opacity) {
    auto* action = new CCFadeTo();
    action->initWithDuration(duration, opacity);
    action->autorelease();
    return action;
}

bool CCFadeTo::initWithDuration(ccTime duration, uint8_t opacity) {
    mToOpacity = opacity;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCFadeTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCFadeTo* copy = ccCopyTarget<CCFadeTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mToOpacity = mToOpacity;
    return copy;
}

void CCFadeTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(target))
        mFromOpacity = rgba->getOpacity();
}

void CCFadeTo::update(ccTime progress) {
    if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(mTarget))
        rgba->setOpacity(ccLerpByte(mFromOpacity, mToOpacity, progress));
}

CCFadeIn* CCFadeIn::actionWithDuration(ccTime duration) {
    auto* action = new CCFadeIn();
    action->initWithDuration(duration, 255);
    action->autorelease();
    return action;
}

CCObject* CCFadeIn::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCFadeIn, CCFadeTo>(this, zone);
}

void CCFadeIn::startWithTarget(CCNode* target) {
    CCFadeTo::startWithTarget(target);
    mFromOpacity = 0;
}

CCFadeOut* CCFadeOut::actionWithDuration(ccTime duration) {
    auto* action = new CCFadeOut();
    action->initWithDuration(duration, 0);
    action->autorelease();
    return action;
}

CCObject* CCFadeOut::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCFadeOut, CCFadeTo>(this, zone);
}

void CCFadeOut::startWithTarget(CCNode* target) {
    CCFadeTo::startWithTarget(target);
    mFromOpacity = 255;
}

CCTintTo* CCTintTo::actionWithDuration(ccTime duration, uint8_t red, uint8_t green, uint8_t blue) {
    auto* action = new CCTintTo();
    action->initWithDuration(duration, ccc3(red, green, blue));
    action->autorelease();
    return action;
}

bool CCTintTo::initWithDuration(ccTime duration, const ccColor3B& color) {
    mTo = color;
    return CCActionInterval::initWithDuration(duration);
}

CCObject* CCTintTo::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCTintTo* copy = ccCopyTarget<CCTintTo>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    copy->mTo = mTo;
    return copy;
}

void CCTintTo::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(target))
        mFrom = rgba->getColor();
}

void CCTintTo::update(ccTime progress) {
    if (CCRGBAProtocol* rgba = ccRGBAProtocolOf(mTarget)) {
        rgba->setColor(ccc3(ccLerpByte(mFrom.r, mTo.r, progress),
                            ccLerpByte(mFrom.g, mTo.g, progress),
                            ccLerpByte(mFrom.b, mTo.b, progress)));
    }
}

} // namespace cocos2d
