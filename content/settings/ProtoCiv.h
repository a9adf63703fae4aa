#pragma once

// One team (civ), read from a "civ" element of civs.xml: its name, art,
// colours, localised texts and the tile allocation its games start with.
// The civs loader reads the element's "ID" and "test" attributes itself.

#include "content/XMLHelper.h"
#include "content/settings/TileAllocation.h"

#include <cstdint>
#include <memory>
#include <string>

class ProtoCiv {
public:
    explicit ProtoCiv(int32_t id);
    ProtoCiv(const ProtoCiv&) = delete;
    ProtoCiv& operator=(const ProtoCiv&) = delete;
    virtual ~ProtoCiv();

    // Reads the "name" attribute and the children by exact name, then the
    // texts "Civ_<name>_..." of the strings table. False for a null element.
    // A tile allocation that fails to load is dropped; the civ still loads.
    bool load(const XmlNode* element);

    int32_t mId;
    std::unique_ptr<TileAllocation> mTileAllocation;
    std::string mName;
    std::string mDisplayName;
    std::string mIconName;
    std::string mSpriteSheet;
    int32_t mActionsPerTurn = 0;
    int32_t mBackgroundR = 60;
    int32_t mBackgroundG = 60;
    int32_t mBackgroundB = 60;
    std::string mBackgroundImage;
    std::string mEmblemImage;
    std::string mPlayerCardEmblemImage;
    std::string mLargeEmblemImage;
    std::string mTeamDetailImage;
    std::string mShortDescription;
    std::string mLongDescription;
    std::string mTeamBonusDescription;
    std::string mTeamBonusTitle;
    std::string mTeamBonusIcon;
    std::string mPlayerCardOpenSound;
};
