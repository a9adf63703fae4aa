#include "rules/CocosEntityLink.h"

#include "rules/Entity.h"

#include "content/protos/AuraType.h"
#include "content/settings/PremiumTileType.h"

CocosEntityLink::CocosEntityLink(Entity* owner) : CocosLink(owner) {}

cocos2d::CCNode* CocosEntityLink::getMainNode() const {
    return nullptr;
}

cocos2d::CCTargetedTouchDelegate* CocosEntityLink::getTouchDelegate() {
    return nullptr;
}

bool CocosEntityLink::hitTestPuppet(const cocos2d::CCPoint& /*point*/) const {
    return false;
}

void CocosEntityLink::applyEquipment(const ProtoEntity* /*item*/, bool /*animate*/) {}
void CocosEntityLink::removeEquipment(const ProtoEntity* /*item*/) {}
void CocosEntityLink::attachEquipmentSprite(int32_t /*itemId*/, bool /*fadeIn*/) {}
void CocosEntityLink::hideEquipmentSprites() {}
void CocosEntityLink::applyPremiumTileAura(const ActionResultInfo* /*result*/, float /*delay*/) {}
void CocosEntityLink::updatePremiumTileAura(const GridSlot& /*square*/, bool /*show*/,
                                            float /*delay*/, bool /*animate*/) {}
void CocosEntityLink::applyState(int32_t /*state*/) {}
void CocosEntityLink::showAura(int32_t /*aura*/, bool /*animate*/, float /*delay*/, bool /*flag*/) {
}
void CocosEntityLink::hideAura(int32_t /*aura*/, bool /*animate*/, float /*delay*/) {}
void CocosEntityLink::playAuraAbility(int32_t /*aura*/, float /*delay*/) {}
void CocosEntityLink::setAuraSelected(int32_t /*aura*/, bool /*selected*/, float /*delay*/) {}
void CocosEntityLink::setCharge(int32_t /*charge*/) {}
bool CocosEntityLink::isDualWielding() const {
    return false;
}
void CocosEntityLink::setCrystalDebuffLevel(int32_t /*level*/, bool /*animate*/, float /*delay*/) {}
void CocosEntityLink::setTargetMarker(int32_t /*kind*/) {}
cocos2d::CCNode* CocosEntityLink::getTargetMarkerNode() const {
    return nullptr;
}
void CocosEntityLink::setAllyAbilityMarker(bool /*show*/) {}
void CocosEntityLink::showLink(Entity* /*target*/, bool /*animated*/) {}
void CocosEntityLink::hideLink(Entity* /*target*/, bool /*animated*/) {}
void CocosEntityLink::updateHealthBar(float /*delay*/) {}
void CocosEntityLink::showHealthBar(float /*duration*/) {}
void CocosEntityLink::hideHealthBar(float /*duration*/) {}
void CocosEntityLink::showTooltipIndicator() {}
void CocosEntityLink::hideTooltipIndicator() {}
void CocosEntityLink::setHealthBarPercentage(float /*percent*/, bool /*animate*/, float /*delay*/) {
}
void CocosEntityLink::setHealthCategory(float /*fraction*/) {}
void CocosEntityLink::setTeamColorVisible(bool /*visible*/) {}
void CocosEntityLink::showPuppetUpgradeLevel(int32_t /*level*/, int32_t /*idleState*/,
                                             float /*blendTime*/) {}
void CocosEntityLink::rebuildEquipmentDisplay() {}

int32_t CocosEntityLink::premiumSquareAura(int32_t premiumType) {
    switch (premiumType) {
    case cPremiumPower:
        return cAuraPremiumSquarePower;
    case cPremiumDefense:
        return cAuraPremiumSquareDefense;
    case cPremiumVictoryDamageAdd:
        return cAuraPremiumSquareVictoryDamageAdd;
    case cPremiumVictoryDamageSubtract:
        return cAuraPremiumSquareVictoryDamageSubtract;
    case cPremiumResist:
        return cAuraPremiumSquareResist;
    default:
        return -1;
    }
}
