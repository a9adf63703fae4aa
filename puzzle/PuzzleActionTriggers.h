#pragma once

// The triggers that count what the player's actions do: actions of chosen
// kinds ("onUnitDeployed", "onUnitMoved", "onUnitAttacked", "onUnitEquipped",
// "onSpell", "onAP"), heals ("onUnitHealed"), the last action points spent
// ("onAPRemaining") and knock-outs ("onKO"). Counters and flags survive
// section changes; they clear on a reset and, as each class says, on undo.

#include "puzzle/PuzzleScriptTrigger.h"

#include <array>

class PuzzleAPSpentTrigger : public PuzzleScriptTrigger {
public:
    // The kinds of action an element counts.
    enum Kind { cMove, cDeploy, cAttack, cHeal, cEquip, cSpell, cKindCount };

    // The kinds of the element, the results, "protoName", "count" (-1 when
    // absent) and "resetOnUndo" (off only for exactly "false").
    bool load(const PuzzleScriptNode* node) override;
    // Counter back to 0 (the results are not reset).
    void reset() override;
    // Counts an action of a counted kind whose source entity is in the
    // current game and passes the proto filter.
    void onUnitAction(CandidateAction* action) override;
    void onUndo(bool wholeTurn) override;

    int32_t counter() const { return mCounter; }

private:
    std::string mProtoName;
    int32_t mCounter = 0;
    int32_t mCount = -1;
    bool mResetOnUndo = true;
    std::array<bool, cKindCount> mKinds{};
};

class PuzzleHealTrigger : public PuzzleScriptTrigger {
public:
    // The results, "protoName", "threshold" (hit points, 0 when absent) and
    // "count" (-1 when absent).
    bool load(const PuzzleScriptNode* node) override;
    void reset() override;
    // Counts each record of the action whose entity gained hit points up to
    // at least the threshold, is in the current game and passes the proto
    // filter, whatever the action's type.
    void onUnitAction(CandidateAction* action) override;
    void onUndo(bool wholeTurn) override;

private:
    std::string mProtoName;
    float mThreshold = 0.0f;
    int32_t mCounter = 0;
    int32_t mCount = -1;
};

class PuzzleAPRemainingTrigger : public PuzzleScriptTrigger {
public:
    // The results, then "count" as the target action points; without it a
    // target that no player's action points reach.
    bool load(const PuzzleScriptNode* node) override;
    void reset() override;
    // Armed when any player's action points equal the target.
    void onAPRemaining(Player* player) override;
    // When armed, an action without sub-actions fires and disarms it.
    void onUnitAction(CandidateAction* action) override;
    void onUndo(bool wholeTurn) override;

    bool isArmed() const { return mArmed; }

private:
    int32_t mTarget = 0;
    bool mArmed = false;
};

class PuzzleKOTrigger : public PuzzleScriptTrigger {
public:
    // The results, "protoName" and "count" (-1 when absent).
    bool load(const PuzzleScriptNode* node) override;
    void reset() override;
    // Counts a knock-out of an entity that passes the proto filter.
    void onKO(Entity* entity) override;
    void onUndo(bool wholeTurn) override;

private:
    std::string mProtoName;
    int32_t mCounter = 0;
    int32_t mCount = -1;
};
