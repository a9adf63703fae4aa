#pragma once

// The projectile part of a proto (element "ProjectileInfo"): how a projectile
// looks and flies from its launcher to its target.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>

enum ProjectileMoveType : int32_t {
    cProjectileArc = 0,
    cProjectileDirect = 1,
    cProjectileChain = 2,
};

enum ProjectileOrientType : int32_t {
    cOrientNone = 0,
    cOrientDirection = 1,
    cOrientSpin = 2,
};

inline constexpr float cDefaultProjectileSpeed = 10.0f;

class ProjectileInfo {
public:
    virtual ~ProjectileInfo();

    // Reads the children by exact name. A projectile that would never arrive
    // (no positive speed and no positive acceleration) keeps the default
    // speed, with a "**> " warning. False only for a null element.
    bool load(const XmlNode* element);

    // Seconds to fly that distance: distance / speed, or from rest at the
    // acceleration rate when it is above 0. A spinning arc always flies the
    // distance 2 x its arc height.
    float flightTime(float distance) const;

    std::string mArt;
    std::string mArt2;
    std::string mLaunchArt;
    std::string mLaunchArt2;
    std::string mPuppet;
    std::string mImpactEffect;
    std::string mImpactEffectBig;
    float mSpeed = cDefaultProjectileSpeed;
    float mAccelerationRate = 0.0f;
    int32_t mMoveType = cProjectileDirect;
    int32_t mOrientType = cOrientNone;
    float mSpinSpeed = 0.0f;
    float mArcHeight = 0.0f;
    bool mHideForBigAttack = false;
};
