#pragma once

// One piece of a match: a unit, gear, buff, power, projectile or effect, of
// the kind its ProtoEntity names. The Game creates every entity and keeps it
// in its table, whose index is the entity's id; entities are never deleted
// during a match. An entity lives in one grid at a time (mGrid, mSlot) and
// owns its 20 x 1 equipment grid.
//
// A state change of an entity with a view goes through changeState, so the
// game offers touches only to entities that can be dragged. Touches reach
// the entity's view, which handles them. Files: Entity.cpp (life cycle,
// state, views, sounds), Entity_queries.cpp (the small queries the rules ask),
// Entity_targeting.cpp (where the entity may go, what it may equip),
// Entity_health.cpp (health in steps of 5, knock-out, revival),
// Entity_damage.cpp (the damage intake), Entity_kill.cpp (death),
// Entity_attack.cpp and Entity_attackTargets.cpp (attacks), Entity_heal.cpp
// (heals and ally abilities), Entity_equipment.cpp and Entity_equip.cpp
// (gear and buffs), Entity_stats.cpp (the stat getters), Entity_moves.cpp
// (moving and placing), Entity_ongoing.cpp (ongoing links).

#include "rules/CocosLink.h"
#include "rules/GridSlot.h"
#include "rules/core/EntityState.h"

#include "platform/engine/CCObject.h"
#include "platform/engine/CCTouchDelegate.h"
#include "platform/engine/ccTypes.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace cocos2d {
class CCNode;
class CCFiniteTimeAction;
} // namespace cocos2d

class ActionResultInfo;
class CandidateAction;
class CocosEntityLink;
class EntityGrid;
class GameBoard;
class Game;
class Player;
class ProtoAttackInfo;
class ProtoEntity;

class Entity : public cocos2d::CCObject,
               public cocos2d::CCTargetedTouchDelegate,
               public CocosLinkageDelegate {
public:
    static constexpr int32_t cInventoryWidth = 20;
    // distanceTo of entities that share no grid.
    static constexpr int32_t cFarAway = 10000000;

    // The state of a data-file name, letter case aside; -1 for none.
    static int32_t stateFromName(std::string_view name) { return entityStateFromName(name); }

    explicit Entity(Game* game);
    // Frees the equipment grid and the view, stops the entity's sounds.
    ~Entity() override;

    // Gives the entity its id, proto and owner, fresh health, charge and
    // shields, and an empty equipment grid; false (nothing changed) when the
    // proto id names no proto.
    bool init(int32_t id, int32_t protoId, int32_t owner);
    // Turns the entity into another proto (init again), keeping its view's place.
    void setProto(int32_t protoId);
    // Sets the state; with a view, the game's touch targets follow whether
    // the entity can now be dragged.
    void changeState(EntityState state);

    // Touches go to the view's touch delegate.
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;

    // The view is a CocosEntityLink made by the scene services.
    void createLink() override;
    // Re-orders the main node among its siblings.
    void setViewZOrder(int zOrder) override;
    // Takes the z-order of its square.
    void refreshView() override;

    // Queries.
    ProtoEntity* getProto() const;
    Player* getOwner() const;
    bool isAlive() const;
    bool isVictoryUnit() const;
    // Whether the player may pick the entity up now.
    bool canBeDragged() const;
    float getHealthFraction() const;
    // At most 0.5 of health, or 0.25 for a victory unit; a negative fraction
    // means the entity's own.
    bool isLowHealth(float fraction) const;
    // Squares to another entity on the same grid; cFarAway otherwise.
    int32_t distanceTo(int32_t otherId, bool manhattan) const;
    cocos2d::ccColor3B getTeamColor() const;
    // The view's main node when the proto has a puppet; null otherwise.
    cocos2d::CCNode* getPuppet() const;
    CocosEntityLink* getEntityLink() const;
    // Whether a GL point touches the entity's view.
    bool containsPoint(const cocos2d::CCPoint& point) const;
    // Attacks by this entity in an unbroken run right before the action now
    // being performed.
    int32_t countRepeatedAttacks() const;
    // Plays a sound, panned by the view's place when it has one.
    void playEffectSound(const std::string& name);
    // Switches to the civ's variant of the entity's class, if any.
    void applyCivVariant(int32_t civId);
    // Shows a target marker kind (or CocosEntityLink::cHideTargetMarker) on
    // the view, when there is one.
    void setTargetMarker(int32_t kind);

    // Targeting.
    // Whether the entity, on the board, may move to that square.
    bool canMoveTo(const GridSlot& square) const;
    // A knocked-out entity whose proto allows stomping.
    bool isStompable(int32_t id) const;
    // Whether this item may be equipped on the target unit.
    bool canEquip(const Entity* target) const;
    // Whether this tile may be deployed on that board square.
    bool canDeployAt(const GridSlot& square) const;
    // Whether this power may be cast on that board square.
    bool canCastPowerAt(const GridSlot& square) const;
    // The ActionType of dropping the entity on that square of targetGrid,
    // with its action-point cost in outCost and the square in outSlot; -1
    // when the drop is refused (Entity_drop.cpp).
    int32_t classifyDrop(EntityGrid* targetGrid, const GridSlot& slot, int32_t& outCost,
                         GridSlot& outSlot);
    // Performs the drop on that square of targetGrid: a drop the player
    // cannot afford becomes a Return (the tile flies back), a Place moves the
    // tile within its rack, any other kind becomes a CandidateAction that the
    // game performs, and its cost is spent (outAccepted set). False when the
    // drop is refused; a refused tile flies back too (Entity_drop.cpp).
    bool dropAt(EntityGrid* targetGrid, const GridSlot& slot, bool& outAccepted);
    // dropAt's second half: performs a drop already classified as kind (an
    // ActionType, -1 refused) with its cost and target square.
    bool performDrop(EntityGrid* targetGrid, const GridSlot& slot, int32_t kind, int32_t cost,
                     const GridSlot& target, bool& outAccepted);
    // Flies the view back to the entity's own square: the swish where it
    // starts, the landing sound where it lands.
    void returnToRackSlot();
    // With outBlocked, reports a shot stopped by a blocker or interceptor.
    bool canAttack(int32_t targetId, bool* outBlocked = nullptr) const;
    // A charge along the row to the target beyond range; a living entity
    // on the square before the target stops it (its id in outBlocker).
    bool canIntercept(int32_t targetId, int32_t& outBlocker) const;
    // A target beyond range but within spotting reach that carries the
    // spotting buff.
    bool canSpotTarget(int32_t targetId) const;
    // The first enemy between this entity and the target square that takes
    // the shot, in outBlocker; false when none.
    bool findBlocker(const GridSlot& targetSlot, Entity*& outBlocker) const;
    bool canHeal(int32_t targetId, bool checkRange, bool checkChain) const;
    // Appends the chain from current on (current first) to chain, with up
    // to jumpsLeft jumps; heal chains within this entity's side, damage
    // chains within the other. The chain's length.
    int32_t collectChain(std::vector<int32_t>& chain, const Entity* current,
                         int32_t jumpsLeft) const;
    bool canUseAllyAbility(int32_t targetId) const;
    // The attack marker of a target: 4 beyond range (intercept or
    // spotting), 1 when a special bonus applies, else 0.
    int32_t getAttackHighlightKind(const Entity* target) const;

    // Health.
    // Adds a change brought to a multiple of 5, capped at the max health and
    // at 0; knocks out at 0. The change actually applied.
    int32_t addHealth(int32_t change);
    // Sets health (brought to a multiple of 5, never below 0); refuses a
    // value above the max health or equal to the present health. Knocks out
    // at 0.
    bool setHealth(int32_t value);
    // Strips the items tied to this unit, empties its charge, KnockedOut.
    void knockOut();
    // Gives a knocked-out entity truncate(amount x multiplier) health, back
    // on the board when that raised it; the health gained.
    int32_t revive(int32_t amount, float multiplier);
    // The damage intake: amount mitigated by defense or resist, plus the
    // unmitigated part, through shields and buffs; the health actually lost.
    int32_t takeDamage(int32_t amount, int32_t damageType, int32_t unmitigated);
    // Takes the entity off its grid for good (Dead), recording in the
    // executing action when byAction; the killer (-1 none) matters for
    // bloodrage and action points.
    void kill(bool byAction, int32_t killerId);

    // Attacking (Entity_attack.cpp, Entity_attackTargets.cpp).
    // Resolves an attack on the target (-1 none, for a whirlwind) as part
    // of the action, recording every change in its results.
    void attack(int32_t targetId, CandidateAction* action);
    // The ids an attack on the target hits, in out; their count.
    int32_t collectAttackTargets(int32_t targetId, std::vector<int32_t>& out,
                                 CandidateAction* action) const;
    // The splash falloff of a hit square from the impact square.
    float getAoeFactor(const GridSlot& impact, const GridSlot& square) const;
    // Moves beside the target along the row, clearing a corpse from that
    // square first.
    void chargeToTarget(int32_t targetId, CandidateAction* action);
    // Pushes (or pulls) a hit target away from this attacker, or from the
    // centre for radial knockback; a non-zero direction is used as given.
    void applyKnockback(Entity* target, const Entity* centre, const GridSlot& direction,
                        bool suppress);
    // Pulls every enemy within the magnet range toward the attacker.
    void pullInMagnetTargets();

    // Healing and ally abilities (Entity_heal.cpp).
    // Heals (or revives) the target, an area or a chain of allies.
    void heal(int32_t targetId, CandidateAction* action);
    // Spends charge on an ally: attaches an item, swaps squares; false at
    // the first step that fails.
    bool useAllyAbility(int32_t targetId, CandidateAction* action);

    // Equipment.
    // Moves an item into the equipment grid and applies its effects,
    // recording in the action (may be null); false when the item was refused.
    bool equip(int32_t itemId, CandidateAction* action);
    // Takes an item out of the equipment grid into its owner's graveyard.
    bool removeEquippedItem(int32_t itemId);
    // Removes the first item of that proto and creator (-1 any), only one
    // whose buff dies with its caster when asked.
    bool removeEquippedItemMatching(int32_t protoId, int32_t creatorId, bool onlyDiesWithCaster);
    // Removes every item.
    bool resetEquipment();
    // Removes the first buff that ends with this turn of player.
    bool consumeEndOfTurnBuff(int32_t player);
    // Remove the buffs spent by an action (with used power, those spent by
    // power too) or by a move.
    void consumeActionBuffs(bool usedPower);
    void consumeMoveBuffs();
    // An Equipped item of that proto is carried.
    bool hasEquippedProto(int32_t protoId) const;
    // A buff item carries an effect of that type.
    bool carriesBuffEffect(int32_t effectType) const;
    // An item of that proto would fit beside the items carried (no clash of
    // proto or gear class without "ReplaceEquip" or "MultiEquip").
    bool hasEquipRoomFor(int32_t protoId) const;
    // The proto of the first item of that class; -1 when none.
    int32_t findEquippedByClass(const std::string& className) const;
    // The proto of the first gear with an equip category; -1 when none.
    int32_t getFirstGearProto() const;
    Entity* getBloodrageBuffItem() const;
    bool hasBloodrageBuff() const;

    // Stats.
    int32_t getPower(const Entity* target) const;
    // Fractions, at most 1.0; negative ones increase damage.
    float getDefense() const;
    float getResist() const;
    int32_t getRange() const;
    int32_t getMovement() const;
    int32_t getMaxHealth() const;
    int32_t getShields() const;
    float getRoleBonus() const;
    float getTeamBonus() const;
    float getSpikes() const;
    float getSplashReduction() const;
    // Applies the stat effects of the auras of allies near this entity.
    void applyAuraEffects(int32_t stat, int32_t& value) const;

    // Moving and placing.
    // Moves on its own grid, recording the move and consuming move buffs.
    bool moveTo(const GridSlot& square, CandidateAction* action);
    // Places on a grid; a respawning knocked-out unit starts afresh.
    bool placeOnGrid(EntityGrid* grid, const GridSlot& square);

    // Ongoing links.
    bool startOngoingAttack(int32_t targetId, CandidateAction* action);
    void startOngoingHeal(int32_t targetId, CandidateAction* action);
    // Breaks the link (items' links first) when its rules say so.
    void updateOngoingLink(CandidateAction* action);
    void breakOngoingLink(CandidateAction* action);
    // The items' ongoing effects, then the entity's own, as sub-actions of
    // the action: an auto-attached item when the turn's last point is
    // spent, an attack or heal on the linked target.
    void applyOngoingEffects(CandidateAction* action);

    // Animation (Entity_animation.cpp).
    // The registry index of the proto's puppet, loading it on first use
    // (kept in the proto); -1 when the proto names none or it cannot load.
    int32_t getPuppetHandle() const;
    // This entity's record in the action whose views are being set to its
    // final state, else in the one playing; null.
    ActionResultInfo* getPlayingActionResult() const;
    // The state to play for a request: the variant chosen with the playing
    // action's record, or the request itself without a puppet.
    int32_t resolveAnimationState(int32_t state, bool useFinalHealth) const;
    // The variant of a requested state: sleep and rack idles, weak or full
    // idles, big and upgraded attacks, the Damaged fallback, and random
    // taunts and defeats drawn from gRng. The request itself without a puppet.
    int32_t chooseAnimationVariant(int32_t state, const ActionResultInfo* result,
                                   bool useFinalHealth) const;
    // The view's animation driver (the scene services' lines): a state from
    // the own square toward another after a delay, ending on end (none:
    // (-1, -1)); the same from the entity's square; a defender's reaction
    // to every hit of the action.
    void playAnimation(int32_t state, const GridSlot& own, const GridSlot& toward, float delay,
                       const GridSlot& end = GridSlot());
    void playAnimationInPlace(int32_t state, const GridSlot& toward, float delay);
    void playHitAnimation(int32_t state, const GridSlot& own, const GridSlot& toward);
    // The instant turns of the view toward a square and back: face scales x
    // to -1 when the toward column lies behind the way the view looks (left,
    // or right for a mirrored view), else 1; back to 1. Both are
    // autoreleased; true.
    bool makeFacingActions(const GridSlot& own, const GridSlot& toward,
                           cocos2d::CCFiniteTimeAction** outFace,
                           cocos2d::CCFiniteTimeAction** outBack) const;

    // The saved-state archive (Entity_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

    Game* mGame;
    int32_t mId = -1;
    int32_t mProtoId = -1;
    int32_t mOwner = 0;
    int32_t mState = -1;
    bool mDragging = false;
    int32_t mHealth = 0;
    int32_t mShields = 0;
    int32_t mKnockedOutTurns = 0;
    EntityGrid* mGrid = nullptr;
    GridSlot mSlot;
    EntityGrid* mInventory = nullptr; // owned
    int32_t mCharge = 0;
    int32_t mCreatorEntityID = -1;
    // The turn in which the entity last changed grids; only saved.
    int32_t mLastGridChangeTurn = -1;
    int32_t mMaxHealthBonus = 0;
    int32_t mPuppetUpgradeLevel = 0;
    float mSavedHealthFraction = -1.0f;
    int32_t mOngoingTargetEntityID = -1;
    int32_t mLoopSoundId = -1;
    int32_t mPonderLoopPlaying = 0;

private:
    // The game's board; null without one.
    GameBoard* board() const;
    // Whether the entity stands on the game board.
    bool isOnBoard() const;
    // The entities of the equipment grid, in grid order.
    std::vector<Entity*> items() const;
    // Adds the board's premium bonus of that type under the entity.
    void applyPremiumBonus(int32_t type, int32_t& value) const;
    // The running value through each item's effects of that stat, truncated
    // after each item.
    int32_t applyItemEffects(int32_t stat, int32_t value) const;
    // Defense or resist: the proto's percent through items, auras and the
    // premium square of that type, as a fraction.
    float mitigationFraction(int32_t stat, int32_t premiumType) const;
    // Creates an item of that proto for owner with that creator and has
    // target equip it; false when the proto names none or the target refuses
    // the item, which then does not stay in the game.
    bool giveItem(int32_t protoId, int32_t owner, int32_t creatorId, Entity* target,
                  CandidateAction* action) const;
    // The record of this entity in the action; null without one.
    ActionResultInfo* resultIn(CandidateAction* action) const;
    struct AttackTally;
    // The square an attack's splash is centred on.
    GridSlot impactSquare(const Entity* target) const;
    // Kills a knocked-out target, raising a dead unit of this attacker's on
    // its square when the proto says so.
    void stompCorpse(Entity& corpse, CandidateAction* action, AttackTally& tally);
    // Marks a target with a spotting buff; the marks this attacker made in
    // earlier attacks go first, once.
    void markSpotted(Entity& target, CandidateAction* action, bool markedBefore);
    // Attaches the attack's debuff to the primary target.
    void attachDebuff(Entity& target, int32_t protoId, CandidateAction* action);
    // Banner texts and the score for damage dealt.
    void scoreDamage(int32_t scoreMultiplier, ActionResultInfo& own);
    // Leech, soul leech and reflected spikes.
    void healFromAttack(const ProtoAttackInfo& info, const AttackTally& tally,
                        ActionResultInfo& own);
    void reportAttackAchievements(const Entity* target, int32_t distance,
                                  const AttackTally& tally) const;
    // Gives a patient the healer's heal item.
    void attachHealItem(Entity& patient, CandidateAction* action);
    // Hands a hit to a redirect buff's caster; what is left for this entity
    // (0, or all of it when the caster is missing, dead or already taking
    // this hit).
    int32_t redirectDamage(int32_t casterId, int32_t amount, int32_t damageType);
    // Gives the living bloodrage units of this (killed) entity's side a
    // bloodrage buff.
    void enrageAllies(CandidateAction* action);
    // Equips the items a linked buff attaches to this unit and its ongoing target.
    void attachToLinkedUnits(const Entity* buff, CandidateAction* action);
    // Removes the buffs whose consume type is listed.
    void consumeBuffs(std::initializer_list<int32_t> consumeTypes);
    // The view's main node; null without one.
    cocos2d::CCNode* viewNode() const;
    // The view's touch delegate; null without one.
    cocos2d::CCTargetedTouchDelegate* viewTouchDelegate() const;
};
