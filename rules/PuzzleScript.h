#pragma once

// The running script of the puzzle on screen as the rules see it: the event
// entry points the model calls while a tutorial or challenge runs. The
// puzzle subsystem's script derives from it; the scene owns the running one
// (GameSceneInterface::getPuzzleScript). Every entry point does nothing
// here, so a script overrides the events its triggers hear.

class Player;

class PuzzleScript {
public:
    virtual ~PuzzleScript();

    // A player's action points changed (the action-points trigger).
    virtual void onAPRemaining(Player* player);
};
