#pragma once

// The results that show and hide the dialog layer's bubbles and arrows
// ("showDialog", "hideDialog", "hideAllDialogs", "showArrow", "hideArrow").
// A bubble or arrow is built, hidden, when its "show" result loads, so the
// load needs the scene's dialog layer; every other call does nothing
// without one.

#include "puzzle/PuzzleScriptResult.h"

#include <cstdint>
#include <string>

class PuzzleShowDialogResult : public PuzzleScriptResult {
public:
    // Registers the node's bubble with the layer (one that cannot be built
    // is left out and the load still succeeds), then reads "name"; false
    // for a null node or without the layer.
    bool load(const PuzzleResultNode* node) override;
    void execute() override;
    // Hides the bubble.
    void reset() override;

    const std::string& dialogName() const { return mName; }

private:
    std::string mName;
};

class PuzzleHideDialogResult : public PuzzleScriptResult {
public:
    bool load(const PuzzleResultNode* node) override;
    void execute() override;

private:
    std::string mName;
};

class PuzzleHideAllDialogsResult : public PuzzleScriptResult {
public:
    void execute() override;
};

class PuzzleShowArrowResult : public PuzzleScriptResult {
public:
    // Builds the node's arrow on the layer; false when it cannot be built,
    // for a null node or without the layer.
    bool load(const PuzzleResultNode* node) override;
    // Shows its arrow in place of the one on screen.
    void execute() override;
    // Hides whichever arrow is on screen.
    void reset() override;

    int32_t arrowIndex() const { return mIndex; }

private:
    int32_t mIndex = -1;
};

class PuzzleHideArrowResult : public PuzzleScriptResult {
public:
    // Hides whichever arrow is on screen.
    void execute() override;
};
