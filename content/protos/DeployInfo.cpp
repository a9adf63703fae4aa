#include "content/protos/DeployInfo.h"

#include "content/protos/ProtoFields.h"
#include "rules/core/NameTable.h"

#include <array>
#include <string_view>

namespace {

constexpr std::array<std::string_view, 4> cTargetKindNames = {
    "DeployZone",
    "Unit",
    "GameBoard",
    "RemoteDeploy",
};

} // namespace

DeployInfo::~DeployInfo() = default;

bool DeployInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    const int32_t kind = findNameExact(cTargetKindNames, xmlText(element));
    if (kind >= 0)
        mTargetKind = kind;
    for (const XmlAttribute* attribute = element->first_attribute(); attribute;
         attribute = attribute->next_attribute()) {
        if (xmlNameEquals(attribute, "allowDead")) {
            mLivingTargetsOnly = false;
        } else if (xmlNameEquals(attribute, "dead")) {
            mLivingTargetsOnly = false;
            mDeadTargetsOnly = true;
        } else if (xmlNameEquals(attribute, "damaged")) {
            mDamaged = true;
        } else if (xmlNameEquals(attribute, "victoryUnit")) {
            mVictoryUnit = true;
        } else if (xmlNameEquals(attribute, "allowVictoryUnitSpotOverride")) {
            mAllowVictoryUnitSpotOverride = true;
        } else if (xmlNameEquals(attribute, "TEMP_KX4_structureRemoteDeploy")) {
            mStructureRemoteDeploy = true;
        } else if (xmlNameEquals(attribute, "relation")) {
            if (xmlValueEquals(attribute, "ally"))
                mRelation = cDeployRelationAlly;
            else if (xmlValueEquals(attribute, "enemy"))
                mRelation = cDeployRelationEnemy;
        }
    }
    return true;
}
