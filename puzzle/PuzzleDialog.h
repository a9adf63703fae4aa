#pragma once

// A tutorial's speech bubble: a sprite of its background image with the
// localised contents in black and, on request, the red tap icon. Built once,
// hidden, when the script is made ("showDialog"), then only shown and hidden
// by the dialog layer that holds it. Main thread only.

#include "platform/engine/CCGeometry.h"

#include <cstdint>
#include <string>

namespace cocos2d {
class CCNode;
class CCSprite;
} // namespace cocos2d

class PuzzleResultNode;

class PuzzleDialog {
public:
    static constexpr const char* cDefaultBackground = "TutorialBubble01.png";
    static constexpr const char* cTapIcon = "UI/Tutorial_RedX.png";
    static constexpr float cFadeTime = 0.15f;

    PuzzleDialog() = default;
    PuzzleDialog(const PuzzleDialog&) = delete;
    PuzzleDialog& operator=(const PuzzleDialog&) = delete;
    // Takes the bubble off its parent.
    virtual ~PuzzleDialog();

    // Reads the node and builds the transparent bubble as a child of parent
    // at its resting place; false for a null node or parent, or a background
    // image that does not load.
    virtual bool load(const PuzzleResultNode* node, cocos2d::CCNode* parent);
    // Rises from 100 below its place at half size into place, full size and
    // opaque over 0.15 s.
    virtual void show();
    // Shrinks to 0.9 and fades out over 0.15 s.
    virtual void hide();

    const std::string& name() const { return mName; }
    bool tapToClose() const { return mTapToClose; }
    const std::string& closeTag() const { return mCloseTag; }
    // 0 left, 1 centre, 2 right; 0 top, 1 middle, 2 bottom.
    int32_t horizontalAlignment() const { return mHAlign; }
    int32_t verticalAlignment() const { return mVAlign; }
    const std::string& contents() const { return mContents; }
    cocos2d::CCSprite* bubble() const { return mBubble; }
    const cocos2d::CCPoint& restingPosition() const { return mRestingPosition; }

private:
    std::string mName;
    bool mTapToClose = false;
    std::string mCloseTag;
    int32_t mHAlign = 1;
    int32_t mVAlign = 1;
    bool mShowTapIcon = false;
    std::string mBackground;
    std::string mContents;
    cocos2d::CCSprite* mBubble = nullptr; // retained
    cocos2d::CCPoint mRestingPosition;
};
