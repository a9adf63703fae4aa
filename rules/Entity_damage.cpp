// Entity: the damage intake. A hit is mitigated by defense (physical) or
// resist (magical), never below 0, then its unmitigated part is added; a
// unit whose ongoing link stops on damage loses the link; the rest comes off
// its health.

#include "rules/Entity.h"

#include "rules/Game.h"
#include "rules/RulesMath.h"

#include "content/protos/ProtoEntity.h"

#include <algorithm>

int32_t Entity::takeDamage(int32_t amount, int32_t damageType, int32_t unmitigated) {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || mGrid == nullptr || amount < 1)
        return 0;
    int32_t hit = amount;
    if (damageType == cDamagePhysical || damageType == cDamageMagic) {
        const float mitigation = damageType == cDamagePhysical ? getDefense() : getResist();
        hit = std::max(truncateToInt(static_cast<float>(amount) * (1.0f - mitigation)), 0);
    }
    hit = clampToInt(static_cast<double>(hit) + unmitigated);
    // Shields, protective items and the reactions of buffs take their part
    // of the hit here, with the attack rules.
    if (hit <= 0)
        return 0;
    if (proto->mStopOnDamage && mOngoingTargetEntityID >= 0)
        breakOngoingLink(mGame != nullptr ? mGame->mExecutingAction : nullptr);
    return -addHealth(-hit);
}
