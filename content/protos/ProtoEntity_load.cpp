// ProtoEntity::load: the walk over an entity element's children.

#include "content/protos/ProtoEntity.h"

#include "content/BConfig.h"
#include "content/LocalizedStrings.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/protos/ImpactType.h"
#include "content/protos/ProtoFields.h"
#include "puppet/PuppetRegistry.h"
#include "rules/core/EntityState.h"

#include <cstdio>

namespace {

using P = ProtoEntity;
using K = FieldKind;

// The children read straight into one member.
const FieldKey<P> cEntityKeys[] = {
    {"Art", K::Text, &P::mArt},
    {"Art2", K::Text, &P::mArt2},
    {"Portrait", K::Text, &P::mPortrait},
    {"LargePortrait", K::Text, &P::mLargePortrait},
    {"Class", K::Text, &P::mClassName},
    {"Hitpoints", K::Int, &P::mHitPoints},
    {"Defense", K::Int, &P::mDefense},
    {"Resist", K::Int, &P::mResist},
    {"Power", K::Int, &P::mPower},
    {"MoveRange", K::Int, &P::mMoveRange},
    {"MinRange", K::Int, &P::mMinRange},
    {"MaxRange", K::Int, &P::mMaxRange},
    {"AOERadius", K::Int, &P::mAOERadius},
    {"MaxCharge", K::Int, &P::mMaxCharge},
    {"DeployCost", K::Int, &P::mDeployCost},
    {"RoleBonus", K::Float, &P::mRoleBonus},
    {"TeamBonus", K::Float, &P::mTeamBonus},
    {"PremiumBonus", K::Float, &P::mPremiumBonus},
    {"HealingDrain", K::Float, &P::mHealingDrain},
    {"TransferToAllies", K::Float, &P::mTransferToAllies},
    {"HealRangeMultiplier", K::Float, &P::mHealRangeMultiplier},
    {"BigAttackMultiplierThreshold", K::Float, &P::mBigAttackMultiplierThreshold},
    {"RaiseDead", K::ProtoRef, &P::mRaiseDeadProto},
    {"EquipAnim", K::Anim, &P::mEquipAnim},
    {"UnequipAnim", K::Anim, &P::mUnequipAnim},
    {"BlendAnimFromEquip", K::Anim, &P::mBlendAnimFromEquip},
    {"DeploySound", K::Text, &P::mDeploySound},
    {"SelectSound", K::Text, &P::mSelectSound},
    {"PickUpSound", K::Text, &P::mPickUpSound},
    // Stand-alone flags: their presence sets or clears the bit.
    {"KeepsPlayerInGame", K::Presence, &P::mKeepsPlayerInGame},
    {"NotSelectable", K::Clear, &P::mSelectable},
    {"NotHealable", K::Clear, &P::mHealable},
    {"NotKnockbackable", K::Clear, &P::mKnockbackable},
    {"CantTeleportWith", K::Clear, &P::mCanTeleportWith},
    {"NotEquippable", K::Clear, &P::mEquippable},
    {"VictoryUnit", K::Presence, &P::mVictoryUnit},
    {"SoulLeech", K::Presence, &P::mSoulLeech},
    {"DiesOnKnockOut", K::Presence, &P::mDiesOnKnockOut},
    {"CanDualWield", K::Presence, &P::mCanDualWield},
    {"CanBeDeployedTo", K::Presence, &P::mCanBeDeployedTo},
    {"Vaporize", K::Presence, &P::mVaporize},
    {"AutoStomp", K::Presence, &P::mAutoStomp},
    {"OverrideEquippableFlag", K::Presence, &P::mOverrideEquippableFlag},
    {"ReplaceEquip", K::Presence, &P::mReplaceEquip},
    {"MultiEquip", K::Presence, &P::mMultiEquip},
    {"ShowMeleeSlashEffect", K::Presence, &P::mShowMeleeSlashEffect},
    {"Bloodrage", K::Presence, &P::mBloodrage},
    {"IgnoresEquipClassRestrictions", K::Presence, &P::mIgnoresEquipClassRestrictions},
    {"CannotStomp", K::Clear, &P::mCanStomp},
    {"TriggersStrongerBloodrage", K::Presence, &P::mTriggersStrongerBloodrage},
    {"AutoKnockback", K::Presence, &P::mAutoKnockback},
    {"CanTargetStealthedUnits", K::Presence, &P::mCanTargetStealthedUnits},
    {"CanRespawn", K::Presence, &P::mCanRespawn},
    {"APForStomp", K::Presence, &P::mAPForStomp},
};

const FieldKey<P> cCanHealKeys[] = {
    {"AttachHealProto", K::ProtoRef, &P::mHealAttachProto},
    {"LinkedFullHealthAttachProtoID", K::ProtoRef, &P::mLinkedFullHealthAttachProto},
    {"allowCrystalHealing", K::Bool, &P::mAllowCrystalHealing},
    {"bindingHeal", K::Float, &P::mBindingHeal},
    {"AllowFullHealthTarget", K::Bool, &P::mAllowFullHealthTarget},
    {"AllowFullHealthLinkedTarget", K::Bool, &P::mAllowFullHealthLinkedTarget},
    {"HealStructuresOnly", K::Bool, &P::mHealStructuresOnly},
};

const FieldKey<P> cCanReviveKeys[] = {
    {"hpMultiplier", K::Float, &P::mReviveHPMultiplier},
    {"RespawnRevive", K::Presence, &P::mRespawnRevive},
};

const FieldKey<P> cOngoingKeys[] = {
    {"Attack", K::Bool, &P::mOngoingAttack},
    {"Heal", K::Bool, &P::mOngoingHeal},
    {"Range", K::Int, &P::mOngoingRange},
    {"StopOnMove", K::Bool, &P::mStopOnMove},
    {"StopOnAttack", K::Bool, &P::mStopOnAttack},
    {"StopOnDamage", K::Bool, &P::mStopOnDamage},
    {"DontStopOnLinkTarget", K::Bool, &P::mDontStopOnLinkTarget},
    {"LinkArt", K::Text, &P::mLinkArt},
    {"LinkArt2", K::Text, &P::mLinkArt2},
    {"OngoingMultiplier", K::Float, &P::mOngoingMultiplier},
};

const FieldKey<P> cAutoAttachKeys[] = {
    {"attachProto", K::ProtoRef, &P::mAutoAttachProto},
    {"endOfMyTurn", K::Bool, &P::mAutoAttachAtEndOfMyTurn},
    {"endOfOpponentTurn", K::Bool, &P::mAutoAttachAtEndOfOpponentTurn},
};

// Reads every attribute of element that one of keys names.
void readAttributes(ProtoEntity& proto, std::span<const FieldKey<P>> keys, const XmlNode* element) {
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute())
        readFieldKey(proto, keys, attribute);
}

// A new part with its defaults reads the child and replaces the proto's part;
// a part that refuses its element is dropped.
template <class Part> void loadPart(std::unique_ptr<Part>& part, const XmlNode* child) {
    part = std::make_unique<Part>();
    if (!part->load(child))
        part.reset();
}

bool preloadPuppets() {
    return BConfig::instance().isSetById(cOptPreloadPuppets);
}

} // namespace

bool ProtoEntity::load(const XmlNode* element) {
    if (!element)
        return false;
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        static const FieldKeyIndex<ProtoEntity> entityKeys(cEntityKeys);
        if (entityKeys.read(*this, child))
            continue;
        if (xmlNameEquals(child, "Type")) {
            loadType(child);
        } else if (xmlNameEquals(child, "DeployEffect")) {
            mDeployEffect = xmlText(child);
            if (xmlFindAttribute(child, "alternateAnimVersusCrystal"))
                mAlternateAnimVersusCrystal = true;
        } else if (xmlNameEquals(child, "Atlas")) {
            mAtlas = std::make_unique<AtlasInfo>();
            mAtlas->load(child);
        } else if (xmlNameEquals(child, "Puppet")) {
            loadPuppet(child);
        } else if (xmlNameEquals(child, "DamageType")) {
            if (xmlValueEquals(child, "physical"))
                mDamageType = cDamagePhysical;
            else if (xmlValueEquals(child, "Magic"))
                mDamageType = cDamageMagic;
        } else if (xmlNameEquals(child, "AttackInfo")) {
            if (!mAttackInfo)
                std::printf("**> AttackInfo of '%s' ignored: the proto has no attack part\n",
                            mName.c_str());
            else if (!mAttackInfo->load(child))
                return false;
        } else if (xmlNameEquals(child, "ProjectileInfo")) {
            loadPart(mProjectileInfo, child);
        } else if (xmlNameEquals(child, "HelperIconInfo")) {
            loadPart(mHelperIconInfo, child);
        } else if (xmlNameEquals(child, "BuffInfo")) {
            loadPart(mBuffInfo, child);
        } else if (xmlNameEquals(child, "AllyAbility")) {
            loadPart(mAllyAbility, child);
        } else if (xmlNameEquals(child, "DeployInfo")) {
            loadPart(mDeployInfo, child);
        } else if (xmlNameEquals(child, "AnchorPoint")) {
            xmlAttrFloat(child, "x", mAnchorPoint.x);
            xmlAttrFloat(child, "y", mAnchorPoint.y);
        } else if (xmlNameEquals(child, "CanHeal")) {
            mCanHeal = true;
            readAttributes(*this, cCanHealKeys, child);
        } else if (xmlNameEquals(child, "CanRevive")) {
            mCanRevive = true;
            readAttributes(*this, cCanReviveKeys, child);
        } else if (xmlNameEquals(child, "BonusRange")) {
            xmlAttrInt(child, "X", mBonusRangeX);
            xmlAttrInt(child, "Y", mBonusRangeY);
        } else if (xmlNameEquals(child, "DeployToEntityState")) {
            mDeployToEntityState = entityStateFromName(xmlText(child));
        } else if (xmlNameEquals(child, "EquipCategory")) {
            mEquipCategory = PuppetRegistry::categoryIndex(xmlText(child));
        } else if (xmlNameEquals(child, "EffectOverride")) {
            loadEffectOverride(child);
        } else if (xmlNameEquals(child, "Ongoing")) {
            readAttributes(*this, cOngoingKeys, child);
        } else if (xmlNameEquals(child, "AutoAttach")) {
            mAutoAttachProto = -1;
            readAttributes(*this, cAutoAttachKeys, child);
        }
    }
    loadLocalizedTexts();
    return true;
}

void ProtoEntity::loadType(const XmlNode* child) {
    mType = entityTypeFromName(xmlText(child));
    if (mType == cEntityUnit || mType == cEntityPower)
        mAttackInfo = std::make_unique<ProtoAttackInfo>();
}

void ProtoEntity::loadPuppet(const XmlNode* child) {
    if (preloadPuppets())
        mPuppetHandle = PuppetRegistry::loadPuppet(xmlText(child));
    else
        mPuppetName = xmlText(child);
    loadUpgrades(child);
}

void ProtoEntity::loadUpgrades(const XmlNode* puppet) {
    const bool preload = preloadPuppets();
    for (const XmlNode* upgrade = puppet->first_node("Upgrade"); upgrade;
         upgrade = upgrade->next_sibling("Upgrade")) {
        if (!preload) {
            mUpgradePuppetNames.push_back(xmlText(upgrade));
            mUpgradePuppetHandles.push_back(-1);
            continue;
        }
        const int32_t handle = PuppetRegistry::loadPuppet(xmlText(upgrade));
        if (handle < 0)
            break;
        mUpgradePuppetHandles.push_back(handle);
    }
}

void ProtoEntity::loadEffectOverride(const XmlNode* child) {
    EffectOverride record;
    std::string category;
    xmlAttrString(child, "category", category);
    record.mImpactType = impactTypeFromName(category);
    record.mEffectName = xmlText(child);
    xmlAttrFloat(child, "timeOffset", record.mTimeOffset);
    xmlAttrInt(child, "offsetZ", record.mOffsetZ);
    xmlAttrBool(child, "rotate", record.mRotate);
    xmlAttrBool(child, "damagedOnly", record.mDamagedOnly);
    mEffectOverrides.push_back(std::move(record));
}

void ProtoEntity::loadLocalizedTexts() {
    const std::string prefix = "Entity_" + mName + "_";
    const auto text = [&](const char* field) {
        return localizedStringOrDefault(prefix + field, "");
    };
    mDisplayName = text("DisplayName");
    mShortHelp = text("ShortHelp");
    mDetailedHelp = text("DetailedHelp");
    mPowerAttackDisplayName = text("PowerAttackDisplayName");
    mAltPowerAttackDisplayName = text("AltPowerAttackDisplayName");
    mClassDisplayName = text("ClassDisplayName");
}
