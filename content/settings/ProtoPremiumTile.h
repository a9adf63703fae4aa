#pragma once

// One kind of premium square, read from a "premiumTile" element of
// settings.xml: its type (the element's first attribute, whatever its name),
// the amount it adds, its overlay art, puppet, sound and tooltip.

#include "content/XMLHelper.h"
#include "content/settings/PremiumTileType.h"

#include <cstdint>
#include <string>

class ProtoPremiumTile {
public:
    virtual ~ProtoPremiumTile();

    // Reads the type and the children, then the localised tooltip texts.
    // False only for a null element.
    bool load(const XmlNode* element);

    int32_t mType = cPremiumInvalid;
    int32_t mAmount = 0;
    std::string mGridSlotOverlay;
    std::string mCrossoverGridSlotOverlay; // for the crossover team
    std::string mPuppet;
    std::string mActivationSound;
    std::string mTooltipTitle;
    std::string mTooltipDescription;
    std::string mTooltipPortrait;
};
