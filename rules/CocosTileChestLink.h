#pragma once

// The view of a TileChest: the chest door (a puppet, by the current
// player's civ) with a counter of the tiles inside, and a tooltip that
// explains the chest. Its cells are 46 x 55. With no game scene it keeps
// its measures and builds no node.

#include "rules/CocosEntityGridLink.h"
#include "rules/TooltipProtocol.h"

class PuppetInstance;
class TileChest;

namespace cocos2d {
class CCLabelTTF;
}

class CocosTileChestLink : public CocosEntityGridLink, public TooltipProtocol {
public:
    explicit CocosTileChestLink(TileChest* owner);
    // Removes and releases the door and the counter; the tooltip protocol
    // then drops the indicator and unregisters the chest.
    ~CocosTileChestLink() override;

    // With a game scene: the grid at (position - (22, 32)), whole numbers,
    // the door at position (z 200), its counter and the tooltip. Without
    // one: the grid at position, no node.
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;

    // The counter shows the number of tiles in the chest.
    void updateCountLabel();

    // TooltipProtocol: the link's position + (15, 20), and the chest's help.
    cocos2d::CCPoint getTooltipPosition() const override;
    void buildTooltip(cocos2d::CCNode* layer) override;

    PuppetInstance* getDoor() const { return mDoor; }
    cocos2d::CCLabelTTF* getCountLabel() const { return mCountLabel; }

private:
    PuppetInstance* mDoor = nullptr;            // retained
    cocos2d::CCLabelTTF* mCountLabel = nullptr; // retained
};
