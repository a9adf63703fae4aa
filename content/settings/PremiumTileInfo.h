#pragma once

// The premium squares of one board, read from a board's "premiumTiles"
// element: a list of entries (square, kind, link target) in document order.
// Rules ask which square lies where and add the kind's amount to stats and
// scores; the amounts come from the kinds in the rules settings.

#include "content/XMLHelper.h"
#include "content/settings/PremiumTileType.h"

#include <cstdint>
#include <memory>
#include <vector>

class PremiumTileEntry {
public:
    virtual ~PremiumTileEntry();

    // Attributes "type", "x", "y", "linkTarget"; another attribute prints a
    // "**> " line and is skipped. False unless x and y are both 0 or more.
    bool load(const XmlNode* element);

    int32_t mX = -1;
    int32_t mY = -1;
    int32_t mType = cPremiumInvalid;
    int32_t mLinkTarget = -1; // the square a Teleporter links to
};

class PremiumTileInfo {
public:
    virtual ~PremiumTileInfo();

    // Appends the entries of the element's "premiumTile" children; a bad
    // entry is dropped, another child prints a "**> " line. False only for a
    // null element.
    bool load(const XmlNode* element);

    // The first entry at that square, or null.
    PremiumTileEntry* getEntryAt(int32_t x, int32_t y) const;
    // When a square of that type lies at (x, y), adds the type's amount times
    // factor (truncated toward zero) to value and answers true; the amount is
    // that of the first kind of the type in the settings, nothing when none.
    bool applyBonusAt(int32_t x, int32_t y, int32_t type, int32_t& value, float factor) const;
    // The number of entries of that type; every entry for -1.
    int32_t countOfType(int32_t type) const;

    std::vector<std::unique_ptr<PremiumTileEntry>> mEntries;
};
