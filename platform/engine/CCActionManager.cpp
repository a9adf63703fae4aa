#include "platform/engine/CCActionManager.h"

#include "platform/engine/CCAction.h"
#include "platform/engine/CCNode.h"

#include <algorithm>

namespace cocos2d {

CCActionManager::~CCActionManager() {
    removeAllActions();
}

CCActionManager::Element* CCActionManager::find(CCNode* target) const {
    auto found = mByTarget.find(target);
    return found == mByTarget.end() ? nullptr : found->second;
}

void CCActionManager::addAction(CCAction* action, CCNode* target, bool paused) {
    if (!action || !target)
        return;
    Element* element = find(target);
    if (!element) {
        auto created = std::make_unique<Element>();
        element = created.get();
        element->target = target;
        element->paused = paused;
        target->retain();
        mElements.push_back(std::move(created));
        mByTarget[target] = element;
    } else if (std::find(element->actions.begin(), element->actions.end(), action) !=
               element->actions.end()) {
        return; // already running there
    }
    action->retain();
    if (mUpdating)
        element->freshFrom = std::min(element->freshFrom, element->actions.size());
    element->actions.push_back(action);
    action->startWithTarget(target);
}

void CCActionManager::removeSlot(Element* element, size_t index) {
    CCAction* action = element->actions[index];
    if (mUpdating)
        element->actions[index] = nullptr; // the frame's walk relies on stable indices
    else
        element->actions.erase(element->actions.begin() + index);
    if (std::all_of(element->actions.begin(), element->actions.end(),
                    [](CCAction* a) { return a == nullptr; }))
        bury(element);
    action->stop();
    action->release();
}

void CCActionManager::bury(Element* element) {
    element->dead = true;
    element->actions.clear();
    mByTarget.erase(element->target);
    element->target->autorelease();
    // The dead record leaves the list at the end of the next frame.
}

void CCActionManager::removeAllActions() {
    std::vector<CCNode*> targets;
    for (const auto& element : mElements) {
        if (!element->dead)
            targets.push_back(element->target);
    }
    for (CCNode* target : targets)
        removeAllActionsFromTarget(target);
}

void CCActionManager::removeAllActionsFromTarget(CCNode* target) {
    while (Element* element = find(target)) {
        auto slot = std::find_if(element->actions.rbegin(), element->actions.rend(),
                                 [](CCAction* a) { return a != nullptr; });
        removeSlot(element, size_t(element->actions.rend() - slot) - 1);
    }
}

void CCActionManager::removeAction(CCAction* action) {
    if (!action)
        return;
    Element* element = find(action->getOriginalTarget());
    if (!element)
        return;
    auto slot = std::find(element->actions.begin(), element->actions.end(), action);
    if (slot != element->actions.end())
        removeSlot(element, size_t(slot - element->actions.begin()));
}

void CCActionManager::removeActionByTag(int tag, CCNode* target) {
    if (CCAction* action = getActionByTag(tag, target))
        removeAction(action);
}

CCAction* CCActionManager::getActionByTag(int tag, CCNode* target) {
    if (Element* element = find(target)) {
        for (CCAction* action : element->actions) {
            if (action && action->getTag() == tag)
                return action;
        }
    }
    return nullptr;
}

size_t CCActionManager::numberOfRunningActionsInTarget(CCNode* target) {
    Element* element = find(target);
    if (!element)
        return 0;
    return size_t(std::count_if(element->actions.begin(), element->actions.end(),
                                [](CCAction* a) { return a != nullptr; }));
}

void CCActionManager::pauseTarget(CCNode* target) {
    if (Element* element = find(target))
        element->paused = true;
}

void CCActionManager::resumeTarget(CCNode* target) {
    if (Element* element = find(target))
        element->paused = false;
}

void CCActionManager::update(ccTime dt) {
    mUpdating = true;
    const size_t count = mElements.size();
    for (size_t i = 0; i < count; ++i) {
        Element* element = mElements[i].get();
        if (element->dead || element->paused)
            continue;
        CCNode* target = element->target;
        target->retain();
        for (size_t j = 0; j < element->actions.size() && j < element->freshFrom; ++j) {
            CCAction* action = element->actions[j];
            if (!action)
                continue;
            action->retain();
            action->step(dt);
            // The step may have removed the action, or all of them.
            if (!element->dead && element->actions[j] == action && action->isDone())
                removeSlot(element, j);
            action->release();
            if (element->dead || element->paused)
                break;
        }
        target->release();
    }
    mUpdating = false;
    tidyAfterUpdate();
}

void CCActionManager::tidyAfterUpdate() {
    for (const auto& element : mElements) {
        element->freshFrom = kNoFresh;
        std::erase(element->actions, nullptr);
    }
    std::erase_if(mElements, [](const std::unique_ptr<Element>& e) { return e->dead; });
}

} // namespace cocos2d
