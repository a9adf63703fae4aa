#pragma once

// The set of tiles a civ or a puzzle starts with, read from a
// "tileAllocation" element:
//
//   <tileAllocation randomize="true">
//     <tile name="knight">3</tile>
//     <random choose="1"><tile name="archer">1</tile><tile name="cleric">1</tile></random>
//   </tileAllocation>
//
// A "tile" entry gives count copies of one proto; a "random" entry keeps
// "choose" of its tiles, picked with the cosmetic generator gRng each time it
// is expanded. Every entry is expanded once at load to list the proto ids
// the allocation produces. The tile chest is filled from the entries when a
// game starts.

#include "content/XMLHelper.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Copies of one tile.
struct TileRecord {
    std::string mName; // proto name
    int32_t mCount = 0;
};

class TileAllocationEntry {
public:
    static constexpr int32_t cSingleTile = 0;
    static constexpr int32_t cRandomChoice = 1;
    // The most copies one tile record may give: puzzle files are not
    // checked, and a chest holds one entity per copy.
    static constexpr int32_t cMaxTileCount = 1000;

    virtual ~TileAllocationEntry();

    // The record of a "tile" element: "name" (empty when absent) and the
    // text as a decimal count (empty text gives 0); null when the count does
    // not fit an int or is above cMaxTileCount.
    static std::unique_ptr<TileRecord> loadTile(const XmlNode* element);
    // Reads a "random" element: "choose" (below 1 fails) and each "tile"
    // child that loads. True when at least one tile was added.
    bool loadRandom(const XmlNode* element);
    // Replaces out by the records the entry yields this time: the single
    // record, or the random entry's records less (count - choose) drawn out
    // with gRng, the rest in their order. False for an unknown type.
    static bool expand(std::vector<const TileRecord*>& out, const TileAllocationEntry& entry);

    int32_t mType = cSingleTile;
    int32_t mChoose = 1;
    std::vector<std::unique_ptr<TileRecord>> mTiles;
};

class TileAllocation {
public:
    TileAllocation();
    TileAllocation(const TileAllocation&) = delete;
    TileAllocation& operator=(const TileAllocation&) = delete;
    virtual ~TileAllocation();

    // Reads "randomize" and the entries; malformed children are skipped.
    // False when a tile names no proto of the database.
    bool load(const XmlNode* element);
    // The count of the first single-tile entry of that exact name; 0 when
    // none, or when a random entry comes first.
    int32_t countTile(std::string_view name) const;

    std::vector<std::unique_ptr<TileAllocationEntry>> mEntries;
    std::vector<int32_t> mProtoIds; // of the records of one expansion at load
    bool mRandomize = true;         // shuffle the chest after filling it
};
