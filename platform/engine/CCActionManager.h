#pragma once

// Runs the actions of every node. The scheduler updates the manager first in
// each frame, with the frame's scaled time.
//
// The manager holds a reference to each node that has actions and to each
// running action; during a step both are kept alive, so a callback may stop
// actions, remove (and so destroy) its own node or start new actions. A node
// the manager lets go of is autoreleased, never destroyed inside a manager
// call. An action added during a frame takes its first step in the next
// frame. Actions of a paused node hold until it is resumed. A removed action
// is stopped (stop()), as is one that finishes.

#include "platform/engine/CCObject.h"

#include <memory>
#include <unordered_map>
#include <vector>

namespace cocos2d {

class CCAction;

class CCActionManager : public CCObject {
public:
    CCActionManager() = default;
    ~CCActionManager() override;

    // Starts the action on the target at once (startWithTarget); paused only
    // matters when the target has no actions yet.
    void addAction(CCAction* action, CCNode* target, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(CCNode* target);
    // Stops and removes one action.
    void removeAction(CCAction* action);
    void removeActionByTag(int tag, CCNode* target);
    // The first running action of the target with that tag, or null.
    CCAction* getActionByTag(int tag, CCNode* target);
    size_t numberOfRunningActionsInTarget(CCNode* target);
    void pauseTarget(CCNode* target);
    void resumeTarget(CCNode* target);

    // One frame.
    void update(ccTime dt) override;

private:
    struct Element {
        CCNode* target = nullptr;
        std::vector<CCAction*> actions; // null where removed during a frame
        size_t freshFrom = size_t(-1);  // actions from here on joined this frame
        bool paused = false;
        bool dead = false;
    };

    static constexpr size_t kNoFresh = size_t(-1);

    Element* find(CCNode* target) const;
    void removeSlot(Element* element, size_t index);
    void bury(Element* element);
    void tidyAfterUpdate();

    std::vector<std::unique_ptr<Element>> mElements; // may hold dead ones until tidied
    std::unordered_map<CCNode*, Element*> mByTarget; // live elements only
    bool mUpdating = false;
};

} // namespace cocos2d
