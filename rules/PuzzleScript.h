#pragma once

// The running script of the puzzle on screen as the rules and the scene see
// it: the event entry points the model and the scene call while a tutorial or
// challenge runs. The puzzle subsystem's script derives from it; the scene
// owns the running one (GameSceneInterface::getPuzzleScript). Every entry
// point does nothing here, so a script overrides the events its triggers
// hear. Main thread only.

#include <functional>
#include <string>

class CandidateAction;
class ProtoPuzzle;
class Entity;
class Player;

class PuzzleScript {
public:
    virtual ~PuzzleScript();

    // The scene bound the puzzle's game, or the puzzle was restarted.
    virtual void start();
    // A named tag: a "sendTag" result, or a dialog closed with its close tag.
    // Runs at once, also inside another event.
    virtual void sendTag(const std::string& tag);
    // The model finished the visuals of a performed action.
    virtual void onActionPerformed(CandidateAction* action);
    // A drag of that entity started; a refused drop ended the drag.
    virtual void onUnitSelected(Entity* entity);
    virtual void onUnitDeselected();
    // A player's action points changed (the action-points trigger).
    virtual void onAPRemaining(Player* player);
    // The scene undid actions (wholeTurn: the whole turn was undone).
    virtual void onUndo(bool wholeTurn);
    // The player submitted the turn.
    virtual void onSubmit();

    // The section to switch to once the current event has reached every
    // trigger; the last name set in one event wins.
    virtual void setPendingSection(const std::string& name);
};

// Makes the running script of a puzzle from its script nodes; the puzzle
// subsystem installs one. Null for no factory (the built-in state) or when
// the factory makes none; the caller owns the result.
using PuzzleScriptFactory = std::function<PuzzleScript*(const ProtoPuzzle& puzzle)>;
void setPuzzleScriptFactory(PuzzleScriptFactory factory);
PuzzleScript* createPuzzleScript(const ProtoPuzzle& puzzle);
