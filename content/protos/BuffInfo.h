#pragma once

// The buff part of a proto (element "BuffInfo"): how a carried tile changes
// the stats and behaviour of the unit carrying it, and when it is used up.
// Its effects are BuffEffects, kept in document order because mixed
// relativities apply one after the other.

#include "content/XMLHelper.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

enum BuffEffectType : int32_t {
    cBuffModifyStat = 0,
    cBuffHeal = 1,
    cBuffRedirect = 2,
    cBuffPhysicalEvasion = 3,
    cBuffRangeIncrease = 4,
    cBuffAddShields = 5,
    cBuffBarrier = 6,
    cBuffTerminateAOE = 7,
    cBuffUntargettable = 8,
    cBuffUntargettableAtRange = 9,
    cBuffAttachProtoToLinkedUnits = 10,
    cBuffUnequipProto = 11,
};

// The stat an effect targets; cStatProto marks a target given as a proto.
enum BuffStat : int32_t {
    cStatHitpoints = 0,
    cStatMaxHitpoints = 1,
    cStatPower = 2,
    cStatDefense = 3,
    cStatResist = 4,
    cStatCharge = 5,
    cStatRoleBonus = 6,
    cStatTeamBonus = 7,
    cStatPremiumBonus = 8,
    cStatShields = 9,
    cStatPhysicalWeakness = 10,
    cStatSpikes = 11,
    cStatRangedSpikes = 12,
    cStatSplashReduction = 13,
    cStatNonVictoryDamage = 14,
    cStatProto = 15,
    cStatMoveRange = 16,
};

enum BuffRelativity : int32_t {
    cRelativityAbsolute = 0, // added
    cRelativityMultiply = 1,
    cRelativityIncreaseTo = 2, // raised to at least
};

enum BuffConsumeType : int32_t {
    cConsumeUse = 0,
    cConsumeAction = 1,
    cConsumeDamaged = 2,
    cConsumeTriggered = 3,
    cConsumePowerUsingAction = 4,
    cConsumeZeroShields = 5,
    cConsumeDamagedPhysical = 6,
    cConsumeActionOrMove = 7,
    cConsumeActionOrDamage = 8,
    cConsumeActionOrMoveOrDamage = 9,
    cConsumeEndOfTurn = 10,
    cConsumeEndOfEnemyTurn = 11,
    cConsumeMove = 12,
};

// The data-file names, indexed by value (exact compare; cStatProto has none).
extern const std::array<std::string_view, 12> cBuffEffectTypeNames;
extern const std::array<std::string_view, 17> cBuffStatNames;
extern const std::array<std::string_view, 13> cBuffConsumeTypeNames;

class BuffEffect {
public:
    virtual ~BuffEffect();

    // The element's text is the value; attributes "type", "target",
    // "relativity" and "attachProto". A bad word or a missing type prints a
    // "**> " line and fails.
    bool load(const XmlNode* element);

    int32_t mType = -1;
    int32_t mTarget = -1;
    int32_t mRelativity = -1;
    float mValue = 0.0f;
    int32_t mTargetProto = -1;
    int32_t mAttachProto = -1;
};

class BuffInfo {
public:
    virtual ~BuffInfo();

    // Attribute "Range" and the children; a bad effect is dropped, the buff
    // keeps the others. False only for a null element.
    bool load(const XmlNode* element);

    // Applies the effects of that type and stat to value, in list order, each
    // with its value scaled by factor.
    void applyStatEffects(int32_t effectType, int32_t stat, float& value, float factor) const;
    // Fills the shared list linkedAttachProtos() with the attach protos of the
    // attachProtoToLinkedUnits effects that apply to protoId; its length.
    int32_t collectLinkedAttachProtos(int32_t protoId) const;
    // Fills the shared list unequipProtos() with the target protos of the
    // UnequipProto effects; its length.
    int32_t collectUnequipProtos() const;
    bool hasEffectOfType(int32_t effectType) const;

    // The lists of the last collect calls, shared by all buffs: read them
    // right after the call, the next call overwrites them.
    static const std::vector<int32_t>& linkedAttachProtos();
    static const std::vector<int32_t>& unequipProtos();

    int32_t mConsumeType = -1;
    std::vector<std::unique_ptr<BuffEffect>> mEffects;
    int32_t mAuraType = -1;
    int32_t mRange = 0;
    bool mOnePerCaster = false;
    bool mDiesWithCaster = false;
    bool mConsumesAllOthers = false;
    bool mUpgradesPuppet = false;
    bool mUnequipWithOngoingEnd = false;
    bool mEquipWithOngoingBegin = false;
};
