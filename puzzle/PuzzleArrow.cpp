#include "puzzle/PuzzleArrow.h"

#include "puzzle/PuzzleScriptNode.h"

#include "scene/GameScene.h"

#include "rules/EntityGrid.h"
#include "rules/Game.h"

#include "platform/engine/CCActionColor.h"
#include "platform/engine/CCActionEase.h"
#include "platform/engine/CCActionMove.h"
#include "platform/engine/CCRepeat.h"
#include "platform/engine/CCSequence.h"
#include "platform/render/CCSprite.h"

#include <array>
#include <cstdlib>
#include <string>

using namespace cocos2d;

namespace {

int32_t orientationFor(const std::string& value) {
    if (value == "Up")
        return PuzzleArrow::cUp;
    if (value == "Right")
        return PuzzleArrow::cRight;
    if (value == "Left")
        return PuzzleArrow::cLeft;
    return PuzzleArrow::cDown;
}

// By orientation: the rotation that points the image that way, and the
// offset from the target to the tip at rest.
struct Pose {
    float mRotation;
    CCPoint mOffset;
};
const std::array<Pose, 4> cPoses = {Pose{-90.0f, CCPoint(0, -20)}, Pose{0.0f, CCPoint(-20, 0)},
                                    Pose{90.0f, CCPoint(0, 20)}, Pose{180.0f, CCPoint(20, 0)}};

} // namespace

PuzzleArrow::~PuzzleArrow() {
    if (mSprite != nullptr) {
        mSprite->removeFromParentAndCleanup(true);
        mSprite->release();
    }
}

CCPoint PuzzleArrow::targetPoint(const PuzzleResultNode& node) {
    const PuzzleAttributes& attributes = node.mAttributes;
    if (attributes.contains("grid")) {
        if (gCurrentGame == nullptr)
            return CCPoint(0, 0);
        const int32_t type =
            attributeText(attributes, "grid") == "GameBoard" ? cGridGameBoard : cGridTileRack;
        EntityGrid* grid = gCurrentGame->getGrid(type, -1);
        if (grid == nullptr)
            return CCPoint(0, 0);
        const int32_t x = std::atoi(attributeText(attributes, "slotX").c_str());
        const int32_t y = std::atoi(attributeText(attributes, "slotY").c_str());
        return grid->pointForCoords(GridSlot(x, y), true);
    }
    if (attributes.contains("uiElement")) {
        if (gCurrentGame == nullptr)
            return CCPoint(0, 0);
        const auto* scene = dynamic_cast<const GameScene*>(gGameScene);
        return scene != nullptr ? scene->getControlPosition(attributeText(attributes, "uiElement"))
                                : CCPoint(0, 0);
    }
    return CCPoint(0, 0);
}

bool PuzzleArrow::load(const PuzzleResultNode* node, CCNode* parent) {
    if (node == nullptr || parent == nullptr)
        return false;
    const CCPoint target = targetPoint(*node);
    mOrientation = orientationFor(attributeText(node->mAttributes, "orientation"));
    CCSprite* sprite = CCSprite::spriteWithFile(cImage);
    if (sprite == nullptr || sprite->getTexture() == nullptr)
        return false;
    mSprite = sprite;
    mSprite->retain();
    parent->addChild(mSprite, 1);
    mSprite->setAnchorPoint(CCPoint(1.0f, 0.5f));
    const Pose& pose = cPoses[size_t(mOrientation)];
    mSprite->setRotation(pose.mRotation);
    mOffset = pose.mOffset;
    mRestingPosition = CCPoint(target.x + mOffset.x, target.y + mOffset.y);
    mSprite->setPosition(mRestingPosition);
    mSprite->setOpacity(0);
    return true;
}

void PuzzleArrow::show() {
    if (mSprite == nullptr)
        return;
    mSprite->setPosition(mRestingPosition);
    mSprite->stopAllActions();
    mSprite->runAction(CCFadeIn::actionWithDuration(0.15f));
    const CCPoint back(-mOffset.x, -mOffset.y);
    mSprite->runAction(CCRepeatForever::actionWithAction(CCSequence::actionOneTwo(
        CCEaseOut::actionWithAction(CCMoveBy::actionWithDuration(0.5f, mOffset), 2.0f),
        CCEaseIn::actionWithAction(CCMoveBy::actionWithDuration(0.5f, back), 2.0f))));
}

void PuzzleArrow::hide() {
    if (mSprite == nullptr)
        return;
    mSprite->stopAllActions();
    mSprite->runAction(CCFadeOut::actionWithDuration(0.15f));
}
