#pragma once

// Hands the view's touches to the registered delegates.
//
// For each touch, targeted delegates are asked first, in ascending priority
// and, among equal priorities, the most recently added first. A delegate
// claims a new touch by answering true to ccTouchBegan; the touch's moves,
// end and cancel then go only to its claimers. A claimer that swallows stops
// the asking and takes the touch out of the set for everyone else. Standard
// delegates then get the set of touches nobody swallowed (when not empty),
// or, when they answer true to wantAllTouches, the whole set.
//
// Delegates added or removed during a dispatch take effect after it: a
// removed one gets no further event, an added one does not see the touches
// in flight. Registered delegates are kept alive (CCDelegateList.h).

#include "platform/engine/CCDelegateList.h"
#include "platform/engine/CCSet.h"
#include "platform/engine/CCTouchDelegate.h"

namespace cocos2d {

class CCEvent;
class CCTouch;

// Menus are asked before anything at a priority above this.
inline constexpr int kCCMenuTouchPriority = -128;

class CCTouchDispatcher : public CCObject {
public:
    // The director's dispatcher.
    static CCTouchDispatcher* sharedDispatcher();

    CCTouchDispatcher() = default;
    ~CCTouchDispatcher() override;

    void addStandardDelegate(CCTouchDelegate* delegate, int priority);
    void addTargetedDelegate(CCTouchDelegate* delegate, int priority, bool swallowsTouches);
    // Removes the delegate from both kinds of registration.
    void removeDelegate(CCTouchDelegate* delegate);
    void removeAllDelegates();
    bool isRegistered(CCTouchDelegate* delegate) const;

    // Entry points of the view.
    void touchesBegan(CCSet* touches, CCEvent* event);
    void touchesMoved(CCSet* touches, CCEvent* event);
    void touchesEnded(CCSet* touches, CCEvent* event);
    void touchesCancelled(CCSet* touches, CCEvent* event);
    // A pointer move in view coordinates, handed to every delegate.
    void rawMove(float x, float y, bool buttonDown);

private:
    enum class Phase { Began, Moved, Ended, Cancelled };

    struct TargetedHandler : CCDelegateEntry<CCTouchDelegate> {
        TargetedHandler(CCTouchDelegate* delegate, int priority, bool swallows)
            : CCDelegateEntry(delegate, priority), swallows(swallows) {}
        bool swallows;
        CCSet claimed; // touches this delegate took in ccTouchBegan
    };
    using StandardHandler = CCDelegateEntry<CCTouchDelegate>;

    void dispatch(CCSet* touches, CCEvent* event, Phase phase);
    bool offerTargeted(TargetedHandler* handler, CCTouch* touch, CCEvent* event, Phase phase);
    void offerStandard(StandardHandler* handler, CCSet* touches, CCEvent* event, Phase phase);

    CCDelegateList<TargetedHandler> mTargeted;
    CCDelegateList<StandardHandler> mStandard;
};

} // namespace cocos2d
