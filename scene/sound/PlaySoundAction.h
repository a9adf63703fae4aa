#pragma once

// An instant action that plays one sound effect (a sound set's name or a
// file) when it runs, so that a sound can sit in an action sequence between
// moves, scalings and callbacks. A positioned action plays panned by its
// scene position. Once an effect started, its pitch and then its volume are
// set to the action's. The action does not retain its target.

#include "platform/engine/CCActionInstant.h"
#include "platform/engine/CCGeometry.h"

#include <string>

class PlaySoundAction : public cocos2d::CCActionInstant {
public:
    // New, autoreleased actions.
    static PlaySoundAction* actionWithFile(const std::string& fileName, float volume, float pitch);
    static PlaySoundAction* actionWithFilePositioned(const std::string& fileName,
                                                     const cocos2d::CCPoint& position, float volume,
                                                     float pitch);

    cocos2d::CCObject* copyWithZone(cocos2d::CCZone* zone) override;
    ~PlaySoundAction() override;
    void startWithTarget(cocos2d::CCNode* target) override;

    const std::string& getFileName() const { return mFileName; }
    const cocos2d::CCPoint& getPosition() const { return mPosition; }
    bool isPositioned() const { return mPositioned; }
    float getPitch() const { return mPitch; }
    float getVolume() const { return mVolume; }

private:
    std::string mFileName;
    cocos2d::CCPoint mPosition;
    bool mPositioned = false;
    float mPitch = 1.0f;
    float mVolume = 1.0f;
};
