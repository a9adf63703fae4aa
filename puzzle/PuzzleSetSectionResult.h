#pragma once

// "setSection": asks the running script to switch sections once the current
// event has reached every trigger. It may ask only for a logged-in player
// ("requiresLogin") or for one who has played before ("requiresPlayedBefore":
// the preference "EverPlayedGame" set and the option "ForceFirstTimeUser"
// not set).

#include "puzzle/PuzzleScriptResult.h"

#include <string>

class PuzzleSetSectionResult : public PuzzleScriptResult {
public:
    // "requiresLogin" and "requiresPlayedBefore" (each on only for exactly
    // "true"), then "name"; false for a null node.
    bool load(const PuzzleResultNode* node) override;
    // Stores the name as the scene's script's pending section unless a
    // requirement is not met.
    void execute() override;

    const std::string& sectionName() const { return mSectionName; }

private:
    std::string mSectionName;
    bool mRequiresLogin = false;
    bool mRequiresPlayedBefore = false;
};
