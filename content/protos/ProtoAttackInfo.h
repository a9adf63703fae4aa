#pragma once

// The attack modifiers of a unit or power proto, read from the attributes of
// its "AttackInfo" element. Every unit and power proto owns one, with the
// defaults below until its element is read.

#include "content/XMLHelper.h"

#include <cstdint>
#include <string>

class ProtoAttackInfo {
public:
    virtual ~ProtoAttackInfo();

    // Reads the element's attributes in order; unknown ones are ignored and a
    // key given twice keeps its last value. False only for a null element.
    bool load(const XmlNode* element);

    float mMeleeDamageMultiplier = 1.0f;
    float mRangedDamageMultiplier = 1.0f;
    int32_t mMeleeAnim = -1;
    int32_t mRangedAnim = -1;
    int32_t mKnockback = 0;
    int32_t mMagnetRange = 0;
    int32_t mIntercept = 0;
    float mPierceMultiplier = 0.0f;
    bool mIgnoresBlockers = false;
    bool mPiercesPast = true;
    bool mUsesSpotter = false;
    int32_t mSpotTargetRange = 0;
    int32_t mChainRadius = 0;
    int32_t mChainJumps = 0;
    float mChainFalloff = 1.0f;
    bool mChainHealOnly = false;
    float mLeechPercentage = 0.0f;
    float mAssaultBoost = 1.0f;
    int32_t mCutdownBonus = 0;
    float mAOEDamageConservation = 1.0f;
    bool mAOEOnlyAtRange = false;
    bool mAOEReplaceWithBlockers = false;
    bool mAOEUsesGridDistance = false;
    bool mAOEOnlyAgainstCrystals = false;
    bool mAOEFriendlyFire = false;
    int32_t mMultiTargetBonusDamage = 0;
    float mCorpseExplosion = 0.0f;
    int32_t mAttachProto = -1;
    bool mRangedOnlyKnockback = false;
    bool mRadialKnockback = false;
    bool mArcingKnockback = false;
    bool mExecute = false;
    bool mWhirlwind = false;
    float mEnragePowerBoost = 1.0f;
    float mEnrageThreshold = 0.0f;
    float mDamagePowerScaling = 0.0f;
    std::string mDestroyInventoryClass;
    int32_t mChargeCost = 0;
    int32_t mRepeatedAttackBonus = 0;
    int32_t mRepeatedAOEBonus = 0;
    float mBackstabMultiplier = 0.0f;
};
