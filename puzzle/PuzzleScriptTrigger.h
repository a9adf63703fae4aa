#pragma once

// A live trigger of a running puzzle script, built from one trigger node.
// The script (PuzzleScriptRuntime) and parent sections hand it the game's
// events; when its condition is met it fires: it executes its results in
// document order, at once, inside the event. Every event does nothing here.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ActionResultInfo;
class CandidateAction;
class Entity;
class Player;
class PuzzleScriptNode;
class PuzzleScriptResult;

class PuzzleScriptTrigger {
public:
    // The trigger class of the node's type, loaded from the node; null for a
    // null node, a type outside the table or a load that fails.
    static std::unique_ptr<PuzzleScriptTrigger> create(const PuzzleScriptNode* node);

    PuzzleScriptTrigger();
    PuzzleScriptTrigger(const PuzzleScriptTrigger&) = delete;
    PuzzleScriptTrigger& operator=(const PuzzleScriptTrigger&) = delete;
    virtual ~PuzzleScriptTrigger();

    // Builds the node's results and keeps those that build; false for a null
    // node or when one does not build.
    virtual bool load(const PuzzleScriptNode* node);
    // Resets every result; classes with counters or flags clear them too.
    virtual void reset();
    // A new section was chosen (sections react).
    virtual void setSection(const std::string& name);

    // The events, in the order of the run-time's table.
    virtual void onStart();
    virtual void onUnitAction(CandidateAction* action);
    virtual void onKO(Entity* entity);
    virtual void onStomp(Entity* entity);
    virtual void onNamedTag(const std::string& tag);
    virtual void onUnitSelected(Entity* entity);
    virtual void onUnitDeselected();
    virtual void onAPRemaining(Player* player);
    virtual void onUndo(bool wholeTurn);
    virtual void onSubmit();

    // Executes every result in order.
    void fire();

    const std::vector<std::unique_ptr<PuzzleScriptResult>>& results() const { return mResults; }

private:
    std::vector<std::unique_ptr<PuzzleScriptResult>> mResults;
};

// The proto-name filter: every entity passes an empty name; otherwise the
// entity passes when its proto has exactly that name, or it has no proto.
// A null entity never passes.
bool passesProtoFilter(const Entity* entity, std::string_view protoName);

// The counter rule: counts one accepted event and answers whether the
// trigger fires: on every event when count is -1, else when the counter
// reaches count exactly.
bool countEvent(int32_t& counter, int32_t count);

// The entity of id in the current game (gCurrentGame); null without one.
Entity* currentGameEntity(int32_t id);

// The hit points a result record gives its entity before and after the
// action (health fraction times the entity's maximum health, to the nearest
// whole point); false when either half of the record was not captured.
bool recordHitPoints(const ActionResultInfo& record, const Entity& entity, float& before,
                     float& after);
