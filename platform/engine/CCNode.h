#pragma once

// The scene-graph node: a transform (position, anchor point, size, scale,
// rotation), a list of children ordered by z-order and, among equal
// z-orders, by insertion, and the node's actions and schedules.
//
// A node is running between onEnter and onExit (while it sits in the running
// scene). Actions and schedules of a node that is not running wait, paused,
// until it enters; onExit pauses them again. Removing a node with cleanup
// stops its actions and unschedules its callbacks. The action manager and
// the scheduler hold a reference to a node while they have work for it, so a
// node may remove itself from inside its own callback.
//
// Coordinates: y upwards; rotation in degrees, clockwise; a negative scale
// mirrors. Files: CCNode.cpp (tree and lifecycle), CCNode_transform.cpp,
// CCNode_scheduling.cpp (actions and schedules).

#include "platform/engine/CCAffineTransform.h"
#include "platform/engine/CCMutableArray.h"
#include "platform/engine/CCObject.h"

namespace cocos2d {

class CCAction;
class CCTouch;

inline constexpr int kCCNodeTagInvalid = -1;

class CCNode : public CCObject {
public:
    CCNode();
    ~CCNode() override;

    // An autoreleased node.
    static CCNode* node();

    // Children. addChild without a z-order keeps the child's own z-order.
    virtual void addChild(CCNode* child);
    virtual void addChild(CCNode* child, int zOrder);
    virtual void addChild(CCNode* child, int zOrder, int tag);
    // Exits the child when it runs, cleans it up when asked, drops it.
    virtual void removeChild(CCNode* child, bool cleanup);
    virtual void removeChildByTag(int tag, bool cleanup);
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    void removeFromParentAndCleanup(bool cleanup);
    // Moves the child behind the last sibling of that z-order.
    virtual void reorderChild(CCNode* child, int zOrder);
    // The first child with that tag, or null.
    CCNode* getChildByTag(int tag) const;
    // The children in drawing order; never null.
    CCMutableArray<CCNode*>* getChildren();
    size_t getChildrenCount() const;
    CCNode* getParent() const { return mParent; }

    int getZOrder() const { return mZOrder; }
    int getTag() const { return mTag; }
    void setTag(int tag) { mTag = tag; }
    void* getUserData() const { return mUserData; }
    void setUserData(void* data) { mUserData = data; }

    // Geometry.
    virtual void setPosition(const CCPoint& position);
    virtual const CCPoint& getPosition() const { return mPosition; }
    // Fractions of the content size; (0.5, 0.5) is the centre.
    virtual void setAnchorPoint(const CCPoint& anchorPoint);
    virtual const CCPoint& getAnchorPoint() const { return mAnchorPoint; }
    const CCPoint& getAnchorPointInPoints() const { return mAnchorPointInPoints; }
    virtual void setContentSize(const CCSize& size);
    virtual const CCSize& getContentSize() const { return mContentSize; }
    // When on (the default), the anchor point sits at the position; when off,
    // the node's corner does and the anchor only centres scale and rotation.
    virtual void setIsRelativeAnchorPoint(bool relative);
    virtual bool getIsRelativeAnchorPoint() const { return mIsRelativeAnchorPoint; }
    // The point, in the node's own space, about which its scale applies;
    // until set, the anchor point.
    virtual void setScaleAnchorPoint(const CCPoint& point);
    CCPoint getScaleAnchorPoint() const;
    virtual void setScale(float scale);
    // The horizontal scale (a uniform scale reads back as itself).
    virtual float getScale() const { return mScaleX; }
    virtual void setScaleX(float scaleX);
    virtual float getScaleX() const { return mScaleX; }
    virtual void setScaleY(float scaleY);
    virtual float getScaleY() const { return mScaleY; }
    virtual void setRotation(float degrees);
    virtual float getRotation() const { return mRotation; }
    virtual void setIsVisible(bool visible);
    virtual bool getIsVisible() const { return mIsVisible; }
    bool getIsRunning() const { return mIsRunning; }
    // The node's content rectangle in its parent's space.
    CCRect boundingBox() const;

    // Transforms and conversions; world space is the GL space of the window.
    CCAffineTransform nodeToParentTransform() const;
    CCAffineTransform parentToNodeTransform() const;
    CCAffineTransform nodeToWorldTransform() const;
    CCAffineTransform worldToNodeTransform() const;
    CCPoint convertToNodeSpace(const CCPoint& worldPoint) const;
    CCPoint convertToWorldSpace(const CCPoint& nodePoint) const;
    // Relative to the anchor point.
    CCPoint convertToNodeSpaceAR(const CCPoint& worldPoint) const;
    CCPoint convertToWorldSpaceAR(const CCPoint& nodePoint) const;
    // The touch's view location converted to GL, then to this node.
    CCPoint convertTouchToNodeSpace(CCTouch* touch) const;
    CCPoint convertTouchToNodeSpaceAR(CCTouch* touch) const;

    // Lifecycle, each passed on to the children.
    virtual void onEnter();
    virtual void onExit();
    // Stops the actions and unschedules every callback of the node and its
    // children.
    virtual void cleanup();
    // Hooks around the board view being shown or hidden.
    virtual void onViewWillAppear(bool animated);
    virtual void onViewDidAppear(bool animated);
    virtual void onViewWillDisappear(bool animated);
    virtual void onViewDidDisappear(bool animated);
    // The director's pause and resume: the node's actions and schedules
    // hold while paused.
    virtual void onPause();
    virtual void onResume();

    // Drawing: visit walks the visible tree in z-order (negative z-orders
    // before the node's own draw), bracketed by the renderer's beginNode and
    // endNode; the renderer supplies the rest.
    virtual void draw();
    virtual void visit();

    // Actions; runAction returns the action.
    CCAction* runAction(CCAction* action);
    void stopAllActions();
    void stopAction(CCAction* action);
    void stopActionByTag(int tag);
    CCAction* getActionByTag(int tag);
    size_t numberOfRunningActions();

    // Schedules on the shared scheduler, with this node as the target.
    void scheduleUpdate();
    // Lower priorities update first.
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, ccTime interval);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllSelectors();
    void resumeSchedulerAndActions();
    void pauseSchedulerAndActions();

private:
    void insertChild(CCNode* child, int zOrder);
    void detachChild(CCNode* child, bool cleanup);
    CCAffineTransform computeNodeToParentTransform() const;

    CCPoint mPosition;
    CCPoint mAnchorPoint;
    CCPoint mAnchorPointInPoints;
    CCPoint mScaleAnchorPoint;
    CCSize mContentSize;
    float mScaleX = 1.0f;
    float mScaleY = 1.0f;
    float mRotation = 0.0f;
    int mZOrder = 0;
    int mTag = kCCNodeTagInvalid;
    void* mUserData = nullptr;
    CCNode* mParent = nullptr;
    CCMutableArray<CCNode*>* mChildren = nullptr;
    bool mIsVisible = true;
    bool mIsRunning = false;
    bool mIsRelativeAnchorPoint = true;
    bool mHasScaleAnchorPoint = false;
    // nodeToParentTransform as last computed, until a setter changes it.
    mutable bool mTransformDirty = true;
    mutable CCAffineTransform mTransform{};
};

} // namespace cocos2d
