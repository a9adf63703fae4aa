#pragma once

// The points a player scores per kind of deed, read from the "scoring"
// element of settings.xml. A deed whose element is missing scores 0.

#include "content/XMLHelper.h"

#include <cstdint>

class ScoringInfo {
public:
    virtual ~ScoringInfo();

    // Reads the children by exact name; always true.
    bool load(const XmlNode* element);

    int32_t mDeploy = 0;
    int32_t mDamage = 0;
    int32_t mKnockout = 0;
    int32_t mEquip = 0;
    int32_t mHeal = 0;
    int32_t mRevive = 0;
    int32_t mScoreTile = 0;
};
