#pragma once

// Sections group triggers so that a script moves through stages. A
// "section" is deaf until a "setSection" result names it and deaf again
// when another name is chosen or the script is reset; while active it hands
// every event to its children. An "untilTag" starts active and goes deaf for
// good (until a reset) when its tag arrives; named tags other than its own
// still reach its children.

#include "puzzle/PuzzleScriptTrigger.h"

class PuzzleSectionTrigger : public PuzzleScriptTrigger {
public:
    // Reads "name" (required), then builds every child node; a child that
    // does not build is dropped and fails the load.
    bool load(const PuzzleScriptNode* node) override;
    // Inactive, then every child reset.
    void reset() override;
    // Active exactly when name is this section's name; the children are not
    // told.
    void setSection(const std::string& name) override;

    void onStart() override;
    void onUnitAction(CandidateAction* action) override;
    void onKO(Entity* entity) override;
    void onStomp(Entity* entity) override;
    void onNamedTag(const std::string& tag) override;
    void onUnitSelected(Entity* entity) override;
    void onUnitDeselected() override;
    void onAPRemaining(Player* player) override;
    void onUndo(bool wholeTurn) override;
    void onSubmit() override;

    bool isActive() const { return mActive; }
    const std::string& name() const { return mName; }
    const std::vector<std::unique_ptr<PuzzleScriptTrigger>>& children() const { return mChildren; }

protected:
    // Reads the required attribute into mName, then the children.
    bool loadSection(const PuzzleScriptNode* node, std::string_view nameAttribute);
    // Calls event on every child, in order.
    template <class Event> void forward(Event event) {
        for (const std::unique_ptr<PuzzleScriptTrigger>& child : mChildren)
            event(*child);
    }
    // forward while active.
    template <class Event> void forwardWhileActive(Event event) {
        if (mActive)
            forward(event);
    }

    std::string mName;
    bool mActive = false;
    std::vector<std::unique_ptr<PuzzleScriptTrigger>> mChildren;
};

class PuzzleUntilTagTrigger : public PuzzleSectionTrigger {
public:
    PuzzleUntilTagTrigger();
    // Reads "tagName" (required) in place of the name, then the children.
    bool load(const PuzzleScriptNode* node) override;
    // The section's reset, then active again.
    void reset() override;
    // While active, every child hears the section name; its own flag stays.
    void setSection(const std::string& name) override;
    // Its own tag makes it inactive (the children do not hear it); any other
    // tag reaches the children, active or not.
    void onNamedTag(const std::string& tag) override;
};
