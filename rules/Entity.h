#pragma once

// One piece of a match: a unit, gear, buff, power, projectile or effect, of
// the kind its ProtoEntity names. The Game creates every entity and keeps it
// in its table, whose index is the entity's id; entities are never deleted
// during a match. An entity lives in one grid at a time (mGrid, mSlot) and
// owns its 20 x 1 equipment grid.
//
// A state change of an entity with a view goes through changeState, so the
// game offers touches only to entities that can be dragged. Touches reach
// the entity's view, which handles them. Parts: Entity.cpp (life cycle,
// state, views, sounds), Entity_queries.cpp (the small queries the rules ask).

#include "rules/CocosLink.h"
#include "rules/GridSlot.h"
#include "rules/core/EntityState.h"

#include "platform/engine/CCObject.h"
#include "platform/engine/CCTouchDelegate.h"
#include "platform/engine/ccTypes.h"

#include <cstdint>
#include <string>

namespace cocos2d {
class CCNode;
}

class CocosEntityLink;
class EntityGrid;
class Game;
class Player;
class ProtoEntity;

class Entity : public cocos2d::CCObject,
               public cocos2d::CCTargetedTouchDelegate,
               public CocosLinkageDelegate {
public:
    static constexpr int32_t cInventoryWidth = 20;
    // distanceTo of entities that share no grid.
    static constexpr int32_t cFarAway = 10000000;

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
    // The proto's "Hitpoints" plus the bonus.
    int32_t getMaxHealth() const;
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

    // Equipment queries.
    // An item of that proto is in the equipment grid, Equipped.
    bool hasEquippedProto(int32_t protoId) const;
    // The Equipped "bloodrageBuff" item; null when none.
    Entity* getBloodrageBuffItem() const;
    bool hasBloodrageBuff() const;

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
    // The view's main node; null without one.
    cocos2d::CCNode* viewNode() const;
    // The view's touch delegate; null without one.
    cocos2d::CCTargetedTouchDelegate* viewTouchDelegate() const;
};
