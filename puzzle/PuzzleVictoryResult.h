#pragma once

// The results that end a puzzle or leave it: "victory" and "defeat" end the
// game on the board with the end-of-game summary and the completion layer;
// "sendToLogin" and "sendToMainMenu" mark the puzzle completed and leave
// the board for the page. Each needs the current game (and the scene, for
// the ending).

#include "puzzle/PuzzleScriptResult.h"

#include <cstdint>

// The achievements of completing every puzzle of a category: the tutorials
// and the four civ tutorials, in the order of cTutorialCategoryNames.
inline constexpr int32_t cTutorialsAchievement = 54;
inline constexpr int32_t cFirstCivTutorialAchievement = 55;

// Queues the category's achievement (tracker scope, id, 0), flushing when
// enabled, once every puzzle of the category is completed; nothing for any
// other category.
void awardTutorialAchievement(int32_t category);

class PuzzleVictoryResult : public PuzzleScriptResult {
public:
    // The won flag ("victory"), then "callToAction" (on for exactly "true");
    // false for a null node.
    bool load(const PuzzleResultNode* node) override;
    // Ends the game, shows the summary and the completion layer; a win is
    // stored as completed first and may earn the category's achievement.
    void execute() override;

    bool won() const { return mWon; }
    bool callToAction() const { return mCallToAction; }

private:
    bool mWon = false;
    bool mCallToAction = false;
};

class PuzzleSendToResult : public PuzzleScriptResult {
public:
    explicit PuzzleSendToResult(bool toLogin) : mToLogin(toLogin) {}
    // Marks the puzzle completed (a finished tutorials category earns its
    // achievement), leaves the scene and goes to the games list
    // ("sendToLogin") or the main menu ("sendToMainMenu").
    void execute() override;

private:
    bool mToLogin;
};
