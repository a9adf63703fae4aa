#include "platform/engine/CCTouchDispatcher.h"

#include "platform/engine/CCDirector.h"
#include "platform/engine/CCTouch.h"

#include <memory>
#include <vector>

namespace cocos2d {

CCTouchDispatcher* CCTouchDispatcher::sharedDispatcher() {
    return CCDirector::sharedDirector()->getTouchDispatcher();
}

CCTouchDispatcher::~CCTouchDispatcher() = default;

void CCTouchDispatcher::addStandardDelegate(CCTouchDelegate* delegate, int priority) {
    if (delegate)
        mStandard.add(std::make_unique<StandardHandler>(delegate, priority));
}

void CCTouchDispatcher::addTargetedDelegate(CCTouchDelegate* delegate, int priority,
                                            bool swallowsTouches) {
    if (delegate)
        mTargeted.add(std::make_unique<TargetedHandler>(delegate, priority, swallowsTouches));
}

void CCTouchDispatcher::removeDelegate(CCTouchDelegate* delegate) {
    if (!delegate)
        return;
    mTargeted.remove(delegate);
    mStandard.remove(delegate);
}

void CCTouchDispatcher::removeAllDelegates() {
    mTargeted.removeAll();
    mStandard.removeAll();
}

bool CCTouchDispatcher::isRegistered(CCTouchDelegate* delegate) const {
    return mTargeted.find(delegate) || mStandard.find(delegate);
}

void CCTouchDispatcher::touchesBegan(CCSet* touches, CCEvent* event) {
    dispatch(touches, event, Phase::Began);
}

void CCTouchDispatcher::touchesMoved(CCSet* touches, CCEvent* event) {
    dispatch(touches, event, Phase::Moved);
}

void CCTouchDispatcher::touchesEnded(CCSet* touches, CCEvent* event) {
    dispatch(touches, event, Phase::Ended);
}

void CCTouchDispatcher::touchesCancelled(CCSet* touches, CCEvent* event) {
    dispatch(touches, event, Phase::Cancelled);
}

void CCTouchDispatcher::dispatch(CCSet* touches, CCEvent* event, Phase phase) {
    if (!touches || touches->count() == 0)
        return;
    touches->retain();
    {
        CCDelegateListLock targetedLock(mTargeted);
        CCDelegateListLock standardLock(mStandard);
        std::unique_ptr<CCSet, void (*)(CCSet*)> unswallowed(touches->mutableCopy(),
                                                             [](CCSet* s) { s->release(); });
        const std::vector<CCObject*> order(touches->begin(), touches->end());
        for (CCObject* object : order) {
            auto* touch = static_cast<CCTouch*>(object);
            for (size_t i = 0; i < mTargeted.size(); ++i) {
                TargetedHandler* handler = mTargeted.at(i);
                if (handler->removed)
                    continue;
                if (offerTargeted(handler, touch, event, phase) && handler->swallows) {
                    unswallowed->removeObject(touch);
                    break;
                }
            }
        }
        for (size_t i = 0; i < mStandard.size(); ++i) {
            StandardHandler* handler = mStandard.at(i);
            if (handler->removed)
                continue;
            CCSet* set = handler->delegate->wantAllTouches() ? touches : unswallowed.get();
            if (set->count() > 0)
                offerStandard(handler, set, event, phase);
        }
    }
    touches->release();
}

bool CCTouchDispatcher::offerTargeted(TargetedHandler* handler, CCTouch* touch, CCEvent* event,
                                      Phase phase) {
    CCTouchDelegate* delegate = handler->delegate;
    if (phase == Phase::Began) {
        const bool claimed = delegate->ccTouchBegan(touch, event);
        if (claimed && !handler->removed)
            handler->claimed.addObject(touch);
        return claimed;
    }
    if (!handler->claimed.containsObject(touch))
        return false;
    if (phase == Phase::Moved) {
        delegate->ccTouchMoved(touch, event);
        return true;
    }
    // The claim ends with the gesture (first, in case the call re-enters).
    touch->retain();
    handler->claimed.removeObject(touch);
    if (phase == Phase::Ended)
        delegate->ccTouchEnded(touch, event);
    else
        delegate->ccTouchCancelled(touch, event);
    touch->release();
    return true;
}

void CCTouchDispatcher::offerStandard(StandardHandler* handler, CCSet* touches, CCEvent* event,
                                      Phase phase) {
    CCTouchDelegate* delegate = handler->delegate;
    switch (phase) {
    case Phase::Began:
        delegate->ccTouchesBegan(touches, event);
        break;
    case Phase::Moved:
        delegate->ccTouchesMoved(touches, event);
        break;
    case Phase::Ended:
        delegate->ccTouchesEnded(touches, event);
        break;
    case Phase::Cancelled:
        delegate->ccTouchesCancelled(touches, event);
        break;
    }
}

void CCTouchDispatcher::rawMove(float x, float y, bool buttonDown) {
    CCDelegateListLock targetedLock(mTargeted);
    CCDelegateListLock standardLock(mStandard);
    for (size_t i = 0; i < mTargeted.size(); ++i) {
        if (!mTargeted.at(i)->removed)
            mTargeted.at(i)->delegate->ccRawMove(x, y, buttonDown);
    }
    for (size_t i = 0; i < mStandard.size(); ++i) {
        if (!mStandard.at(i)->removed)
            mStandard.at(i)->delegate->ccRawMove(x, y, buttonDown);
    }
}

} // namespace cocos2d
