#pragma once

// The results that act on the board scene itself: "reset" restarts the
// puzzle, "showUI" and "hideUI" reveal and hide a control of the heads-up
// display by name ("PlayerBanner", "ResetButton", "SubmitButton",
// "TileChest", "SettingsButton"; other names do nothing). Nothing happens
// without the scene.

#include "puzzle/PuzzleScriptResult.h"

#include <string>

class PuzzleResetResult : public PuzzleScriptResult {
public:
    // Undoes the whole turn, then, with a script: resets every trigger,
    // hides every bubble and starts the script again.
    void execute() override;
};

class PuzzleShowUIResult : public PuzzleScriptResult {
public:
    // The hide flag ("hideUI"), then "name"; false for a null node.
    bool load(const PuzzleResultNode* node) override;
    // Hides the control through the scene's unhighlight, else showControl.
    void execute() override;
    // Reveals the control through the scene's highlight.
    virtual void showControl();

    bool hides() const { return mHide; }
    const std::string& controlName() const { return mName; }

private:
    bool mHide = false;
    std::string mName;
};
