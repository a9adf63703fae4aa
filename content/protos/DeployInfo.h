#pragma once

// The deploy part of a proto (element "DeployInfo"): where a tile may be
// deployed (the element's text) and onto what (its attributes).

#include "content/XMLHelper.h"

#include <cstdint>

enum DeployTargetKind : int32_t {
    cDeployToDeployZone = 0,
    cDeployToUnit = 1,
    cDeployToGameBoard = 2,
    cDeployRemote = 3,
};

enum DeployRelation : int32_t {
    cDeployRelationAny = 0,
    cDeployRelationAlly = 1,
    cDeployRelationEnemy = 2,
};

class DeployInfo {
public:
    virtual ~DeployInfo();

    // Target kind from the text, flags from the attributes' presence;
    // unknown words leave the defaults. False only for a null element.
    bool load(const XmlNode* element);

    int32_t mTargetKind = -1;
    int32_t mRelation = cDeployRelationAny;
    bool mLivingTargetsOnly = true;
    bool mDeadTargetsOnly = false;
    bool mDamaged = false;
    bool mVictoryUnit = false;
    bool mAllowVictoryUnitSpotOverride = false;
    bool mStructureRemoteDeploy = false;
};
