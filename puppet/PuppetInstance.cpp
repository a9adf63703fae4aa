#include "puppet/PuppetInstance.h"

#include "platform/audio/SimpleAudioEngine.h"
#include "platform/engine/CCDirector.h"
#include "platform/render/CCSprite.h"
#include "puppet/PuppetAnim.h"
#include "puppet/PuppetAttachment.h"
#include "puppet/PuppetDefinition.h"
#include "puppet/PuppetRegistry.h"
#include "scene/sound/SoundPlayback.h"
#include "scene/views/AlphaMask.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

// The pose of a part's bone in an animation at a time; the default pose when
// the animation has no node of that bone.
void evaluateBone(const PuppetAnim* anim, int32_t bone, float time, PuppetKeyframe& out) {
    out = PuppetKeyframe();
    if (!anim)
        return;
    for (size_t i = 0; i < anim->mNodes.size(); ++i) {
        if (anim->mNodes[i]->mBone == bone) {
            anim->applyAtTime(static_cast<int32_t>(i), time, out);
            return;
        }
    }
}

float unitClamp(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

uint8_t unitToByte(float value) {
    return static_cast<uint8_t>(unitClamp(value) * 255.0f);
}

} // namespace

PuppetInstance::PuppetInstance() {
    setIsRelativeAnchorPoint(true);
}

PuppetInstance::~PuppetInstance() {
    freeParts();
    // Whatever the option says now: a loop left running would play for ever
    // once sound is switched back on.
    for (const uint32_t id : mLoopingSounds)
        CocosDenshion::SimpleAudioEngine::sharedEngine()->stopEffect(id);
    mLoopingSounds.clear();
}

PuppetInstance* PuppetInstance::create(int32_t puppetIndex, const ccColor3B& playerColour) {
    auto* instance = new PuppetInstance();
    instance->mPlayerColour = playerColour;
    instance->setPuppet(puppetIndex);
    instance->scheduleUpdateWithPriority(1);
    instance->autorelease();
    return instance;
}

bool PuppetInstance::setPuppet(int32_t index) {
    mPuppetIndex = index;
    const PuppetDefinition* definition = getPuppet();
    if (!definition)
        return false;
    rebuild();
    setContentSize(CCSize(definition->mSizeX, definition->mSizeY));
    return true;
}

const PuppetDefinition* PuppetInstance::getPuppet() const {
    return PuppetRegistry::getPuppet(mPuppetIndex);
}

void PuppetInstance::changePuppet(int32_t index) {
    if (index == mPuppetIndex)
        return;
    const float time = mCurrentTime;
    freeParts();
    setPuppet(index);
    // Resume at the same time into the new animation.
    float fraction = 0.0f;
    if (const PuppetDefinition* definition = getPuppet()) {
        const PuppetAnim* anim = definition->getAnimForState(mCurrentState);
        if (anim && anim->mLength > 0.0f)
            fraction = unitClamp(time / anim->mLength);
    }
    playAnimation(mCurrentState, fraction, mLoop, cDefaultBlend);
}

void PuppetInstance::playAnimation(int32_t state, float startFraction, bool loop, float blend) {
    const PuppetDefinition* definition = getPuppet();
    if (!definition)
        return;
    if (blend > 0.0f) {
        mBlendFromAnim = mCurrentAnim;
        mBlendFromTime = mCurrentTime;
        mBlendFromLoop = mLoop;
        mBlendDuration = blend;
        mBlendRemaining = blend;
    } else {
        mBlendFromAnim = -1;
    }
    mCurrentAnim = -1;
    if (state >= 0 && state < cAnimStateCount && definition->mAnimEntries[state])
        mCurrentAnim = definition->mAnimEntries[state]->mAnim;
    mCurrentState = state;
    mLoop = loop;
    const PuppetAnim* anim = PuppetRegistry::getAnim(mCurrentAnim);
    mCurrentTime = startFraction * (anim ? anim->mLength : 0.0f);
    clearAnimOverrides();
    update(0.0f);
}

void PuppetInstance::update(ccTime dt) {
    const float previous = mCurrentTime;
    mCurrentTime += dt;
    bool wrapped = false;
    const PuppetAnim* anim = PuppetRegistry::getAnim(mCurrentAnim);
    if (!anim || anim->mLength < 0.01f) {
        mCurrentTime = 0.0f;
    } else if (mCurrentTime > anim->mLength) {
        if (!mLoop) {
            mCurrentTime = anim->mLength;
        } else {
            mCurrentTime = std::fmod(mCurrentTime, anim->mLength);
            wrapped = true;
            fireTags(previous, anim->mLength + 0.1f);
            clearAnimOverrides();
            fireTags(0.0f, mCurrentTime);
        }
    }

    if (const PuppetAnim* from = PuppetRegistry::getAnim(mBlendFromAnim)) {
        mBlendRemaining -= dt;
        if (mBlendRemaining > 0.0f) {
            mBlendFromTime += dt;
            if (from->mLength < 0.01f)
                mBlendFromTime = 0.0f;
            else if (mBlendFromTime > from->mLength)
                mBlendFromTime =
                    mBlendFromLoop ? std::fmod(mBlendFromTime, from->mLength) : from->mLength;
        } else {
            mBlendFromAnim = -1;
        }
    }

    if (!wrapped)
        fireTags(previous, mCurrentTime);
    poseParts();
}

void PuppetInstance::poseParts() {
    const PuppetDefinition* definition = getPuppet();
    if (!definition)
        return;
    const PuppetAnim* anim = PuppetRegistry::getAnim(mCurrentAnim);
    const PuppetAnim* from = PuppetRegistry::getAnim(mBlendFromAnim);
    const float contentScale = CCDirector::sharedDirector()->getContentScaleFactor();
    PuppetKeyframe k;
    PuppetKeyframe p;
    for (PuppetPartInstance* part : mParts) {
        const PuppetAttachment* attachment = PuppetRegistry::getAttachment(part->mAttachment);
        if (!attachment)
            continue;
        evaluateBone(anim, part->mBone, mCurrentTime, k);
        if (from && mBlendDuration > 0.0f) {
            evaluateBone(from, part->mBone, mBlendFromTime, p);
            const float w = mBlendRemaining / mBlendDuration;
            auto mix = [w](float& now, float old) { now = now * (1.0f - w) + old * w; };
            mix(k.mRotation, p.mRotation);
            mix(k.mTranslationX, p.mTranslationX);
            mix(k.mTranslationY, p.mTranslationY);
            mix(k.mScaleX, p.mScaleX);
            mix(k.mScaleY, p.mScaleY);
            mix(k.mAlpha, p.mAlpha);
            mix(k.mTintRed, p.mTintRed);
            mix(k.mTintGreen, p.mTintGreen);
            mix(k.mTintBlue, p.mTintBlue);
        }

        const PuppetKeyframe& a = attachment->mBaseTransform;
        const float t = k.mRotation * 0.0174533f;
        const float cosT = std::cos(t);
        const float sinT = std::sin(t);
        const CCPoint position((a.mTranslationX * cosT + k.mTranslationX + a.mTranslationY * sinT) *
                                       definition->mScaleX -
                                   definition->mCornerOffsetX,
                               (k.mTranslationY - a.mTranslationX * sinT + a.mTranslationY * cosT) *
                                       definition->mScaleY -
                                   definition->mCornerOffsetY);
        const float rotation = k.mRotation - a.mRotation;
        const float scaleX = a.mScaleX * k.mScaleX * definition->mScaleX;
        const float scaleY = a.mScaleY * k.mScaleY * definition->mScaleY;
        const CCPoint anchor(a.mTranslationX * contentScale, a.mTranslationY * contentScale);
        for (CCNode* node :
             {static_cast<CCNode*>(part->mSprite), static_cast<CCNode*>(part->mNestedPuppet)}) {
            if (!node)
                continue;
            node->setScaleAnchorPoint(anchor);
            node->setRotation(rotation);
            node->setPosition(position);
            node->setScaleX(scaleX);
            node->setScaleY(scaleY);
        }

        const ccColor3B tint = ccc3(unitToByte(k.mTintRed + mTint.r * cByteToUnit),
                                    unitToByte(k.mTintGreen + mTint.g * cByteToUnit),
                                    unitToByte(k.mTintBlue + mTint.b * cByteToUnit));
        if (part->mSprite)
            part->mSprite->setTintColor(tint);
        if (part->mColorSprite)
            part->mColorSprite->setTintColor(tint);

        const uint8_t opacity = unitToByte(mOpacity * k.mAlpha * cByteToUnit);
        if (part->mSprite)
            part->mSprite->setOpacity(opacity);
        if (part->mNestedPuppet && opacity == 0)
            part->mNestedPuppet->setOpacity(0);
    }
}

CCPoint PuppetInstance::getBonePosition(int32_t state, int32_t bone, float time,
                                        bool relativeToCorner) const {
    const PuppetDefinition* definition = getPuppet();
    if (time < 0.0f)
        time = mCurrentTime;
    const PuppetAnim* anim = nullptr;
    if (state == -1)
        anim = PuppetRegistry::getAnim(mCurrentAnim);
    else if (definition)
        anim = definition->getAnimForState(state);
    if (!anim || bone < 0)
        return CCPoint(0, 0);
    PuppetKeyframe pose;
    evaluateBone(anim, bone, time, pose);
    CCPoint result(pose.mTranslationX, pose.mTranslationY);
    if (relativeToCorner && definition) {
        result.x -= definition->mCornerOffsetX;
        result.y -= definition->mCornerOffsetY;
    }
    return result;
}

bool PuppetInstance::hitTest(const CCPoint& point) const {
    for (const PuppetPartInstance* part : mParts) {
        if (part->mSprite) {
            const PuppetAttachment* attachment = PuppetRegistry::getAttachment(part->mAttachment);
            const AlphaMask* mask =
                attachment ? AlphaMask::maskAtIndex(attachment->mClickMask) : nullptr;
            if (AlphaMask::hitTest(point, part->mSprite, mask))
                return true;
        }
        if (part->mNestedPuppet && part->mNestedPuppet->hitTest(point))
            return true;
    }
    return false;
}

void PuppetInstance::addCategory(int32_t id) {
    if (hasCategory(id))
        return;
    mCategories.push_back(id);
    rebuild();
}

void PuppetInstance::removeCategory(int32_t id) {
    const auto found = std::find(mCategories.begin(), mCategories.end(), id);
    if (found == mCategories.end())
        return;
    mCategories.erase(found);
    rebuild();
}

bool PuppetInstance::hasCategory(int32_t id) const {
    return std::find(mCategories.begin(), mCategories.end(), id) != mCategories.end();
}

void PuppetInstance::setHealthCategory(int32_t healthPercent) {
    // Looked up on each call: clearing the registry renumbers categories.
    const int32_t full = PuppetRegistry::categoryIndex("HealthFull");
    const int32_t middle = PuppetRegistry::categoryIndex("HealthMiddle");
    const int32_t weak = PuppetRegistry::categoryIndex("HealthWeak");
    const int32_t wanted = healthPercent >= 100 ? full : (healthPercent > 50 ? middle : weak);
    if (hasCategory(wanted))
        return;
    for (const int32_t id : {full, middle, weak})
        if (id != wanted)
            removeCategory(id);
    addCategory(wanted);
}

int32_t PuppetInstance::addOverride(int32_t partSlot, int32_t attachment) {
    mOverrides.emplace_back(partSlot, attachment);
    rebuild();
    return static_cast<int32_t>(mOverrides.size()) - 1;
}

void PuppetInstance::clearOverride(int32_t overrideIndex) {
    if (overrideIndex < 0 || overrideIndex >= static_cast<int32_t>(mOverrides.size()))
        return;
    mOverrides[overrideIndex].first = -1;
    while (!mOverrides.empty() && mOverrides.back().first == -1)
        mOverrides.pop_back();
    rebuild();
}

void PuppetInstance::clearAnimOverrides() {
    const std::vector<int32_t> started = std::move(mAnimOverrides);
    mAnimOverrides.clear();
    for (const int32_t index : started)
        clearOverride(index);
}

void PuppetInstance::stopSounds() {
    if (!isSoundEnabled())
        return;
    auto* engine = CocosDenshion::SimpleAudioEngine::sharedEngine();
    for (const uint32_t id : mLoopingSounds)
        engine->stopEffect(id);
}

std::string PuppetInstance::getDynamicText(std::string_view key) const {
    const auto found = mDynamicTexts.find(std::string(key));
    return found == mDynamicTexts.end() ? std::string() : found->second;
}

void PuppetInstance::setDynamicText(std::string_view key, std::string_view text) {
    mDynamicTexts[std::string(key)] = std::string(text);
}

void PuppetInstance::setColor(const ccColor3B& colour) {
    mColour = colour;
    for (PuppetPartInstance* part : mParts)
        if (part->mSprite)
            part->mSprite->setColor(colour);
}

void PuppetInstance::setOpacity(uint8_t opacity) {
    mOpacity = opacity;
    for (PuppetPartInstance* part : mParts)
        applyOpacity(*part);
}

void PuppetInstance::setTintColor(const ccColor3B& tint) {
    mTint = tint;
    for (PuppetPartInstance* part : mParts) {
        if (part->mSprite)
            part->mSprite->setTintColor(tint);
        if (part->mColorSprite)
            part->mColorSprite->setTintColor(tint);
    }
}

void PuppetInstance::setScaleX(float scaleX) {
    CCNode::setScaleX(mFlipX ? -scaleX : scaleX);
}

void PuppetInstance::setFlipX(bool flip) {
    mFlipX = flip;
    setScaleX(std::fabs(getScaleX()));
}

void PuppetInstance::applyOpacity(PuppetPartInstance& part) const {
    if (part.mSprite)
        part.mSprite->setOpacity(mOpacity);
    if (part.mNestedPuppet && mOpacity == 0)
        part.mNestedPuppet->setOpacity(0);
}
