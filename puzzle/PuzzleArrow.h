#pragma once

// A tutorial's arrow: "TutorialArrow01.png" with its tip at a board or rack
// square ("grid", "slotX", "slotY") or at a control of the scene
// ("uiElement"), turned by "orientation" and bobbing while shown. Built
// once, hidden, when the script is made ("showArrow"). Main thread only.

#include "platform/engine/CCGeometry.h"

#include <cstdint>

namespace cocos2d {
class CCNode;
class CCSprite;
} // namespace cocos2d

class PuzzleResultNode;

class PuzzleArrow {
public:
    static constexpr const char* cImage = "TutorialArrow01.png";

    enum Orientation : int32_t { cUp = 0, cRight = 1, cDown = 2, cLeft = 3 };

    PuzzleArrow() = default;
    PuzzleArrow(const PuzzleArrow&) = delete;
    PuzzleArrow& operator=(const PuzzleArrow&) = delete;
    // Takes the sprite off its parent.
    virtual ~PuzzleArrow();

    // Reads the node and puts the transparent sprite, tip at its resting
    // place, on parent at z 1; false for a null node or parent, or a sprite
    // image that does not load.
    bool load(const PuzzleResultNode* node, cocos2d::CCNode* parent);
    // Fades in over 0.15 s and bobs 20 units away from the target and back
    // every second, forever.
    void show();
    // Fades out over 0.15 s where it stands.
    void hide();

    // The square or control pointed at; (0, 0) for none.
    static cocos2d::CCPoint targetPoint(const PuzzleResultNode& node);

    int32_t orientation() const { return mOrientation; }
    cocos2d::CCSprite* sprite() const { return mSprite; }
    const cocos2d::CCPoint& restingPosition() const { return mRestingPosition; }

private:
    int32_t mOrientation = cDown;
    cocos2d::CCSprite* mSprite = nullptr; // retained
    cocos2d::CCPoint mRestingPosition;
    cocos2d::CCPoint mOffset;
};
