#pragma once

// The base of the actions built from a list of inner actions (CCSequence,
// CCSpawn): it holds a reference to each, copies them with itself, and gives
// every such class the same factories.

#include "platform/engine/CCActionCopy.h"
#include "platform/engine/CCActionInterval.h"
#include "platform/engine/CCMutableArray.h"

#include <vector>

namespace cocos2d {

class CCActionList : public CCActionInterval {
public:
    ~CCActionList() override;
    // Takes the non-null actions and sets the duration from them.
    virtual bool initWithActions(const std::vector<CCFiniteTimeAction*>& actions);
    size_t getActionCount() const { return mActions.size(); }

protected:
    // The whole duration of the given inner actions.
    virtual ccTime durationOf(const std::vector<CCFiniteTimeAction*>& actions) const = 0;
    // Fills copy (a new object of the same class) with copies of the inner actions.
    void copyActionsInto(CCActionList* copy) const;

    std::vector<CCFiniteTimeAction*> mActions;
};

// The factories of a list action class T.
template <class T> class CCActionListOf : public CCActionList {
public:
    static T* actionOneTwo(CCFiniteTimeAction* first, CCFiniteTimeAction* second) {
        return actionsWithList({first, second});
    }
    // Any number of actions; null entries are skipped.
    template <class... Rest> static T* actions(CCFiniteTimeAction* first, Rest*... rest) {
        return actionsWithList({first, static_cast<CCFiniteTimeAction*>(rest)...});
    }
    static T* actionsWithArray(CCMutableArray<CCFiniteTimeAction*>* actions) {
        return actionsWithList(std::vector<CCFiniteTimeAction*>(actions->begin(), actions->end()));
    }
    static T* actionsWithList(const std::vector<CCFiniteTimeAction*>& actions) {
        auto* result = new T();
        result->initWithActions(actions);
        result->autorelease();
        return result;
    }

    // Copies the inner actions too.
    CCObject* copyWithZone(CCZone* zone) override {
        std::unique_ptr<CCZone> ownZone;
        T* copy = ccCopyTarget<T>(zone, ownZone);
        CCActionInterval::copyWithZone(zone);
        copyActionsInto(copy);
        return copy;
    }
};

} // namespace cocos2d
