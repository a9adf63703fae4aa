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
#include <string_view>
#include <utility>
#include <vector>

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

// The children read by a handler of their own.
enum class Child {
    Type,
    DeployEffect,
    Atlas,
    Puppet,
    DamageType,
    AttackInfo,
    ProjectileInfo,
    HelperIconInfo,
    BuffInfo,
    AllyAbility,
    DeployInfo,
    AnchorPoint,
    CanHeal,
    CanRevive,
    BonusRange,
    DeployToEntityState,
    EquipCategory,
    EffectOverride,
    Ongoing,
    AutoAttach,
};

const std::pair<std::string_view, Child> cChildNames[] = {
    {"Type", Child::Type},
    {"DeployEffect", Child::DeployEffect},
    {"Atlas", Child::Atlas},
    {"Puppet", Child::Puppet},
    {"DamageType", Child::DamageType},
    {"AttackInfo", Child::AttackInfo},
    {"ProjectileInfo", Child::ProjectileInfo},
    {"HelperIconInfo", Child::HelperIconInfo},
    {"BuffInfo", Child::BuffInfo},
    {"AllyAbility", Child::AllyAbility},
    {"DeployInfo", Child::DeployInfo},
    {"AnchorPoint", Child::AnchorPoint},
    {"CanHeal", Child::CanHeal},
    {"CanRevive", Child::CanRevive},
    {"BonusRange", Child::BonusRange},
    {"DeployToEntityState", Child::DeployToEntityState},
    {"EquipCategory", Child::EquipCategory},
    {"EffectOverride", Child::EffectOverride},
    {"Ongoing", Child::Ongoing},
    {"AutoAttach", Child::AutoAttach},
};

// Every child name of an entity: a key read straight into its member, or a
// child read by its handler. One look-up per child.
struct ChildRead {
    const FieldKey<P>* key; // null for a child with a handler
    Child child;
};

std::vector<NameIndex<ChildRead>::Entry> childReadEntries() {
    std::vector<NameIndex<ChildRead>::Entry> entries;
    for (const FieldKey<P>& key : cEntityKeys)
        entries.push_back({key.name, {&key, Child::Type}});
    for (const auto& [name, child] : cChildNames)
        entries.push_back({name, {nullptr, child}});
    return entries;
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
    static const std::vector<NameIndex<ChildRead>::Entry> childEntries = childReadEntries();
    static const NameIndex<ChildRead> children(childEntries);
    static const FieldKeyIndex<ProtoEntity> canHealKeys(cCanHealKeys);
    static const FieldKeyIndex<ProtoEntity> canReviveKeys(cCanReviveKeys);
    static const FieldKeyIndex<ProtoEntity> ongoingKeys(cOngoingKeys);
    static const FieldKeyIndex<ProtoEntity> autoAttachKeys(cAutoAttachKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        const auto* entry = children.find(std::string_view(child->name(), child->name_size()));
        if (!entry)
            continue;
        if (entry->value.key) {
            readKeyedValue(*this, *entry->value.key, child);
            continue;
        }
        switch (entry->value.child) {
        case Child::Type:
            loadType(child);
            break;
        case Child::DeployEffect:
            mDeployEffect = xmlValueView(child);
            if (xmlFindAttribute(child, "alternateAnimVersusCrystal"))
                mAlternateAnimVersusCrystal = true;
            break;
        case Child::Atlas:
            mAtlas = std::make_unique<AtlasInfo>();
            mAtlas->load(child);
            break;
        case Child::Puppet:
            loadPuppet(child);
            break;
        case Child::DamageType:
            if (xmlValueEquals(child, "physical"))
                mDamageType = cDamagePhysical;
            else if (xmlValueEquals(child, "Magic"))
                mDamageType = cDamageMagic;
            break;
        case Child::AttackInfo:
            if (!mAttackInfo)
                std::printf("**> AttackInfo of '%s' ignored: the proto has no attack part\n",
                            mName.c_str());
            else if (!mAttackInfo->load(child))
                return false;
            break;
        case Child::ProjectileInfo:
            loadPart(mProjectileInfo, child);
            break;
        case Child::HelperIconInfo:
            loadPart(mHelperIconInfo, child);
            break;
        case Child::BuffInfo:
            loadPart(mBuffInfo, child);
            break;
        case Child::AllyAbility:
            loadPart(mAllyAbility, child);
            break;
        case Child::DeployInfo:
            loadPart(mDeployInfo, child);
            break;
        case Child::AnchorPoint:
            xmlAttrFloat(child, "x", mAnchorPoint.x);
            xmlAttrFloat(child, "y", mAnchorPoint.y);
            break;
        case Child::CanHeal:
            mCanHeal = true;
            canHealKeys.readAttributes(*this, child);
            break;
        case Child::CanRevive:
            mCanRevive = true;
            canReviveKeys.readAttributes(*this, child);
            break;
        case Child::BonusRange:
            xmlAttrInt(child, "X", mBonusRangeX);
            xmlAttrInt(child, "Y", mBonusRangeY);
            break;
        case Child::DeployToEntityState:
            mDeployToEntityState = entityStateFromName(xmlValueView(child));
            break;
        case Child::EquipCategory:
            mEquipCategory = PuppetRegistry::categoryIndex(xmlValueView(child));
            break;
        case Child::EffectOverride:
            loadEffectOverride(child);
            break;
        case Child::Ongoing:
            ongoingKeys.readAttributes(*this, child);
            break;
        case Child::AutoAttach:
            mAutoAttachProto = -1;
            autoAttachKeys.readAttributes(*this, child);
            break;
        }
    }
    loadLocalizedTexts();
    return true;
}

void ProtoEntity::loadType(const XmlNode* child) {
    mType = entityTypeFromName(xmlValueView(child));
    if (mType == cEntityUnit || mType == cEntityPower)
        mAttackInfo = std::make_unique<ProtoAttackInfo>();
}

void ProtoEntity::loadPuppet(const XmlNode* child) {
    const bool preload = preloadPuppets();
    if (preload)
        mPuppetHandle = PuppetRegistry::loadPuppet(xmlText(child));
    else
        mPuppetName = xmlValueView(child);
    loadUpgrades(child, preload);
}

void ProtoEntity::loadUpgrades(const XmlNode* puppet, bool preload) {
    for (const XmlNode* upgrade = puppet->first_node("Upgrade"); upgrade;
         upgrade = upgrade->next_sibling("Upgrade")) {
        if (!preload) {
            mUpgradePuppetNames.emplace_back(xmlValueView(upgrade));
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
    static constexpr std::string_view cNames[] = {"category", "timeOffset", "offsetZ", "rotate",
                                                  "damagedOnly"};
    const XmlAttribute* found[std::size(cNames)];
    xmlFindAttributes(child, cNames, found);
    EffectOverride& record = mEffectOverrides.emplace_back();
    record.mImpactType = impactTypeFromName(xmlValueView(found[0]));
    record.mEffectName = xmlValueView(child);
    if (found[1])
        xmlValueFloat(found[1], record.mTimeOffset);
    if (found[2])
        xmlValueInt(found[2], record.mOffsetZ);
    if (found[3])
        xmlValueBool(found[3], record.mRotate);
    if (found[4])
        xmlValueBool(found[4], record.mDamagedOnly);
}

void ProtoEntity::loadLocalizedTexts() {
    // The keys "Entity_<name>_<field>" of one proto sit together in the sorted
    // table: one search finds the first, and a walk reads them all. A field
    // without its key is empty.
    constexpr std::string_view cEntity = "Entity_";
    char buffer[128];
    std::string heapPrefix;
    const size_t prefixSize = cEntity.size() + mName.size() + 1;
    char* key = buffer;
    if (prefixSize > sizeof buffer) {
        heapPrefix.resize(prefixSize);
        key = heapPrefix.data();
    }
    cEntity.copy(key, cEntity.size());
    mName.copy(key + cEntity.size(), mName.size());
    key[prefixSize - 1] = '_';
    const std::string_view prefix(key, prefixSize);
    std::string* const fields[] = {
        &mDisplayName,
        &mShortHelp,
        &mDetailedHelp,
        &mPowerAttackDisplayName,
        &mAltPowerAttackDisplayName,
        &mClassDisplayName,
    };
    static constexpr std::string_view cFieldNames[] = {
        "DisplayName",
        "ShortHelp",
        "DetailedHelp",
        "PowerAttackDisplayName",
        "AltPowerAttackDisplayName",
        "ClassDisplayName",
    };
    for (std::string* field : fields)
        field->clear();
    const LocalizedStringTable& strings = localizedStrings();
    for (auto entry = strings.lower_bound(prefix);
         entry != strings.end() && entry->first.starts_with(prefix); ++entry) {
        const std::string_view field = std::string_view(entry->first).substr(prefix.size());
        for (size_t i = 0; i < std::size(cFieldNames); ++i)
            if (field == cFieldNames[i])
                *fields[i] = entry->second;
    }
}
