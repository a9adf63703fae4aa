#pragma once

// The board scene's view of one Entity: the main node that stands for the
// tile (a team-coloured puppet, a cell of a sprite sheet or a plain sprite,
// mirrored for the second team) with what hangs on it: health bar, target
// marker, the twenty aura overlays, a victory unit's two debuff puppets,
// equipped items, the two beams of an ongoing link, and its tooltip.
//
// The scene services make one per link of an entity; attach builds it
// (EntityView.cpp) and every relink replaces the whole object. The
// operations that change it later are in EntityView_states.cpp (state,
// marker, auras, health, charge, debuff level) and EntityView_items.cpp
// (equipment and link beams). Main thread only.

#include "rules/CocosEntityLink.h"
#include "rules/TooltipProtocol.h"

#include "platform/engine/CCTouchDelegate.h"

#include <array>
#include <cstdint>
#include <vector>

namespace cocos2d {
class CCActionInterval;
class CCAnimation;
class CCFiniteTimeAction;
class CCSprite;
} // namespace cocos2d

class AtlasInfo;
class EntityGrid;
class GameScene;
class HealingBeamSprite;
class HealthBar;
class PuppetInstance;

class EntityView : public CocosEntityLink,
                   public TooltipProtocol,
                   public cocos2d::CCTargetedTouchDelegate {
public:
    static constexpr int32_t cAuraCount = 20;
    static constexpr int32_t cStateCount = 52;
    static constexpr float cHealthBarHeight = 38.0f;
    static constexpr float cTargetMarkerHeight = 10.0f;
    static constexpr int cOverlayZOrder = 1000;
    static constexpr int cEquipmentZOrder = 2000;

    explicit EntityView(Entity* owner);
    ~EntityView() override;

    // CocosLink: builds the view; false (nothing kept) without an owner, for
    // an online game that has no record of the owner, or when the puppet
    // cannot be made. A missing proto builds nothing and succeeds.
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;
    // The main node's position once it exists, else the stored one.
    cocos2d::CCPoint getPosition() const override;

    // The aura overlays of the settings' list, built hidden on the main node.
    virtual void createAuraOverlays();

    // CocosEntityLink: states and overlays (EntityView_states.cpp).
    cocos2d::CCNode* getMainNode() const override { return mNode; }
    bool hitTestPuppet(const cocos2d::CCPoint& point) const override;
    bool isDualWielding() const override { return mDualWield != 0; }
    void applyState(int32_t state) override;
    void setTargetMarker(int32_t kind) override;
    cocos2d::CCNode* getTargetMarkerNode() const override;
    void setAllyAbilityMarker(bool show) override;
    void showAura(int32_t aura, bool animate, float delay, bool loop) override;
    void hideAura(int32_t aura, bool animate, float delay) override;
    void setAuraSelected(int32_t aura, bool selected, float delay) override;
    void playAuraAbility(int32_t aura, float delay) override;
    void applyPremiumTileAura(const ActionResultInfo* result, float delay) override;
    void updatePremiumTileAura(const GridSlot& square, bool show, float delay,
                               bool animate) override;
    void updateHealthBar(float delay) override;
    void showHealthBar(float duration) override;
    void hideHealthBar(float duration) override;
    void setHealthBarPercentage(float percent, bool animate, float delay) override;
    void setHealthCategory(float fraction) override;
    void setTeamColorVisible(bool visible) override;
    void setCharge(int32_t charge) override;
    void setCrystalDebuffLevel(int32_t level, bool animate, float delay) override;
    void showPuppetUpgradeLevel(int32_t level, int32_t idleState, float blendTime) override;

    // Equipment and link beams (EntityView_items.cpp).
    void applyEquipment(const ProtoEntity* item, bool animate) override;
    void removeEquipment(const ProtoEntity* item) override;
    void attachEquipmentSprite(int32_t itemId, bool animate) override;
    void hideEquipmentSprites() override;
    void hideEquipmentSprite(int32_t itemId);
    void rebuildEquipmentDisplay() override;
    void showLink(Entity* target, bool animate) override;
    // The target is not needed: the view has at most one link.
    void hideLink(Entity* target, bool animate) override;

    // Tooltip anchors: the node's position, 15 to the right unless the
    // entity is a victory unit; the indicator sits on the node itself.
    cocos2d::CCPoint getTooltipPosition() const override;
    cocos2d::CCPoint getTooltipIndicatorPosition() const override;
    void showTooltipIndicator() override { TooltipProtocol::showTooltipIndicator(); }
    void hideTooltipIndicator() override { TooltipProtocol::hideTooltipIndicator(); }
    // The help panel (EntityView_tooltip.cpp): nothing without an entity or
    // a proto.
    void buildTooltip(cocos2d::CCNode* background) override;

    // The entity this view shows; null once forgotten.
    Entity* entity() const;
    // The main node as a puppet; null for a sprite or before attach.
    PuppetInstance* puppet() const;

    // The view's parts, for the scene and the tests.
    HealthBar* getHealthBar() const { return mHealthBar; }
    PuppetInstance* getAura(int32_t index) const;
    bool isAuraShown(int32_t index) const;
    PuppetInstance* getCrystalDebuffFront() const { return mCrystalDebuffFront; }
    PuppetInstance* getCrystalDebuffBack() const { return mCrystalDebuffBack; }
    int32_t getCrystalDebuffLevel() const { return mCrystalDebuffLevel; }
    cocos2d::CCAnimation* getAnimation(int32_t state) const;
    HealingBeamSprite* getLinkBeam() const { return mLinkBeam; }
    HealingBeamSprite* getLinkBeam2() const { return mLinkBeam2; }

    // The animation driver (EntityView_animation.cpp): a state from the own
    // square toward another after a delay, standing on end when given (else
    // (-1, -1)); moves, places, attacks and abilities end by reporting the
    // entity's visual step to its game, a taunt by the game's taunt-finished
    // step. Nothing without a grid or a main node.
    void playAnimation(int32_t state, const GridSlot& own, const GridSlot& toward, float delay,
                       const GridSlot& end);
    // The same from the entity's own square, with no end square.
    void playAnimationInPlace(int32_t state, const GridSlot& toward, float delay);
    // A defender's reaction to every hit of the playing attack: a flinch
    // after each earlier hit delay, the reaction after the last (an empty
    // list counts as one delay of 0). Needs a grid, a node and a puppet.
    void playHitAnimation(int32_t state, const GridSlot& own, const GridSlot& toward);
    // Stops every action of the main node and sets its rotation to 0.
    void stopNodeActions();
    // An eased (in and out, rate 2) move to a scene point; autoreleased.
    static cocos2d::CCActionInterval* makeEasedMove(float duration, const cocos2d::CCPoint& point);

    // Dragging (EntityView_drag.cpp): the game hands the touches of the
    // entity it picked to the view. A pick-up lifts the tile (scale or the
    // puppet's Select or IdleActive), highlights its squares and plays its
    // sound; a rack tile follows the finger from its first move; the end
    // drops it on the square under the finger.
    cocos2d::CCTargetedTouchDelegate* getTouchDelegate() override { return this; }
    bool ccTouchBegan(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchMoved(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchEnded(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    void ccTouchCancelled(cocos2d::CCTouch* touch, cocos2d::CCEvent* event) override;
    // Drops the entity at a view point; true when the drop became an
    // accepted action.
    bool releaseDrag(const cocos2d::CCPoint& viewPoint);
    // The square of the grid a drop at the view point aims at: off the
    // middle 40 % of a square, the nearest other entity under the point
    // takes it (not for powers); negative when off the grid.
    GridSlot findDropSlot(const cocos2d::CCPoint& viewPoint, EntityGrid& grid) const;
    bool isDragging() const { return mDragFollows; }

    // Cuts the sheet into frames (registered as file + "_frame_" + i), gives
    // every animation state one cell (wrapping) and makes the main node from
    // the first; the second team's sheet has its first "Blue" as "Red".
    void buildSpriteSheetAnimations(const AtlasInfo& atlas, bool secondTeam);

private:
    // attach's parts.
    bool ownerIsKnown(const Entity& entity) const;
    bool buildPuppet(Entity& entity, ProtoEntity& proto, bool secondTeam);
    void buildSprite(const ProtoEntity& proto, bool secondTeam);
    void buildUnitParts(Entity& entity, ProtoEntity& proto, bool secondTeam);
    void buildCrystalDebuffPuppets();
    void registerTooltip(const Entity& entity, const ProtoEntity& proto);
    // Whether the entity's proto has a puppet that loaded.
    bool hasLoadedPuppet() const;
    // A node's place at (anchor x of the main node, y).
    cocos2d::CCPoint overAnchor(float y) const;
    // The driver's parts (EntityView_animation.cpp).
    bool puppetDefines(int32_t state) const;
    cocos2d::CCPoint pointOf(const GridSlot& square) const;
    // The state once from its start, then the idle variant with the final
    // health; null for a sprite view.
    cocos2d::CCFiniteTimeAction* onceThenIdle(int32_t state) const;
    // CCAnimate of the sheet animation of the state, or a CCDelayTime of the
    // same duration when the view has none.
    cocos2d::CCFiniteTimeAction* animateOrWait(float duration, int32_t state) const;
    // The Damaged row's movement toward a point, after the playing action.
    cocos2d::CCFiniteTimeAction* damagedMove(const GridSlot& own, const GridSlot& toward) const;
    // The Damaged row's reaction: movement, the state once, the health category.
    cocos2d::CCFiniteTimeAction* damagedReaction(int32_t state, const GridSlot& own,
                                                 const GridSlot& toward) const;
    // Death's fade with the instant Death animation.
    cocos2d::CCFiniteTimeAction* deathFade() const;
    // What follows a death: the bar, the equipment and every aura hide.
    void hideForDeath(float delay);
    // The game's step report (or taunt end) as an action; null without a game.
    cocos2d::CCFiniteTimeAction* reportTo(bool taunt) const;
    void playIdle(int32_t state, const GridSlot& toward, float delay);
    void playPlace(int32_t state, const GridSlot& own, cocos2d::CCFiniteTimeAction* leadIn);
    void playMove(int32_t squares, const GridSlot& own, const GridSlot& toward,
                  cocos2d::CCFiniteTimeAction* leadIn);
    void playAttack(int32_t state, int32_t squares, const GridSlot& own, const GridSlot& toward,
                    const GridSlot& end, cocos2d::CCFiniteTimeAction* leadIn);
    void playKnockedOut(int32_t state, const GridSlot& toward, float delay);
    void playAbility(int32_t state, const GridSlot& own, const GridSlot& toward,
                     cocos2d::CCFiniteTimeAction* leadIn);
    void playRevived(float delay);

    // The release and cancel's common part: highlights, chest, flags.
    void endHold();
    // The puppet back to its idle variant.
    void settleIdle();

    // The drag tooltip of the scene, closed when it belongs to this view.
    void forgetDragTooltip(GameScene& scene) const;

    cocos2d::CCNode* mNode = nullptr;                 // retained once built
    cocos2d::CCSprite* mTargetMarker = nullptr;       // retained
    HealingBeamSprite* mLinkBeam = nullptr;           // retained while shown
    HealingBeamSprite* mLinkBeam2 = nullptr;          // retained while shown
    std::array<PuppetInstance*, cAuraCount> mAuras{}; // retained
    std::array<uint8_t, cAuraCount> mAuraShown{};
    PuppetInstance* mCrystalDebuffFront = nullptr; // retained
    PuppetInstance* mCrystalDebuffBack = nullptr;  // retained
    int32_t mCrystalDebuffLevel = -1;
    HealthBar* mHealthBar = nullptr;                              // owned; units only
    std::array<cocos2d::CCAnimation*, cStateCount> mAnimations{}; // retained; sheets only
    uint8_t mDualWield = 0;
    // Set on the first move of a tile lifted from the rack: it then follows.
    bool mDragFollows = false;
    // The ongoing target whose beams are shown; -1 none.
    int32_t mLinkTarget = -1;
    // The replacement categories the equipped items added.
    std::vector<int32_t> mEquipCategories;
};
