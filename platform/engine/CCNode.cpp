#include "platform/engine/CCNode.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCRenderer.h"

#include <cassert>
#include <vector>

namespace cocos2d {

namespace {

// Runs op on each child present when the walk starts and still a child of
// parent when its turn comes; the children stay alive across the calls, so
// an operation may remove or destroy its siblings.
template <class Op> void forEachChildSafely(CCNode* parent, Op op) {
    if (parent->getChildrenCount() == 0)
        return;
    CCMutableArray<CCNode*>* children = parent->getChildren();
    std::vector<CCNode*> snapshot(children->begin(), children->end());
    for (CCNode* child : snapshot)
        child->retain();
    for (CCNode* child : snapshot) {
        if (child->getParent() == parent)
            op(child);
    }
    for (CCNode* child : snapshot)
        child->release();
}

} // namespace

CCNode::CCNode() = default;

CCNode::~CCNode() {
    if (mChildren) {
        for (CCNode* child : *mChildren)
            child->mParent = nullptr;
        mChildren->release();
    }
}

CCNode* CCNode::node() {
    auto* result = new CCNode();
    result->autorelease();
    return result;
}

void CCNode::addChild(CCNode* child) {
    addChild(child, child->mZOrder, child->mTag);
}

void CCNode::addChild(CCNode* child, int zOrder) {
    addChild(child, zOrder, child->mTag);
}

void CCNode::addChild(CCNode* child, int zOrder, int tag) {
    assert(child && !child->mParent && child != this);
    if (!child || child->mParent || child == this)
        return;
    insertChild(child, zOrder);
    child->mTag = tag;
    child->mParent = this;
    if (mIsRunning)
        child->onEnter();
}

void CCNode::insertChild(CCNode* child, int zOrder) {
    CCMutableArray<CCNode*>* children = getChildren();
    size_t index = 0;
    while (index < children->count() && children->getObjectAtIndex(index)->mZOrder <= zOrder)
        ++index;
    children->insertObjectAtIndex(child, index);
    child->mZOrder = zOrder;
}

void CCNode::removeChild(CCNode* child, bool cleanup) {
    if (child && mChildren && mChildren->containsObject(child))
        detachChild(child, cleanup);
}

void CCNode::detachChild(CCNode* child, bool cleanup) {
    // Out of the list first, so that a nested removal from onExit or cleanup
    // finds nothing to do; our reference keeps the child alive until the end.
    child->retain();
    mChildren->removeObject(child);
    if (child->mIsRunning)
        child->onExit();
    if (cleanup)
        child->cleanup();
    child->mParent = nullptr;
    child->release();
}

void CCNode::removeChildByTag(int tag, bool cleanup) {
    if (CCNode* child = getChildByTag(tag))
        removeChild(child, cleanup);
}

void CCNode::removeAllChildrenWithCleanup(bool cleanup) {
    while (getChildrenCount() > 0)
        detachChild(mChildren->getLastObject(), cleanup);
}

void CCNode::removeFromParentAndCleanup(bool cleanup) {
    if (mParent)
        mParent->removeChild(this, cleanup);
}

void CCNode::reorderChild(CCNode* child, int zOrder) {
    if (!child || !mChildren || !mChildren->containsObject(child))
        return;
    child->retain();
    mChildren->removeObject(child);
    insertChild(child, zOrder);
    child->release();
}

CCNode* CCNode::getChildByTag(int tag) const {
    if (mChildren) {
        for (CCNode* child : *mChildren) {
            if (child->mTag == tag)
                return child;
        }
    }
    return nullptr;
}

CCMutableArray<CCNode*>* CCNode::getChildren() {
    if (!mChildren)
        mChildren = new CCMutableArray<CCNode*>();
    return mChildren;
}

size_t CCNode::getChildrenCount() const {
    return mChildren ? mChildren->count() : 0;
}

void CCNode::onEnter() {
    mIsRunning = true;
    forEachChildSafely(this, [](CCNode* child) {
        if (!child->getIsRunning())
            child->onEnter();
    });
    resumeSchedulerAndActions();
}

void CCNode::onExit() {
    mIsRunning = false;
    pauseSchedulerAndActions();
    forEachChildSafely(this, [](CCNode* child) {
        if (child->getIsRunning())
            child->onExit();
    });
}

void CCNode::cleanup() {
    stopAllActions();
    unscheduleAllSelectors();
    forEachChildSafely(this, [](CCNode* child) { child->cleanup(); });
}

void CCNode::onViewWillAppear(bool animated) {
    forEachChildSafely(this, [animated](CCNode* child) { child->onViewWillAppear(animated); });
}

void CCNode::onViewDidAppear(bool animated) {
    forEachChildSafely(this, [animated](CCNode* child) { child->onViewDidAppear(animated); });
}

void CCNode::onViewWillDisappear(bool animated) {
    forEachChildSafely(this, [animated](CCNode* child) { child->onViewWillDisappear(animated); });
}

void CCNode::onViewDidDisappear(bool animated) {
    forEachChildSafely(this, [animated](CCNode* child) { child->onViewDidDisappear(animated); });
}

void CCNode::onPause() {
    pauseSchedulerAndActions();
    forEachChildSafely(this, [](CCNode* child) { child->onPause(); });
}

void CCNode::onResume() {
    if (mIsRunning)
        resumeSchedulerAndActions();
    forEachChildSafely(this, [](CCNode* child) { child->onResume(); });
}

void CCNode::draw() {}

void CCNode::visit() {
    if (!mIsVisible)
        return;
    CCRenderer* renderer =
        CCDirector::hasSharedDirector() ? CCDirector::sharedDirector()->getRenderer() : nullptr;
    if (renderer)
        renderer->beginNode(this);
    const size_t count = getChildrenCount();
    size_t index = 0;
    for (; index < count && mChildren->getObjectAtIndex(index)->mZOrder < 0; ++index)
        mChildren->getObjectAtIndex(index)->visit();
    draw();
    for (; index < getChildrenCount(); ++index)
        mChildren->getObjectAtIndex(index)->visit();
    if (renderer)
        renderer->endNode(this);
}

} // namespace cocos2d
