#include "content/protos/BuffInfo.h"

#include "content/protos/AuraType.h"
#include "content/protos/Database.h"
#include "content/protos/ProtoFields.h"
#include "rules/core/NameTable.h"

#include <cstdio>

const std::array<std::string_view, 12> cBuffEffectTypeNames = {
    "modifyStat",
    "heal",
    "redirect",
    "physicalEvasion",
    "rangeIncrease",
    "addShields",
    "barrier",
    "terminateAOE",
    "untargettable",
    "untargettableAtRange",
    "attachProtoToLinkedUnits",
    "UnequipProto",
};

const std::array<std::string_view, 17> cBuffStatNames = {
    "Hitpoints",        "MaxHitpoints", "Power",        "Defense",         "Resist",
    "Charge",           "RoleBonus",    "TeamBonus",    "PremiumBonus",    "Shields",
    "PhysicalWeakness", "Spikes",       "RangedSpikes", "SplashReduction", "NonVictoryDamage",
    "" /* a proto */,   "MoveRange",
};

const std::array<std::string_view, 13> cBuffConsumeTypeNames = {
    "Use",         "Action",          "Damaged",      "Triggered",      "PowerUsingAction",
    "ZeroShields", "DamagedPhysical", "ActionOrMove", "ActionOrDamage", "ActionOrMoveOrDamage",
    "EndOfTurn",   "EndOfEnemyTurn",  "Move",
};

namespace {

using P = BuffInfo;
using K = FieldKind;

const FieldKey<P> cBuffFlagKeys[] = {
    {"OnePerCaster", K::Presence, &P::mOnePerCaster},
    {"DiesWithCaster", K::Presence, &P::mDiesWithCaster},
    {"ConsumesAllOthers", K::Presence, &P::mConsumesAllOthers},
    {"UpgradesPuppet", K::Presence, &P::mUpgradesPuppet},
    {"UnequipWithOngoingEnd", K::Presence, &P::mUnequipWithOngoingEnd},
    {"EquipWithOngoingBegin", K::Presence, &P::mEquipWithOngoingBegin},
};

std::vector<int32_t> gLinkedAttachProtos;
std::vector<int32_t> gUnequipProtos;

bool fail(const char* message) {
    std::printf("**> %s\n", message);
    return false;
}

} // namespace

BuffEffect::~BuffEffect() = default;

bool BuffEffect::load(const XmlNode* element) {
    if (!element)
        return false;
    mValue = parseFloatText(xmlText(element));
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        const std::string value = xmlText(attribute);
        if (xmlNameEquals(attribute, "type")) {
            mType = findNameExact(cBuffEffectTypeNames, value);
            if (mType < 0)
                return fail("invalid buff effect type");
        } else if (xmlNameEquals(attribute, "target")) {
            const int32_t stat = findNameExact(cBuffStatNames, value);
            if (stat >= 0) {
                mTarget = stat;
            } else if (mType == cBuffAttachProtoToLinkedUnits || mType == cBuffUnequipProto) {
                // The target is a proto; one that does not resolve matches nothing.
                mTargetProto = Database::getProtoIdByName(value);
                if (mTargetProto >= 0)
                    mTarget = cStatProto;
            } else {
                return fail("invalid buff target type");
            }
        } else if (xmlNameEquals(attribute, "relativity")) {
            if (value == "multiply")
                mRelativity = cRelativityMultiply;
            else if (value == "absolute")
                mRelativity = cRelativityAbsolute;
            else if (value == "increaseTo")
                mRelativity = cRelativityIncreaseTo;
            else
                return fail("invalid buff relativity type");
        } else if (xmlNameEquals(attribute, "attachProto")) {
            mAttachProto = Database::getProtoIdByName(value);
        }
    }
    if (mType < 0) {
        const std::string name(element->name(), element->name_size());
        std::printf("**> improperly specified buff effect for %s\n", name.c_str());
        return false;
    }
    return true;
}

BuffInfo::~BuffInfo() = default;

bool BuffInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    if (const XmlAttribute* range = xmlFindAttribute(element, "Range"))
        readFieldValue(range, FieldKind::Int, mRange);
    static const FieldKeyIndex<BuffInfo> flagKeys(cBuffFlagKeys);
    for (const XmlNode* child = element->first_node(); child; child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (flagKeys.read(*this, child))
            continue;
        if (xmlNameEquals(child, "ConsumeType")) {
            const int32_t consume = findNameExact(cBuffConsumeTypeNames, xmlText(child));
            if (consume >= 0)
                mConsumeType = consume;
        } else if (xmlNameEquals(child, "Effect")) {
            auto effect = std::make_unique<BuffEffect>();
            if (effect->load(child))
                mEffects.push_back(std::move(effect));
        } else if (xmlNameEquals(child, "Aura")) {
            mAuraType = auraTypeFromName(xmlText(child));
        }
    }
    return true;
}

void BuffInfo::applyStatEffects(int32_t effectType, int32_t stat, float& value,
                                float factor) const {
    for (const auto& effect : mEffects) {
        if (!effect || effect->mType != effectType || effect->mTarget != stat)
            continue;
        const float amount = effect->mValue * factor;
        switch (effect->mRelativity) {
        case cRelativityMultiply:
            value *= amount;
            break;
        case cRelativityAbsolute:
            value += amount;
            break;
        case cRelativityIncreaseTo:
            if (value < amount) // an unordered compare leaves the value
                value = amount;
            break;
        default:
            break;
        }
    }
}

int32_t BuffInfo::collectLinkedAttachProtos(int32_t protoId) const {
    gLinkedAttachProtos.clear();
    for (const auto& effect : mEffects)
        if (effect && effect->mType == cBuffAttachProtoToLinkedUnits &&
            (effect->mTargetProto < 0 || effect->mTargetProto == protoId))
            gLinkedAttachProtos.push_back(effect->mAttachProto);
    return static_cast<int32_t>(gLinkedAttachProtos.size());
}

int32_t BuffInfo::collectUnequipProtos() const {
    gUnequipProtos.clear();
    for (const auto& effect : mEffects)
        if (effect && effect->mType == cBuffUnequipProto)
            gUnequipProtos.push_back(effect->mTargetProto);
    return static_cast<int32_t>(gUnequipProtos.size());
}

bool BuffInfo::hasEffectOfType(int32_t effectType) const {
    for (const auto& effect : mEffects)
        if (effect && effect->mType == effectType)
            return true;
    return false;
}

const std::vector<int32_t>& BuffInfo::linkedAttachProtos() {
    return gLinkedAttachProtos;
}

const std::vector<int32_t>& BuffInfo::unequipProtos() {
    return gUnequipProtos;
}
