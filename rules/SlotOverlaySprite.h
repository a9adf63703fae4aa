#pragma once

// A sprite drawn over one board slot's perspective quad instead of its own
// rectangle: the slot highlights, premium squares and deploy-zone markers.
// It keeps the sprite's texture, colour, opacity, flip and blend function;
// only the corners differ. Place it at (0, 0) with anchor (0, 0) in the node
// the quad's corners are given in (pixels). A premium square's overlay is a
// tooltip target showing that square's help.

#include "rules/TooltipProtocol.h"

#include "platform/render/CCSprite.h"

#include <array>
#include <cstdint>
#include <string>

class SlotOverlaySprite : public cocos2d::CCSprite, public TooltipProtocol {
public:
    SlotOverlaySprite();
    // Removes and releases the child node.
    ~SlotOverlaySprite() override;

    // Autoreleased; a missing image gives an empty sprite, as for CCSprite.
    static SlotOverlaySprite* spriteWithFile(const std::string& file);
    static SlotOverlaySprite* spriteWithTexture(cocos2d::CCTexture2D* texture);

    // The corners (x, y, z) top-left, bottom-left, top-right, bottom-right.
    void setSlotQuad(const std::array<float, 12>& quad) { mSlotQuad = quad; }
    const std::array<float, 12>& getSlotQuad() const { return mSlotQuad; }
    void draw() override;

    // TooltipProtocol: the anchor, and the premium square's help.
    cocos2d::CCPoint getTooltipPosition() const override { return mTooltipAnchor; }
    void buildTooltip(cocos2d::CCNode* layer) override;

    void setChild(cocos2d::CCNode* child);
    cocos2d::CCNode* getChild() const { return mChild; }

    cocos2d::CCPoint mTooltipAnchor;
    int32_t mPremiumType = -1;

private:
    cocos2d::CCNode* mChild = nullptr; // retained
    std::array<float, 12> mSlotQuad{};
};
