#pragma once

// The battle board: the grid on which units stand and act. It knows which
// board layout (ProtoGameBoard) is in play and sets itself up from it
// (preplaced pieces, victory units), adds its own placement rules by entity
// state, answers deploy-zone questions (the second player's zone is the
// first player's, mirrored), sums the crystal-spikes bonus, strips items
// from its units for the rules, and drives the slot highlights of a dragged
// tile through its view (CocosGameBoardLink); without a view nothing is
// highlighted. Files: GameBoard.cpp (layout, set-up, placement, zones),
// GameBoard_items.cpp (item removal, auras, overlays),
// GameBoard_highlights.cpp.

#include "rules/EntityGrid.h"

#include <cstdint>

class CocosGameBoardLink;
class Entity;
class PremiumTileInfo;
class ProtoGameBoard;

class GameBoard : public EntityGrid {
public:
    // An empty board of that owner (-1 nobody) in that game, layout 0.
    GameBoard(int32_t owner, Game* game);
    ~GameBoard() override;

    // Grid operations with the board's own rules.
    // Makes the board view (CocosGameBoardLink).
    void createLink() override;
    // The grid's test, then the rule of the entity's state.
    bool canPlaceEntityAt(int32_t id, const GridSlot& slot) override;
    // An arriving entity is deployed.
    void onEntityAdded(int32_t id, EntityGrid* source) override;
    // The placed entity's view takes its row's z-order.
    void onEntityPlaced(int32_t id, const GridSlot& slot) override;
    // Highlights where the dragged entity may go, and clears that.
    void showSlotHighlight(int32_t id) override;
    void clearSlotHighlights(int32_t id) override;

    // The board's own virtual operations, in this order.
    // The reflected fraction the CrystalSpikes squares under the player's
    // living units give.
    virtual float getCrystalSpikesBonus(int32_t player);
    // Whether the square is in the player's deploy zone.
    virtual bool isInDeployZone(int32_t player, const GridSlot& slot);
    // Each need the executing action and record what they change in it.
    // From each unit (of player, when not negative) the first item of that
    // proto and creator (-1: any).
    virtual bool removeItemFromUnits(int32_t protoId, int32_t creatorId, int32_t player);
    // From each unit the first item made by creator that dies with it.
    virtual bool removeItemsOfKind(int32_t creatorId);
    // From each unit the first buff that ends with player's turn.
    virtual bool consumeEndOfTurnBuffs(int32_t player);
    // Selects or deselects the aura overlays of the items creator made.
    virtual void setAurasSelected(bool selected, int32_t creatorId);
    virtual int32_t getProtoIndex();

    // Draws the layout (none in a local game), sizes the board and places
    // the layout's pieces; false without a layout.
    bool setUp();
    // The layout in play: the running puzzle's board, else the settings'
    // board at the layout index; null when there is none.
    ProtoGameBoard* getProtoGameBoard() const;
    // The premium squares of the layout in play; null when it has none.
    const PremiumTileInfo* getPremiumSquares() const;
    // Health bars and item sprites of the units, shown while a touch on the
    // board lasts.
    void showEntityOverlays();
    void hideEntityOverlays();

    void setProtoIndex(int32_t index) { mProtoIndex = index; }

    // The saved-state archive (EntityGrid_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

private:
    // The board's view; null without one.
    CocosGameBoardLink* boardView() const;
    // Runs a removal on every unit (of player, when not negative), recording
    // the units it changed in the executing action.
    template <class Removal> bool removeFromUnits(int32_t player, Removal removal);
    // The highlight of a tile or respawning unit by its deploy kind.
    void highlightDeployTargets(Entity* tile, CocosGameBoardLink* view);
    // The highlight of a unit on the board: moves, teleporters, arrows.
    void highlightUnitTargets(Entity* unit, CocosGameBoardLink* view);
    // The target markers of the units (with views) the unit may attack,
    // heal or help.
    void markUnitTargets(Entity* unit);
    // Calls visit(entity) for the entity of each occupied slot, in slot order.
    template <class Visit> void forEachUnit(Visit visit) const;

    int32_t mProtoIndex = 0;
};

template <class Visit> void GameBoard::forEachUnit(Visit visit) const {
    for (int32_t i = 0; i < getSlotCount(); ++i)
        if (Entity* entity = getEntityAtIndex(i))
            visit(*entity);
}
