#pragma once

// The ally-ability part of a proto (element "AllyAbility"): an ability a unit
// uses on an ally, what it costs, the state the ally must be in, the proto it
// attaches and whether the two swap places.

#include "content/XMLHelper.h"

#include <cstdint>

class AllyAbilityInfo {
public:
    virtual ~AllyAbilityInfo();

    // Reads the children by exact name; false only for a null element.
    bool load(const XmlNode* element);

    int32_t mCost = 0;
    int32_t mRequiredTargetState = -1; // an EntityState
    int32_t mAttachProto = -1;
    bool mSwapWithAlly = false;
    int32_t mRangeModifier = 0;
};
