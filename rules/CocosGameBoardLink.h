#pragma once

// The view of the GameBoard: the grid view with the board's cell measures
// and the layout's grid offset, the board art, one highlight overlay per
// slot, the premium squares' overlays (tooltip targets), puppets and
// teleporter effects, the deploy-zone markers and, with the setting
// "restrictedTargeting", four ranged-attack arrows. The board asks it for
// slot highlights, range arrows and teleporter effects while a tile is
// dragged. With no game scene it builds no node and those requests do
// nothing.

#include "rules/CocosEntityGridLink.h"
#include "rules/GridSlot.h"

#include "platform/engine/ccTypes.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <vector>

namespace cocos2d {
class CCSprite;
}

class Entity;
class GameBoard;
class PuppetInstance;
class SlotOverlaySprite;

class CocosGameBoardLink : public CocosEntityGridLink {
public:
    // Cells of 52.222 x 50, the back row narrowed by the setting
    // "boardMaxDistanceWidthScale".
    explicit CocosGameBoardLink(GameBoard* owner);
    // Removes every node of the view from the scene and releases it.
    ~CocosGameBoardLink() override;

    // The grid's measures, then the nodes (with a game scene): the art at
    // z -10, the slot overlays at z 9, the premium squares' overlays at z 8
    // with their puppets at their row's z and teleporter effects at z 300,
    // the range arrows at z 200 and the deploy markers at z 8.
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;

    // The layout's grid offset; (0, 0) without an owner or layout.
    cocos2d::CCPoint getCellOffset() const override;

    // Shows one slot's overlay in a colour, pulsing.
    virtual void highlightSlot(const GridSlot& slot, const cocos2d::ccColor3B& color);
    // Fades out and hides every slot overlay.
    virtual void hideSlotHighlights();
    // The ranged-attack arrows of a living unit, and hiding them.
    virtual void showRangeArrows(const Entity* unit);
    virtual void hideRangeArrows();
    // The effect of a Teleporter square after a delay, and hiding every
    // such effect at once.
    virtual void showTeleporterEffect(const GridSlot& slot, float delay);
    virtual void hideTeleporterEffects();

    // Highlights the rectangle of slots between two corners, inclusive.
    void highlightSlots(const GridSlot& from, const GridSlot& to, const cocos2d::ccColor3B& color);
    // Fades out the effect of one Teleporter square after a delay.
    void hideTeleporterEffect(const GridSlot& slot, float delay);
    // Plays the "Play" animation of a premium square's puppet after a delay.
    void playPremiumPuppet(const GridSlot& slot, float delay);

    const std::vector<SlotOverlaySprite*>& getSlotOverlays() const { return mSlotOverlays; }
    const std::vector<SlotOverlaySprite*>& getPremiumOverlays() const { return mPremiumOverlays; }
    const std::vector<SlotOverlaySprite*>& getDeployMarkers() const { return mDeployMarkers; }
    const std::vector<cocos2d::CCSprite*>& getRangeArrows() const { return mRangeArrows; }
    const std::vector<PuppetInstance*>& getPremiumPuppets() const { return mPremiumPuppets; }
    const std::vector<PuppetInstance*>& getTeleportEffects() const { return mTeleportEffects; }
    // The puppet or teleporter effect of a slot; null when it has none.
    PuppetInstance* premiumPuppetAt(const GridSlot& slot) const;
    PuppetInstance* teleportEffectAt(const GridSlot& slot) const;

private:
    GameBoard* board() const;
    void addArt(cocos2d::CCNode* scene);
    void addSlotOverlays(cocos2d::CCNode* scene);
    void addPremiumSquares(cocos2d::CCNode* scene);
    void addRangeArrows(cocos2d::CCNode* scene);
    void addDeployMarkers(cocos2d::CCNode* scene);
    // A new overlay over slot (x, y), retained, added to the scene at z.
    SlotOverlaySprite* addOverlay(cocos2d::CCNode* scene, SlotOverlaySprite* overlay, int32_t x,
                                  int32_t y, int z);

    std::vector<SlotOverlaySprite*> mSlotOverlays;       // retained, index x + y * width
    std::vector<SlotOverlaySprite*> mPremiumOverlays;    // retained
    std::vector<SlotOverlaySprite*> mDeployMarkers;      // retained
    std::vector<cocos2d::CCSprite*> mRangeArrows;        // retained
    std::vector<PuppetInstance*> mTeleportEffects;       // retained
    std::map<int32_t, std::size_t> mTeleportBySlot;      // slot index to position
    std::vector<PuppetInstance*> mPremiumPuppets;        // retained
    std::map<int32_t, std::size_t> mPremiumPuppetBySlot; // slot index to position
};
