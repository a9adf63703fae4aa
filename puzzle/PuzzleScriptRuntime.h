#pragma once

// The running script of the puzzle on screen. The scene builds one from the
// puzzle's parsed nodes when it is bound to a puzzle game with a script and
// owns it; the model, the entities, the players and the scene report their
// events to it (rules/PuzzleScript.h). Each event goes to every top-level
// trigger in document order; a section change that a result asks for is
// applied once the event has reached every trigger, so one name switches
// every top-level section at once. Main thread only.

#include "rules/PuzzleScript.h"

#include "content/PuzzleScriptSupport.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class PuzzleScriptTrigger;

class PuzzleScriptRuntime : public PuzzleScript {
public:
    // A script of the triggers that build from nodes (null entries and
    // triggers that do not build are skipped); null for a null list.
    static std::unique_ptr<PuzzleScriptRuntime> create(const PuzzleScriptNodeList* nodes);

    PuzzleScriptRuntime();
    PuzzleScriptRuntime(const PuzzleScriptRuntime&) = delete;
    PuzzleScriptRuntime& operator=(const PuzzleScriptRuntime&) = delete;
    // Deletes every trigger (with its results and children).
    ~PuzzleScriptRuntime() override;

    // A tag sent while cMaxTagNesting tag events are already running is
    // dropped, and so is every tag beyond cMaxChainedTags sent inside one
    // outermost tag event: a script whose tags send each other ends, and
    // soon.
    static constexpr int32_t cMaxTagNesting = 32;
    static constexpr int32_t cMaxChainedTags = 256;

    void start() override;
    void sendTag(const std::string& tag) override;
    // Only with a current game: for each result record that is a knock-out
    // (hit points above 0 before, 0 or below after) or a stomp, each trigger
    // in turn hears onKO then onStomp of its entity; then every trigger
    // hears onUnitAction once.
    void onActionPerformed(CandidateAction* action) override;
    void onUnitSelected(Entity* entity) override;
    void onUnitDeselected() override;
    void onAPRemaining(Player* player) override;
    void onUndo(bool wholeTurn) override;
    void onSubmit() override;
    void setPendingSection(const std::string& name) override;

    const std::string& pendingSection() const { return mPendingSection; }
    const std::vector<std::unique_ptr<PuzzleScriptTrigger>>& triggers() const { return mTriggers; }

private:
    // Calls event on every trigger in order, then applies the pending section.
    template <class Event> void deliver(Event event);
    // Tells every trigger the pending section's name, when there is one, and
    // clears it.
    void applyPendingSection();

    std::vector<std::unique_ptr<PuzzleScriptTrigger>> mTriggers;
    std::string mPendingSection;
    int32_t mTagNesting = 0;
    int32_t mChainedTags = 0;
};
