#pragma once

// One thing a player does in a turn: a source entity does one kind of
// action (ActionType) from its square to a target square of a target grid,
// for an action-point cost. Executing it changes only the model and leaves
// one ActionResultInfo per touched entity (in the order they were first
// touched) plus a few action-wide values; playback and replay drive the
// views from those records. Chained effects are sub-actions, kept in order.
//
// The action owns its records and holds one reference on each sub-action
// and on its visual node. Files: CandidateAction.cpp (set-up, records,
// states), CandidateAction_execute.cpp (execution and the slot hazard),
// CandidateAction_castPower.cpp (powers and their knockback),
// CandidateAction_restore.cpp (the views' rewind),
// CandidateAction_playback.cpp and CandidateAction_playHits.cpp (playback).

#include "rules/ActionResultInfo.h"
#include "rules/GridSlot.h"
#include "rules/ObjectPool.h"
#include "rules/core/EntityState.h"

#include "platform/engine/CCObject.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace cocos2d {
class CCNode;
}

class Entity;
class EntityGrid;
class Game;
class ProtoEntity;

// Values of CandidateAction::mPlaybackState (-1 until init).
enum PlaybackState : int32_t {
    cPlaybackConstructed = -1,
    cPlaybackReady = 0,
    cPlaybackExecuting = 1,
    cPlaybackExecuted = 2,
    cPlaybackRestoringInitialState = 3,
    cPlaybackInitialStateRestored = 4,
    cPlaybackPlaying = 5,
    cPlaybackDone = 6,
};

class CandidateAction : public cocos2d::CCObject {
public:
    // The action type of a data-file name, letter case aside; -1 for none.
    static int32_t actionTypeFromName(std::string_view name) { return ::actionTypeFromName(name); }

    CandidateAction(Game* game, int32_t actionPointCost);
    // Deletes the records, releases the sub-actions and the visual node.
    ~CandidateAction() override;

    // A loaded game holds hundreds: kept blocks are reused.
    static void* operator new(size_t size) { return ObjectPool<CandidateAction>::allocate(size); }
    static void operator delete(void* block, size_t size) {
        ObjectPool<CandidateAction>::deallocate(block, size);
    }

    // Sets the action up from its source entity and the target square;
    // false when the id names no entity or there is no target grid.
    bool init(int32_t sourceEntity, int32_t actionType, const GridSlot& targetSlot,
              EntityGrid* targetGrid);
    // init aimed at the target entity's own square and grid; false for none.
    bool initFromEntity(Entity* target, int32_t sourceEntity, int32_t actionType);

    // The record of that entity, made (capturing its state now) and appended
    // when there is none; null for a negative id.
    ActionResultInfo* getOrCreateResult(int32_t entityID);
    // The first record of that entity; null for a negative id or none.
    ActionResultInfo* findResult(int32_t entityID) const;
    // Removes and deletes one record.
    void discardResult(ActionResultInfo* result);
    // Fills the final half of every record from the live entities.
    void captureFinalStates();
    // Done, and so is every sub-action.
    bool isDone() const;
    // This action or, depth first, the first sub-action in that state.
    CandidateAction* findByPlaybackState(int32_t state);

    // Carries the action out on the model and fills its records.
    void execute();
    // Executes the sub-action (taking over the caller's reference): a failed
    // one is released, any other appended to mSubActions.
    void addSubAction(CandidateAction* subAction);
    // Turns the views (not the model) back to what the initial half of the
    // records shows, sub-actions first.
    void restoreInitialState();
    // A record's entity that arrived on a SendTrain square of the board
    // sends a train: a "TrainHazard" power cast at the square's linked
    // column, kept as a sub-action unless it failed.
    void triggerSlotHazard(ActionResultInfo* result, const GridSlot& newSlot);
    // Pushes the entities the last cast power touched one column away from
    // its target column, farthest column first.
    void resolveTrainPushes();

    // Playback: the views show what execution recorded, one step after the
    // other (CandidateAction_playback.cpp; Attack, Heal and CastPower in
    // CandidateAction_playHits.cpp). Never changes the model.
    // Starts this action's visuals, finishing an action of the game that
    // still plays first; nothing without a scene, a source or its grids.
    void processVisuals();
    // The visual step of the entity ended: true when this action (its
    // source's step ends it) or a sub-action took it; the next sub-action's
    // visuals start then.
    bool onEntityVisualDone(Entity* entity);
    // Ends the playback at once (done: Done, else Executed), for this action
    // and every sub-action.
    void finish(bool done);
    // Returns the records' views from the playback's passing looks: scale,
    // puppet upgrade level, destroyed gear.
    void resetResultVisuals();
    // Replaces the node the action's own timers run on.
    void setupVisualNode();
    // The hits of the attack being played: the time of the first hit, then
    // from each hit to the next. One list for the process; the entity hit
    // animation and the effects read it.
    static std::vector<float>& hitDelays();
    // The upgrade animation as a step of a sequence (level as data).
    void upgradeStep(cocos2d::CCNode* node, void* level);

    // Outcomes that playback chooses its visuals by (CandidateAction_outcomes.cpp).
    // Seconds from the start of the source's attack animation until its
    // effect lands.
    float getVisualDelay() const;
    // The source's attack plays AttackBig or AttackBigMelee.
    bool isBigAttackVariant() const;
    // The source raised a dead unit of its RaiseDead proto.
    bool raisedDead() const;
    // An executing attack finished off a target at low health.
    bool executedLowHealthTarget() const;
    // A cut-down attack hit another entity that was not at low health.
    bool cutDownHealthyTarget() const;
    // A corpse-exploding attack turned a knocked-out entity dead.
    bool explodedCorpse() const;

    // The saved-state archive (CandidateAction_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

    Game* mGame;
    bool mVisualsStarted = false;
    bool mFailed = false;
    int32_t mSourceEntity = -1;
    int32_t mActionType = -1;
    int32_t mSourceGrid = -1;
    int32_t mSourceOwner = -1;
    GridSlot mSourceSlot;
    int32_t mTargetGrid = -1;
    int32_t mTargetOwner = -1;
    GridSlot mTargetSlot;
    int32_t mTargetEntity = -1;
    int32_t mInitialState = -1;
    int32_t mTargetInitialState = -1;
    std::vector<ActionResultInfo*> mResults; // owned
    cocos2d::CCNode* mVisualNode = nullptr;  // retained
    float mInitialVictoryHealthFraction[2] = {-1.0f, -1.0f};
    float mFinalVictoryHealthFraction[2] = {-1.0f, -1.0f};
    int32_t mPlaybackState = cPlaybackConstructed;
    // [0] counts player 1's units on victory-damage squares, [1] player 0's.
    int32_t mInitialAssaultDebuff[2] = {-1, -1};
    int32_t mFinalAssaultDebuff[2] = {-1, -1};
    std::vector<GridSlot> mInitialFreeTeleporters;
    std::vector<GridSlot> mFinalFreeTeleporters;
    int32_t mLinkSourceEntity = -1;
    int32_t mLinkTargetEntity = -1;
    std::vector<CandidateAction*> mSubActions; // retained
    bool mIsSubAction = false;
    int32_t mActionPointCost;

private:
    // The model change of each kind of action (step 6 of execute).
    void executeDeploy(Entity& source, EntityGrid& targetGrid, int32_t scoreMultiplier);
    void executeMove(Entity& source, EntityGrid& targetGrid);
    void executeAttack(Entity& source, EntityGrid& targetGrid);
    void executeHeal(Entity& source, EntityGrid& targetGrid);
    void executeAllyAbility(Entity& source, EntityGrid& targetGrid);
    void executeSwap(Entity& source);
    void executeCastPower(Entity& power, EntityGrid& sourceGrid, EntityGrid& targetGrid,
                          int32_t scoreMultiplier);
    // The passes after the change: hazards, links, final states, ongoing
    // effects and end-of-turn buffs (outermost actions only).
    void finishOutermost();
    // The action-wide values before or after execution: victory health,
    // assault debuffs and free Teleporter squares.
    void captureGameValues(bool initial);
    // Kills whatever lies on the target square before an arrival there.
    void clearTargetSquare(const Entity& source, EntityGrid& targetGrid);
    // Playback of each kind of action.
    void playDeploy(Entity& source);
    void playMove(Entity& source);
    void playAttack(Entity& source);
    void playHeal(Entity& source);
    void playEquip(Entity& source);
    void playCastPower(Entity& power);
    void playAllyAbility(Entity& source);
    void playSwap(Entity& tile);
    // Shows nothing and reports the source's step itself.
    void finishUnplayed(Entity& source);
    // The stomp sound as a step of a sequence.
    void stompSoundStep(cocos2d::CCNode* node);
    // Reports the entity's step after the delay, on the action's own node.
    void reportStepAfter(Entity& entity, float delay);
    // Tells the running puzzle script that this action was performed.
    void reportPerformed();
    // The crystal-debuff display of both players set to the final levels.
    void showFinalDebuffs(float delay);
    // The rewind of one record's entity view (linked again when it has none).
    void restoreRecordView(Entity& entity, const ActionResultInfo& result,
                           const ProtoEntity* sourceProto, EntityGrid* sourceGrid);
};
