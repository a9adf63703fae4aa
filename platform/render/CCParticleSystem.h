#pragma once

// A particle emitter read from a particle file: an XML property list
// (<plist><dict> of <key> and <real>/<integer>/<string>/<true/>/<false/>
// values) with the 1.x engine's keys: "maxParticles", "duration" (-1 runs
// for ever), "emitterType" (0 gravity, 1 radius), "angle", "speed",
// "gravityx"/"gravityy", "radialAcceleration", "tangentialAcceleration",
// "particleLifespan", "startParticleSize"/"finishParticleSize" (-1: no
// change), "startColorRed".."finishColorAlpha", "sourcePositionVariancex",
// "rotationStart"/"rotationEnd", "maxRadius"/"minRadius"/"rotatePerSecond",
// "blendFuncSource"/"blendFuncDestination", "textureFileName" (beside the
// file; a soft dot when missing) and, for most, a "...Variance" partner.
//
// The system emits from when it enters the scene until its duration ends;
// with auto-remove on, it removes itself once its last particle died. A file
// that fails to load leaves an empty, inactive system that removes itself
// on its first update. Particles are "free": once emitted they stay where
// they are in the world when the emitter moves. setFlipX mirrors the
// emitter horizontally.

#include "platform/engine/CCNode.h"
#include "platform/engine/ccTypes.h"

#include <random>
#include <string>
#include <vector>

namespace cocos2d {

class CCTexture2D;

class CCParticleSystem : public CCNode {
public:
    struct Particle {
        CCPoint pos;      // relative to the emitter, points
        CCPoint startPos; // the emitter's world position at emission
        ccColor4F color;
        ccColor4F deltaColor;
        float size = 0;
        float deltaSize = 0;
        float rotation = 0;
        float deltaRotation = 0;
        float timeToLive = 0;
        CCPoint dir; // gravity mode
        float radialAccel = 0;
        float tangentialAccel = 0;
        float angle = 0; // radius mode
        float degreesPerSecond = 0;
        float radius = 0;
        float deltaRadius = 0;
    };

    CCParticleSystem();
    ~CCParticleSystem() override;

    // Reads the particle file (relative to the resource root); false when it
    // is missing or unreadable, which leaves the self-removing empty system.
    virtual bool initWithFile(const std::string& file);
    // Reads the text of a particle file; folder resolves its texture name.
    bool initWithText(const std::string& text, const std::string& folder);

    // Updates run while the system is in the running scene.
    void onEnter() override;
    void onExit() override;
    void update(ccTime dt) override;
    void stopSystem();
    void resetSystem();
    bool isActive() const { return mIsActive; }
    bool isFull() const { return mParticles.size() >= size_t(mTotalParticles); }
    size_t getParticleCount() const { return mParticles.size(); }
    const std::vector<Particle>& getParticles() const { return mParticles; }
    int getTotalParticles() const { return mTotalParticles; }
    float getDuration() const { return mDuration; }

    void setIsAutoRemoveOnFinish(bool value) { mIsAutoRemoveOnFinish = value; }
    bool getIsAutoRemoveOnFinish() const { return mIsAutoRemoveOnFinish; }
    virtual void setFlipX(bool flip) { mFlipX = flip; }
    bool isFlipX() const { return mFlipX; }
    void setTexture(CCTexture2D* texture);
    CCTexture2D* getTexture() const { return mTexture; }
    ccBlendFunc getBlendFunc() const { return mBlendFunc; }

protected:
    void emitParticle();
    float random11(); // -1..1

    std::vector<Particle> mParticles;
    CCTexture2D* mTexture = nullptr; // retained
    ccBlendFunc mBlendFunc;
    bool mFlipX = false;

private:
    void advance(Particle& p, float dt);

    std::mt19937 mRandom;
    int mTotalParticles = 0;
    float mDuration = -1;
    float mElapsed = 0;
    float mEmissionRate = 0;
    float mEmitCounter = 0;
    bool mIsActive = false;
    bool mIsAutoRemoveOnFinish = false;
    bool mFailed = false;

    int mEmitterMode = 0;
    float mAngle = 0, mAngleVar = 0;
    float mLife = 0, mLifeVar = 0;
    float mStartSize = 0, mStartSizeVar = 0, mEndSize = -1, mEndSizeVar = 0;
    float mStartSpin = 0, mStartSpinVar = 0, mEndSpin = 0, mEndSpinVar = 0;
    ccColor4F mStartColor, mStartColorVar, mEndColor, mEndColorVar;
    CCPoint mSourcePosition, mPosVar;
    CCPoint mGravity;
    float mSpeed = 0, mSpeedVar = 0;
    float mRadialAccel = 0, mRadialAccelVar = 0;
    float mTangentialAccel = 0, mTangentialAccelVar = 0;
    float mStartRadius = 0, mStartRadiusVar = 0, mEndRadius = 0, mEndRadiusVar = 0;
    float mRotatePerSecond = 0, mRotatePerSecondVar = 0;
};

} // namespace cocos2d
