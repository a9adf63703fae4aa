// CCNode: geometry setters, transforms and coordinate conversions.

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCNode.h"
#include "platform/engine/CCTouch.h"

#include <numbers>

namespace cocos2d {

void CCNode::setPosition(const CCPoint& position) {
    mPosition = position;
    mTransformDirty = true;
}

void CCNode::setAnchorPoint(const CCPoint& anchorPoint) {
    mAnchorPoint = anchorPoint;
    mTransformDirty = true;
    mAnchorPointInPoints =
        CCPoint(mContentSize.width * anchorPoint.x, mContentSize.height * anchorPoint.y);
}

void CCNode::setContentSize(const CCSize& size) {
    mContentSize = size;
    setAnchorPoint(mAnchorPoint);
}

void CCNode::setIsRelativeAnchorPoint(bool relative) {
    mIsRelativeAnchorPoint = relative;
    mTransformDirty = true;
}

void CCNode::setScaleAnchorPoint(const CCPoint& point) {
    mScaleAnchorPoint = point;
    mHasScaleAnchorPoint = true;
    mTransformDirty = true;
}

CCPoint CCNode::getScaleAnchorPoint() const {
    return mHasScaleAnchorPoint ? mScaleAnchorPoint : mAnchorPointInPoints;
}

void CCNode::setScale(float scale) {
    mScaleX = scale;
    mScaleY = scale;
    mTransformDirty = true;
}

void CCNode::setScaleX(float scaleX) {
    mScaleX = scaleX;
    mTransformDirty = true;
}

void CCNode::setScaleY(float scaleY) {
    mScaleY = scaleY;
    mTransformDirty = true;
}

void CCNode::setRotation(float degrees) {
    mRotation = degrees;
    mTransformDirty = true;
}

void CCNode::setIsVisible(bool visible) {
    mIsVisible = visible;
}

CCRect CCNode::boundingBox() const {
    const CCRect rect(0, 0, mContentSize.width, mContentSize.height);
    return CCRectApplyAffineTransform(rect, nodeToParentTransform());
}

CCAffineTransform CCNode::nodeToParentTransform() const {
    // Every frame asks for it; the geometry setters mark it for recomputing.
    if (mTransformDirty) {
        mTransform = computeNodeToParentTransform();
        mTransformDirty = false;
    }
    return mTransform;
}

CCAffineTransform CCNode::computeNodeToParentTransform() const {
    // Scale about the scale anchor, rotate about the anchor point, then move
    // the anchor point (or, with a non-relative anchor, the corner) to the
    // position.
    const CCPoint anchor = mAnchorPointInPoints;
    const CCPoint scaleAnchor = getScaleAnchorPoint();
    CCPoint origin = mPosition;
    if (!mIsRelativeAnchorPoint)
        origin = ccpAdd(origin, anchor);

    CCAffineTransform t{1, 0, 0, 1, -scaleAnchor.x, -scaleAnchor.y};
    t = CCAffineTransformConcat(t, CCAffineTransform{mScaleX, 0, 0, mScaleY, 0, 0});
    t = CCAffineTransformConcat(
        t, CCAffineTransform{1, 0, 0, 1, scaleAnchor.x - anchor.x, scaleAnchor.y - anchor.y});
    if (mRotation != 0.0f) {
        // Clockwise: the negative of the mathematical angle.
        const float radians = -mRotation * std::numbers::pi_v<float> / 180.0f;
        t = CCAffineTransformConcat(t, CCAffineTransformRotate(CCAffineTransformIdentity, radians));
    }
    return CCAffineTransformConcat(t, CCAffineTransform{1, 0, 0, 1, origin.x, origin.y});
}

CCAffineTransform CCNode::parentToNodeTransform() const {
    return CCAffineTransformInvert(nodeToParentTransform());
}

CCAffineTransform CCNode::nodeToWorldTransform() const {
    CCAffineTransform t = nodeToParentTransform();
    for (const CCNode* p = mParent; p; p = p->mParent)
        t = CCAffineTransformConcat(t, p->nodeToParentTransform());
    return t;
}

CCAffineTransform CCNode::worldToNodeTransform() const {
    return CCAffineTransformInvert(nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpace(const CCPoint& worldPoint) const {
    return CCPointApplyAffineTransform(worldPoint, worldToNodeTransform());
}

CCPoint CCNode::convertToWorldSpace(const CCPoint& nodePoint) const {
    return CCPointApplyAffineTransform(nodePoint, nodeToWorldTransform());
}

CCPoint CCNode::convertToNodeSpaceAR(const CCPoint& worldPoint) const {
    return ccpSub(convertToNodeSpace(worldPoint), mAnchorPointInPoints);
}

CCPoint CCNode::convertToWorldSpaceAR(const CCPoint& nodePoint) const {
    return convertToWorldSpace(ccpAdd(nodePoint, mAnchorPointInPoints));
}

CCPoint CCNode::convertTouchToNodeSpace(CCTouch* touch) const {
    return convertToNodeSpace(CCDirector::sharedDirector()->convertToGL(touch->locationInView()));
}

CCPoint CCNode::convertTouchToNodeSpaceAR(CCTouch* touch) const {
    return convertToNodeSpaceAR(CCDirector::sharedDirector()->convertToGL(touch->locationInView()));
}

} // namespace cocos2d
