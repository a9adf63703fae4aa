#pragma once

// The definition of one kind of tile: its kind, stats, art, sounds, flags and
// optional parts, read from one "entity" element of database.xml and never
// changed afterwards, except for puppet handles filled on first use. Rules,
// views and puzzle scripts read the fields directly.
//
// Child elements are matched by exact name; an unknown child is ignored, a key
// met twice overwrites (lists append). Texts are the child's own text.

#include "content/XMLHelper.h"
#include "content/protos/AllyAbilityInfo.h"
#include "content/protos/AtlasInfo.h"
#include "content/protos/BuffInfo.h"
#include "content/protos/DeployInfo.h"
#include "content/protos/HelperIconInfo.h"
#include "content/protos/ProjectileInfo.h"
#include "content/protos/ProtoAttackInfo.h"
#include "content/protos/ProtoPoint.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum EntityType : int32_t {
    cEntityUnit = 0,
    cEntityGear = 1,
    cEntityBuff = 2,
    cEntityPower = 3,
    cEntityProjectile = 4,
    cEntityEffect = 5,
};

enum DamageType : int32_t {
    cDamagePhysical = 0,
    cDamageMagic = 1,
};

// The entity type of that exact name ("unit" .. "effect"), or -1.
int32_t entityTypeFromName(std::string_view name);

// An effect played in place of the standard one for an impact type.
struct EffectOverride {
    int32_t mImpactType = -1;
    std::string mEffectName;
    float mTimeOffset = 0.0f;
    int32_t mOffsetZ = 1;
    bool mRotate = true;
    bool mDamagedOnly = true;
};

class ProtoEntity {
public:
    ProtoEntity();
    ProtoEntity(const ProtoEntity&) = delete;
    ProtoEntity& operator=(const ProtoEntity&) = delete;
    virtual ~ProtoEntity();

    // Every child, once the database has set mName and mId; false for a
    // null element or a refused AttackInfo.
    bool load(const XmlNode* element);

    // The puppet handle of upgrade i, loading it on first use; -1 when i is
    // not below the number of upgrades.
    int32_t getUpgradePuppetHandle(int32_t i);
    // Copies the first override of that impact type into out; false when
    // there is none or out is null.
    bool findEffectOverride(int32_t impactType, EffectOverride* out) const;
    // One debug line to standard output.
    void dump() const;

    int32_t mId = -1;
    int32_t mType = -1;
    std::string mName;
    std::string mClassName;
    std::string mDisplayName;
    std::string mClassDisplayName;
    std::string mArt;
    std::string mArt2;
    std::string mPortrait;
    std::string mLargePortrait;
    std::string mDeployEffect;
    std::string mPuppetName;
    std::unique_ptr<AtlasInfo> mAtlas;
    int32_t mPuppetHandle = -1;
    int32_t mHealAttachProto = -1;
    int32_t mLinkedFullHealthAttachProto = -1;
    int32_t mHitPoints = 0;
    int32_t mDefense = 0;
    int32_t mResist = 0;
    int32_t mPower = 0;
    int32_t mMoveRange = 0;
    int32_t mMinRange = 0;
    int32_t mMaxRange = 0;
    int32_t mAOERadius = 0;
    float mRoleBonus = 0.0f;
    float mTeamBonus = 1.0f;
    float mPremiumBonus = 1.0f;
    int32_t mDamageType = -1;
    float mHealingDrain = 0.0f;
    float mTransferToAllies = 0.0f;
    int32_t mRaiseDeadProto = -1;
    float mHealRangeMultiplier = 1.0f;
    float mReviveHPMultiplier = 0.2f;
    float mBindingHeal = 0.0f;
    int32_t mMaxCharge = 0;
    int32_t mDeployCost = 1;
    int32_t mBonusRangeX = 0;
    int32_t mBonusRangeY = 0;
    float mBigAttackMultiplierThreshold = 2.5f;

    // Flags.
    bool mKeepsPlayerInGame = false;
    bool mCanHeal = false;
    bool mCanRevive = false;
    bool mSelectable = true;
    bool mHealable = true;
    bool mKnockbackable = true;
    bool mCanTeleportWith = true;
    bool mEquippable = true;
    bool mVictoryUnit = false;
    bool mSoulLeech = false;
    bool mDiesOnKnockOut = false;
    bool mCanDualWield = false;
    bool mCanBeDeployedTo = false;
    bool mVaporize = false;
    bool mAutoStomp = false;
    bool mAllowCrystalHealing = false;
    bool mAllowFullHealthTarget = false;
    bool mOverrideEquippableFlag = false;
    bool mReplaceEquip = false;
    bool mMultiEquip = false;
    bool mShowMeleeSlashEffect = false;
    bool mBloodrage = false;
    bool mAlternateAnimVersusCrystal = false;
    bool mIgnoresEquipClassRestrictions = false;
    bool mCanStomp = true;
    bool mTriggersStrongerBloodrage = false;
    bool mAutoKnockback = false;
    bool mCanTargetStealthedUnits = false;
    bool mRespawnRevive = false;
    bool mCanRespawn = false;
    bool mHealStructuresOnly = false;
    bool mAPForStomp = false;

    bool mAllowFullHealthLinkedTarget = true;
    bool mOngoingAttack = false;
    bool mOngoingHeal = false;
    int32_t mOngoingRange = 0;
    bool mStopOnMove = true;
    bool mStopOnAttack = true;
    bool mStopOnDamage = true;
    bool mDontStopOnLinkTarget = false;
    std::string mLinkArt;
    std::string mLinkArt2;
    float mOngoingMultiplier = 1.0f;
    int32_t mAutoAttachProto = -1;
    bool mAutoAttachAtEndOfMyTurn = false;
    bool mAutoAttachAtEndOfOpponentTurn = false;
    int32_t mDeployToEntityState = -1;
    ProtoPoint mAnchorPoint{0.5f, 0.5f};

    // Optional parts, null when the proto has none.
    std::unique_ptr<BuffInfo> mBuffInfo;
    std::unique_ptr<AllyAbilityInfo> mAllyAbility;
    std::unique_ptr<ProtoAttackInfo> mAttackInfo; // units and powers only
    std::unique_ptr<ProjectileInfo> mProjectileInfo;
    std::unique_ptr<HelperIconInfo> mHelperIconInfo;
    std::unique_ptr<DeployInfo> mDeployInfo;

    std::string mShortHelp = "<short help goes here>";
    std::string mDetailedHelp;
    std::string mPowerAttackDisplayName;
    std::string mAltPowerAttackDisplayName;
    int32_t mEquipCategory = -1;
    int32_t mEquipAnim = -1;
    int32_t mUnequipAnim = -1;
    int32_t mBlendAnimFromEquip = 0;
    std::vector<EffectOverride> mEffectOverrides;
    std::vector<std::string> mUpgradePuppetNames;
    std::vector<int32_t> mUpgradePuppetHandles;
    std::string mDeploySound;
    std::string mSelectSound;
    std::string mPickUpSound;

private:
    void loadType(const XmlNode* child);
    void loadPuppet(const XmlNode* child);
    void loadUpgrades(const XmlNode* puppet, bool preload);
    void loadEffectOverride(const XmlNode* child);
    void loadLocalizedTexts();
};
