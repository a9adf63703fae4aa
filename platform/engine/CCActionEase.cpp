#include "platform/engine/CCActionEase.h"

#include "platform/engine/CCActionCopy.h"

#include <cmath>
#include <numbers>

namespace cocos2d {

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

template <class T, class... Args> T* makeEase(CCActionInterval* action, Args... args) {
    auto* ease = new T();
    ease->initWithAction(action, args...);
    ease->autorelease();
    return ease;
}

} // namespace

CCActionEase::~CCActionEase() {
    ccSafeRelease(mInner);
}

bool CCActionEase::initWithAction(CCActionInterval* action) {
    action->retain();
    ccSafeRelease(mInner);
    mInner = action;
    return initWithDuration(action->getDuration());
}

CCObject* CCActionEase::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCActionEase* copy = ccCopyTarget<CCActionEase>(zone, ownZone);
    CCActionInterval::copyWithZone(zone);
    auto* inner = static_cast<CCActionInterval*>(mInner->copy());
    copy->CCActionEase::initWithAction(inner);
    inner->release();
    return copy;
}

void CCActionEase::startWithTarget(CCNode* target) {
    CCActionInterval::startWithTarget(target);
    mInner->startWithTarget(target);
}

void CCActionEase::stop() {
    mInner->stop();
    CCActionInterval::stop();
}

void CCActionEase::update(ccTime progress) {
    mInner->update(ease(progress));
}

ccTime CCActionEase::ease(ccTime progress) const {
    return progress;
}

bool CCEaseRateAction::initWithAction(CCActionInterval* action, float rate) {
    mRate = rate;
    return CCActionEase::initWithAction(action);
}

CCObject* CCEaseRateAction::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCEaseRateAction* copy = ccCopyTarget<CCEaseRateAction>(zone, ownZone);
    CCActionEase::copyWithZone(zone);
    copy->mRate = mRate;
    return copy;
}

CCEaseIn* CCEaseIn::actionWithAction(CCActionInterval* action, float rate) {
    return makeEase<CCEaseIn>(action, rate);
}

CCObject* CCEaseIn::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseIn, CCEaseRateAction>(this, zone);
}

ccTime CCEaseIn::ease(ccTime t) const {
    return std::pow(t, mRate);
}

CCEaseOut* CCEaseOut::actionWithAction(CCActionInterval* action, float rate) {
    return makeEase<CCEaseOut>(action, rate);
}

CCObject* CCEaseOut::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseOut, CCEaseRateAction>(this, zone);
}

ccTime CCEaseOut::ease(ccTime t) const {
    return std::pow(t, 1.0f / mRate);
}

CCEaseInOut* CCEaseInOut::actionWithAction(CCActionInterval* action, float rate) {
    return makeEase<CCEaseInOut>(action, rate);
}

CCObject* CCEaseInOut::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseInOut, CCEaseRateAction>(this, zone);
}

ccTime CCEaseInOut::ease(ccTime t) const {
    t *= 2.0f;
    if (t < 1.0f)
        return 0.5f * std::pow(t, mRate);
    return 1.0f - 0.5f * std::pow(2.0f - t, mRate);
}

CCEaseSineIn* CCEaseSineIn::actionWithAction(CCActionInterval* action) {
    return makeEase<CCEaseSineIn>(action);
}

CCObject* CCEaseSineIn::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseSineIn, CCActionEase>(this, zone);
}

ccTime CCEaseSineIn::ease(ccTime t) const {
    return 1.0f - std::cos(t * kPi / 2.0f);
}

CCEaseSineInOut* CCEaseSineInOut::actionWithAction(CCActionInterval* action) {
    return makeEase<CCEaseSineInOut>(action);
}

CCObject* CCEaseSineInOut::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseSineInOut, CCActionEase>(this, zone);
}

ccTime CCEaseSineInOut::ease(ccTime t) const {
    return -0.5f * (std::cos(kPi * t) - 1.0f);
}

CCEaseExponentialOut* CCEaseExponentialOut::actionWithAction(CCActionInterval* action) {
    return makeEase<CCEaseExponentialOut>(action);
}

CCObject* CCEaseExponentialOut::copyWithZone(CCZone* zone) {
    return ccCopyWithZoneAs<CCEaseExponentialOut, CCActionEase>(this, zone);
}

ccTime CCEaseExponentialOut::ease(ccTime t) const {
    return t >= 1.0f ? 1.0f : 1.0f - std::pow(2.0f, -10.0f * t);
}

CCEaseElasticOut* CCEaseElasticOut::actionWithAction(CCActionInterval* action, float period) {
    return makeEase<CCEaseElasticOut>(action, period);
}

bool CCEaseElasticOut::initWithAction(CCActionInterval* action, float period) {
    mPeriod = period;
    return CCActionEase::initWithAction(action);
}

CCObject* CCEaseElasticOut::copyWithZone(CCZone* zone) {
    std::unique_ptr<CCZone> ownZone;
    CCEaseElasticOut* copy = ccCopyTarget<CCEaseElasticOut>(zone, ownZone);
    CCActionEase::copyWithZone(zone);
    copy->mPeriod = mPeriod;
    return copy;
}

ccTime CCEaseElasticOut::ease(ccTime t) const {
    if (t <= 0.0f || t >= 1.0f)
        return t <= 0.0f ? 0.0f : 1.0f;
    const float shift = mPeriod / 4.0f;
    return std::pow(2.0f, -10.0f * t) * std::sin((t - shift) * 2.0f * kPi / mPeriod) + 1.0f;
}

} // namespace cocos2d
