#pragma once

// The view of one Entity as the rules see it. The board scene implements it
// (its main node is a puppet or a sprite, with the team colour, health bar,
// target marker, aura overlays, equipment display, charge layer and link
// beams) and makes one per entity through SceneServices::createEntityLink.
// Every operation here does nothing, so a partial view (or a test's
// recording fake) overrides only what it shows.

#include "rules/CocosLink.h"
#include "rules/GridSlot.h"

#include <cstdint>

namespace cocos2d {
class CCNode;
class CCTargetedTouchDelegate;
} // namespace cocos2d

class ActionResultInfo;
class Entity;
class ProtoEntity;

class CocosEntityLink : public CocosLink {
public:
    explicit CocosEntityLink(Entity* owner);

    // The main node (puppet or sprite); null when the view has none.
    virtual cocos2d::CCNode* getMainNode() const;
    // The delegate the entity hands its touches to; null when none.
    virtual cocos2d::CCTargetedTouchDelegate* getTouchDelegate();
    // The puppet's own hit test of a GL point; false here.
    virtual bool hitTestPuppet(const cocos2d::CCPoint& point) const;

    // Equipment: an item put on (with its equip animation when animate) or
    // taken off (upgrade animation, layer, aura).
    virtual void applyEquipment(const ProtoEntity* item, bool animate);
    virtual void removeEquipment(const ProtoEntity* item);
    // An equipped item's sprite on the unit, and hiding all of them.
    virtual void attachEquipmentSprite(int32_t itemId, bool fadeIn);
    virtual void hideEquipmentSprites();

    // The premium-square aura after an action (where the entity was, where it
    // ends), and the aura of one board square shown or hidden after a delay.
    virtual void applyPremiumTileAura(const ActionResultInfo* result, float delay);
    virtual void updatePremiumTileAura(const GridSlot& square, bool show, float delay,
                                       bool animate);
    // Shows an entity state (knocked-out aura and idle, death pose, ...).
    virtual void applyState(int32_t state);

    // Aura overlays 0..19.
    virtual void showAura(int32_t aura, bool animate, float delay, bool flag);
    virtual void hideAura(int32_t aura, bool animate, float delay);
    virtual void playAuraAbility(int32_t aura, float delay);
    // "Select" (or back to "Idle") on a shown overlay after a delay.
    virtual void setAuraSelected(int32_t aura, bool selected, float delay);

    virtual void setCharge(int32_t charge);
    // The dual-wield mark: an item that can be dual-wielded is equipped on a
    // unit that can dual-wield it (attacks play AttackUpgrade); false here.
    virtual bool isDualWielding() const;
    virtual void setCrystalDebuffLevel(int32_t level, bool animate, float delay);
    // Marker kind 0..4 under the unit; cHideTargetMarker hides it.
    static constexpr int32_t cHideTargetMarker = -1;
    virtual void setTargetMarker(int32_t kind);
    // The marker's node, which the board's reach and heal markers animate;
    // null when the view has none.
    virtual cocos2d::CCNode* getTargetMarkerNode() const;
    // Shows or hides the marker of an ally-ability target.
    virtual void setAllyAbilityMarker(bool show);
    // The ongoing-link beams to a target.
    virtual void showLink(Entity* target, bool animated);
    virtual void hideLink(Entity* target, bool animated);
    // Health bar to health / max health, scaled by the max health.
    virtual void updateHealthBar(float delay);
    // Fades the health bar in, or out and hides it, over that time.
    virtual void showHealthBar(float duration);
    virtual void hideHealthBar(float duration);

    // The health bar at a percentage (0..100), and the puppet's health
    // look for a health fraction.
    virtual void setHealthBarPercentage(float percent, bool animate, float delay);
    virtual void setHealthCategory(float fraction);
    // Shows or hides the team-colour layer.
    virtual void setTeamColorVisible(bool visible);
    // Plays an idle animation state blended over blendTime and shows the
    // puppet at that upgrade level.
    virtual void showPuppetUpgradeLevel(int32_t level, int32_t idleState, float blendTime);
    // Rebuilds the equipment display from the items the unit carries.
    virtual void rebuildEquipmentDisplay();

    // The aura shown on a unit standing on a premium square of that type;
    // -1 for a type that shows none.
    static int32_t premiumSquareAura(int32_t premiumType);

    // The tooltip indicator beside the unit.
    virtual void showTooltipIndicator();
    virtual void hideTooltipIndicator();
};
