#pragma once

// The view of a player's TileRack: the rack art (by the current player's
// civ) at z 5, with the grid laid over it, its cells 49 x 42. With no game
// scene it keeps its measures and builds no node.

#include "rules/CocosEntityGridLink.h"

namespace cocos2d {
class CCSprite;
}

class TileRack;

class CocosTileRackLink : public CocosEntityGridLink {
public:
    explicit CocosTileRackLink(TileRack* owner);
    // Removes and releases the rack sprite.
    ~CocosTileRackLink() override;

    // The sprite centred on position; the grid attached at its lower-left
    // corner (position itself when no sprite is made).
    bool attach(const cocos2d::CCPoint& position, const cocos2d::CCSize& size) override;

    // Virtual operation after those of CocosEntityGridLink.
    // Shows or hides the views of the tiles on the rack.
    virtual void setTilesVisible(bool visible);

    cocos2d::CCSprite* getSprite() const { return mSprite; }

private:
    cocos2d::CCSprite* mSprite = nullptr; // retained
};
