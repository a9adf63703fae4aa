#pragma once

// A place where entities can be: the tile chest, a rack, the board, a
// graveyard, a unit's equipment. The grid holds entity ids (resolved through
// its game's entity table) in width x height slots, index x + y * width, -1
// for an empty slot, and keeps each entity's own record of its grid and
// square in step when it adds, moves or swaps (removal leaves that record
// as it was). With flag bit cGridLinear the grid is a list that grows by one
// slot when full, sized 1 x 1, whose squares are (0, index); with
// cGridHidden its entities have no views.
//
// On screen the grid is a perspective trapezoid of rows whose measures come
// from its view (CocosEntityGridLink); a grid without a view has no size and
// maps no point. Subclasses (board, rack, chest, graveyard) add rules
// through the hooks. Files: EntityGrid.cpp (slots and contents),
// EntityGrid_moves.cpp (placing, moving, swapping, views),
// EntityGrid_geometry.cpp, EntityGrid_queries.cpp (ranges, lines, living
// units, shuffle, debug output).

#include "rules/CocosLink.h"
#include "rules/GridSlot.h"

#include <cstdint>
#include <string>
#include <vector>

class Entity;
class Game;

// Grid types.
enum GridType : int32_t {
    cGridTileChest = 0,
    cGridTileRack = 1,
    cGridGameBoard = 2,
    cGridGraveyard = 3,
};

// Flag bits.
inline constexpr int32_t cGridLinear = 0;
inline constexpr int32_t cGridHidden = 1;

class EntityGrid : public CocosLinkageDelegate {
public:
    // An empty grid (no slots) of that owner (-1 nobody) in that game.
    EntityGrid(int32_t owner, Game* game);

    // Virtual operations, in this order, after those of the delegate.
    // Empties the slots and drops the views.
    ~EntityGrid() override;
    // Makes the grid view (CocosEntityGridLink).
    void createLink() override;
    // Links the grid's view, then its entities' views at their squares
    // (unless hidden), and shows them unless viewHidden is set.
    bool linkAt(const cocos2d::CCPoint& position) override;
    // Drops the views of the entities in the slots, then the grid's own.
    void unlink() override;

    // Resizes to width x height empty slots.
    virtual bool setSize(int32_t width, int32_t height);
    // Not locked and the point maps to a square.
    virtual bool containsPoint(const cocos2d::CCPoint& point);
    // The square under a scene point, or (-1, -1).
    virtual GridSlot coordsForPoint(const cocos2d::CCPoint& point);
    // The centre of a square, projected when perspective is set; (0, 123)
    // for a square outside the grid.
    virtual cocos2d::CCPoint pointForCoords(const GridSlot& slot, bool perspective);
    // A corner of the cell lattice: the left edge of column line column
    // (0..width) on row line rowLine (0 the front edge .. height), moved by
    // offset and projected with its row's narrowing; (0, 0) without a view.
    cocos2d::CCPoint latticePoint(int32_t column, int32_t rowLine,
                                  const cocos2d::CCPoint& offset) const;
    // The centre of the square under the point, else the point.
    virtual cocos2d::CCPoint snapPoint(const cocos2d::CCPoint& point);
    // The first free square (growing a linear grid); false when full.
    virtual bool getFirstFreeCoords(GridSlot& out);
    // The entity whose view takes the view point and lies nearest to it.
    virtual Entity* findNearestEntity(const cocos2d::CCPoint& point, Entity* excluded);
    virtual int32_t getSlotCount() const;
    // The entity in that slot; null when empty, out of range or gameless.
    virtual Entity* getEntityAtIndex(int32_t index) const;
    // The id on that square (linear: index slot.y); -1 when none.
    virtual int32_t getEntityIdAt(const GridSlot& slot) const;
    virtual int32_t getEntityIdAtIndex(int32_t index) const;
    // The square of the first slot holding id, also stored in out; (-1, -1).
    virtual GridSlot findEntityCoords(GridSlot& out, int32_t id) const;
    // Whether n more entities fit (always for a linear grid).
    virtual bool hasRoomFor(int32_t n) const;
    virtual int32_t getEntityCount() const;
    // The ids within radius of centre, grown by extent; row by row.
    virtual int32_t getEntityIdsInRange(std::vector<int32_t>& out, const GridSlot& centre,
                                        int32_t radius, bool diamond, const GridSlot& extent);
    // The ids on the line between two squares, ends only when asked.
    virtual int32_t getEntityIdsOnLine(std::vector<int32_t>& out, const GridSlot& from,
                                       const GridSlot& to, bool includeEnds);
    // Stores id in the first free slot.
    virtual bool addEntity(int32_t id);
    virtual bool addEntityAt(int32_t id, const GridSlot& slot);
    // addEntity unless id is already in a slot.
    virtual bool addUniqueEntity(int32_t id);
    // All or, from the first failure on, none of the rest.
    virtual bool addEntities(const std::vector<int32_t>& ids);
    virtual bool removeEntity(int32_t id);
    virtual bool removeEntityAtIndex(int32_t index);
    virtual bool canPlaceEntityAtPoint(int32_t id, const cocos2d::CCPoint& point);
    // Whether id may go to that square; subclasses add their rules.
    virtual bool canPlaceEntityAt(int32_t id, const GridSlot& slot);
    virtual bool placeEntityAtPoint(int32_t id, const cocos2d::CCPoint& point);
    // Puts id on that square, taking it from wherever it is.
    virtual bool placeEntityAt(int32_t id, const GridSlot& slot);
    virtual bool moveEntityToFirstFree(int32_t id, EntityGrid* target);
    // Moves id from this grid to a square of target.
    virtual bool moveEntityTo(int32_t id, EntityGrid* target, const GridSlot& slot);
    // Exchanges the contents of two squares.
    virtual bool swapSlots(const GridSlot& a, const GridSlot& b);
    virtual void clampCoords(GridSlot& slot) const;
    // Rows nearer the viewer draw above those behind.
    virtual int32_t zOrderForCoords(const GridSlot& slot) const;
    // Hooks: an entity arrived by moveEntityTo, left by it, or was placed.
    virtual void onEntityAdded(int32_t id, EntityGrid* source);
    virtual void onEntityRemoved(int32_t id, EntityGrid* target);
    virtual void onEntityPlaced(int32_t id, const GridSlot& slot);
    // Highlights where a dragged entity may go, and clears them; nothing here.
    virtual void showSlotHighlight(int32_t id);
    virtual void clearSlotHighlights(int32_t id);
    virtual bool isFlagSet(int32_t bit) const;
    virtual void setFlag(int32_t bit, bool on);
    virtual std::string getName() const;
    // Hands the outline of the rows and columns to the scene's debug drawing.
    virtual void drawDebug();
    // Lists the contents on standard output.
    virtual void debugOutput();

    // The square of a slot index; (-1, -1) outside the slots.
    GridSlot coordsOfIndex(int32_t index) const;
    // The slot index of a square (linear: slot.y); -1 outside the grid.
    int32_t indexOfCoords(const GridSlot& slot) const;

    // Whether grid holds a living unit of player (any owner when negative)
    // whose proto keeps its player in the game; with count, adds each such
    // unit to it and answers whether it is above 0.
    static bool countLiving(const EntityGrid* grid, int32_t player, int32_t* count);
    // Shuffles the slots with the game's generator.
    static void shuffle(EntityGrid* grid);

    int32_t getGridType() const { return mGridType; }
    int32_t getOwner() const { return mOwner; }
    Game* getGame() const { return mGame; }
    int32_t getWidth() const { return mWidth; }
    int32_t getHeight() const { return mHeight; }
    const std::vector<int32_t>& getSlots() const { return mSlots; }
    bool isViewHidden() const { return mViewHidden != 0; }
    void setViewHidden(bool hidden) { mViewHidden = hidden ? 1 : 0; }
    bool isLocked() const { return mLocked != 0; }
    void setLocked(bool locked) { mLocked = locked ? 1 : 0; }

    // The saved-state archive (EntityGrid_archive.cpp).
    template <class Archive> void serialize(Archive& ar, unsigned version);

    // Checks and re-points the grids of a game read from an archive.
    friend class GameArchiveCheck;

protected:
    // The entity an id names in the game; null for none.
    Entity* entityFor(int32_t id) const;
    // The lowest empty index, growing a linear grid; -1 when full.
    int32_t firstFreeIndex();
    // Puts id into an empty slot and updates the entity's record.
    bool storeAt(int32_t id, int32_t index);
    // 0 <= index < slot count.
    bool isValidIndex(int32_t index) const;

    int32_t mGridType = -1;
    int32_t mOwner;
    Game* mGame;
    std::vector<int32_t> mSlots;
    int32_t mCount = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    std::vector<bool> mFlags;
    std::string mName = "defaultGrid";
    uint8_t mViewHidden = 0;
    uint8_t mLocked = 0;
};
