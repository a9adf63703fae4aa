#pragma once

// "sendTag": hands a named tag to the running script at once, nested inside
// the event that fired it.

#include "puzzle/PuzzleScriptResult.h"

#include <string>

class PuzzleSendTagResult : public PuzzleScriptResult {
public:
    // "tagName" (empty when absent); false for a null node.
    bool load(const PuzzleResultNode* node) override;
    // PuzzleScript::sendTag of the scene's script, when there is one.
    void execute() override;

    const std::string& tagName() const { return mTagName; }

private:
    std::string mTagName;
};
