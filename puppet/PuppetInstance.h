#pragma once

// A live puppet: the engine node that draws one puppet definition of the
// registry and animates it. It builds one sprite (with an optional team-colour
// sprite and nested puppet) per part slot, evaluates the animation of the
// current state on every tick, cross-fades from the previous animation,
// fires the timed tags of the playing animation (attachment overrides,
// sounds, particles, effect groups), swaps attachments by the active
// replacement categories and answers bone positions and pixel-exact hits.
//
// Unloaded puppet, animation or attachment indices are never errors: the
// instance draws nothing, holds its time at 0 or skips the part. Main thread
// only, inside the engine's tick.

#include "platform/engine/CCNode.h"
#include "platform/engine/CCProtocols.h"
#include "platform/engine/CCTouchDelegate.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace cocos2d {
class CCSprite;
}

class PuppetDefinition;
class PuppetInstance;
class PuppetTag;

// One built part of an instance, owned by it.
class PuppetPartInstance {
public:
    int32_t mAttachment = -1; // registry index; -1 until built
    int32_t mBone = -1;       // bone id matched against the animation nodes
    int32_t mPartSlot = -1;
    cocos2d::CCSprite* mSprite = nullptr; // retained; the colour sprite when it is the only image
    cocos2d::CCSprite* mColorSprite = nullptr; // retained; a child of the sprite, or null
    PuppetInstance* mNestedPuppet = nullptr;   // retained, or null
};

class PuppetInstance : public cocos2d::CCNode,
                       public cocos2d::CCTargetedTouchDelegate,
                       public cocos2d::CCRGBAProtocol {
public:
    // The blend used throughout: follow-up states, puppet changes, nested idles.
    static constexpr float cDefaultBlend = 0.15f;

    PuppetInstance();
    // Stops every looping tag sound and destroys the parts.
    ~PuppetInstance() override;

    // A new autoreleased instance of the puppet, updated at priority 1; an
    // unloaded index gives an empty instance, never null.
    static PuppetInstance* create(int32_t puppetIndex,
                                  const cocos2d::ccColor3B& playerColour = cocos2d::ccc3(255, 255,
                                                                                         255));

    // Stores the index; for a loaded definition builds the parts, takes its
    // size and returns true.
    bool setPuppet(int32_t index);
    const PuppetDefinition* getPuppet() const;
    int32_t getPuppetIndex() const { return mPuppetIndex; }
    // Swaps the definition in place and resumes the current state at the
    // same time into the new animation (clamped to its length).
    void changePuppet(int32_t index);

    // Plays an animation state from a fraction of its length; a blend above 0
    // cross-fades from the animation playing now over that many seconds.
    void playAnimation(int32_t state, float startFraction, bool loop, float blend);
    void update(cocos2d::ccTime dt) override;
    // Runs the tags of the current state whose time lies in from..to.
    void fireTags(float from, float to);

    int32_t getCurrentState() const { return mCurrentState; }
    int32_t getCurrentAnim() const { return mCurrentAnim; }
    float getCurrentTime() const { return mCurrentTime; }
    bool isBlending() const { return mBlendFromAnim >= 0; }
    float getBlendDuration() const { return mBlendDuration; }
    bool isLooping() const { return mLoop; }

    // The bone's position in the instance's space at a time (< 0: now) of a
    // state (-1: the current animation); (0, 0) without animation or bone.
    cocos2d::CCPoint getBonePosition(int32_t state, int32_t bone, float time,
                                     bool relativeToCorner) const;
    // Whether the world point hits a part (through its click mask) or a
    // nested puppet.
    bool hitTest(const cocos2d::CCPoint& point) const;

    void addCategory(int32_t id);
    void removeCategory(int32_t id);
    bool hasCategory(int32_t id) const;
    // "HealthFull" at 100 and above, "HealthMiddle" above 50, else "HealthWeak".
    void setHealthCategory(int32_t healthPercent);

    // Appends an attachment override of a part slot and rebuilds; its index.
    int32_t addOverride(int32_t partSlot, int32_t attachment);
    void clearOverride(int32_t overrideIndex);
    void clearAnimOverrides();
    void freeParts();
    void rebuild();
    // Stops the looping tag sounds while the option "Sound" is set.
    void stopSounds();
    const std::vector<PuppetPartInstance*>& getParts() const { return mParts; }
    const std::vector<uint32_t>& getLoopingSounds() const { return mLoopingSounds; }

    // The text for a dynamic text key; "" when none was set.
    std::string getDynamicText(std::string_view key) const;
    // Sets the text that the dynamic text attachments of this key show on
    // parts built afterwards.
    void setDynamicText(std::string_view key, std::string_view text);

    // CCRGBAProtocol.
    void setColor(const cocos2d::ccColor3B& colour) override;
    cocos2d::ccColor3B getColor() override { return mColour; }
    uint8_t getOpacity() override { return mOpacity; }
    void setOpacity(uint8_t opacity) override;
    void setIsOpacityModifyRGB(bool) override {}
    bool getIsOpacityModifyRGB() override { return true; }
    cocos2d::CCRGBAProtocol* getRGBAProtocol() { return this; }

    virtual void setTintColor(const cocos2d::ccColor3B& tint);
    virtual cocos2d::ccColor3B getTintColor() const { return mTint; }

    // Mirroring is a negative x scale.
    void setScaleX(float scaleX) override;
    virtual void setFlipX(bool flip);
    virtual bool isFlipX() const { return mFlipX; }
    void draw() override {}

private:
    PuppetPartInstance* makePart(int32_t attachment, int32_t bone, int32_t partSlot);
    static void destroyPart(PuppetPartInstance* part);
    void applyOpacity(PuppetPartInstance& part) const;
    int32_t wantedAttachment(int32_t partSlot) const;
    void poseParts();
    void runTag(const PuppetTag& tag);

    int32_t mPuppetIndex = -1;
    int32_t mCurrentAnim = -1;
    int32_t mCurrentState = -1;
    float mCurrentTime = 0.0f;
    int32_t mBlendFromAnim = -1;
    float mBlendFromTime = 0.0f;
    float mBlendDuration = 0.0f;
    float mBlendRemaining = 0.0f;
    bool mBlendFromLoop = true;
    cocos2d::ccColor3B mColour = cocos2d::ccc3(255, 255, 255);
    uint8_t mOpacity = 255;
    cocos2d::ccColor3B mTint = cocos2d::ccc3(0, 0, 0);
    cocos2d::ccColor3B mPlayerColour = cocos2d::ccc3(255, 255, 255);
    bool mFlipX = false;
    bool mLoop = true;
    std::vector<uint32_t> mLoopingSounds;
    std::vector<std::pair<int32_t, int32_t>> mOverrides; // (part slot, attachment); slot -1 cleared
    std::vector<int32_t> mAnimOverrides;                 // indices into mOverrides
    std::vector<int32_t> mCategories;                    // in insertion order
    std::vector<PuppetPartInstance*> mParts;             // owned
    std::unordered_map<std::string, std::string> mDynamicTexts;
};
