// Entity: the damage intake. A hit is mitigated by defense (physical) or
// resist (magical), never below 0, then its unmitigated part is added. Shield
// points, a "shield" item or the invincibility buff absorb it whole; the
// unit's buffs then react in grid order (weakness adds to it, a redirect
// hands it to the buff's caster, an evasion absorbs it) and those spent by
// damage are removed. A unit whose ongoing link stops on damage loses the
// link, and the rest comes off its health.
//
// Redirects can form rings (two units redirecting to each other): an entity
// already taking the hit further up the chain is not handed it again, and a
// missing or dead caster is skipped.

#include "rules/Entity.h"

#include "rules/ActionResultInfo.h"
#include "rules/CandidateAction.h"
#include "rules/EntityGrid.h"
#include "rules/Game.h"
#include "rules/RulesMath.h"

#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <algorithm>
#include <vector>

namespace {

// The entities whose intake is running, outermost first.
std::vector<int32_t> gIntakeChain;

// Keeps an entity in the chain while its intake runs.
class IntakeScope {
public:
    explicit IntakeScope(int32_t id) { gIntakeChain.push_back(id); }
    ~IntakeScope() { gIntakeChain.pop_back(); }
    IntakeScope(const IntakeScope&) = delete;
    IntakeScope& operator=(const IntakeScope&) = delete;
};

bool inIntakeChain(int32_t id) {
    return std::find(gIntakeChain.begin(), gIntakeChain.end(), id) != gIntakeChain.end();
}

bool isDamageConsume(int32_t consumeType, bool physical) {
    return consumeType == cConsumeDamaged || consumeType == cConsumeActionOrDamage ||
           consumeType == cConsumeActionOrMoveOrDamage ||
           (consumeType == cConsumeDamagedPhysical && physical);
}

} // namespace

int32_t Entity::redirectDamage(int32_t casterId, int32_t amount, int32_t damageType) {
    Entity* caster = mGame->getEntity(casterId);
    if (caster == nullptr || caster->mState == cStateDead || inIntakeChain(casterId))
        return amount;
    CandidateAction* action = mGame->mExecutingAction;
    ActionResultInfo* result = action != nullptr ? action->getOrCreateResult(casterId) : nullptr;
    const bool wasKnockedOut = caster->mState == cStateKnockedOut;
    const int32_t lost = caster->takeDamage(amount, damageType, 0);
    if (result != nullptr) {
        result->mHealthChange -= lost;
        const ScoringInfo* scoring = SettingsManager::instance().mScoringInfo.get();
        if (!wasKnockedOut && caster->mState == cStateKnockedOut && scoring != nullptr)
            result->mScore = scoring->mKnockout * mGame->getScoreMultiplier(mGame->mCurrentPlayer);
    }
    return 0;
}

int32_t Entity::takeDamage(int32_t amount, int32_t damageType, int32_t unmitigated) {
    const ProtoEntity* proto = getProto();
    if (proto == nullptr || mGame == nullptr || mGrid == nullptr || mState == cStateDead ||
        amount < 1)
        return 0;
    const IntakeScope scope(mId);
    const bool physical = damageType == cDamagePhysical;
    int32_t hit = amount;
    if (physical || damageType == cDamageMagic) {
        const float mitigation = physical ? getDefense() : getResist();
        hit = std::max(truncateToInt(static_cast<float>(amount) * (1.0f - mitigation)), 0);
    }
    hit = clampToInt(static_cast<double>(hit) + unmitigated);

    bool absorbed = false;
    if (getShields() > 0) {
        hit = 0;
        mShields = 0;
        absorbed = true;
    }
    const int32_t shieldItem = Database::getProtoIdByName("shield");
    const int32_t invincibility = Database::getProtoIdByName("kx4-SurgewardInvincibility");
    bool itemTookHit = false;
    if (hasEquippedProto(shieldItem)) {
        hit = 0;
        absorbed = itemTookHit = true;
        removeEquippedItemMatching(shieldItem, -1, false);
    }
    if (hasEquippedProto(invincibility)) {
        hit = 0;
        absorbed = itemTookHit = true;
    }

    for (const Entity* item : itemTookHit ? std::vector<Entity*>() : items()) {
        const ProtoEntity* itemProto = item->getProto();
        // An earlier reaction may have taken the item off already.
        if (item->mGrid != mInventory || itemProto == nullptr || itemProto->mType != cEntityBuff ||
            !itemProto->mBuffInfo)
            continue;
        const BuffInfo& buff = *itemProto->mBuffInfo;
        if (buff.mConsumeType == cConsumeZeroShields && getShields() < 1) {
            removeEquippedItem(item->mId);
            continue;
        }
        bool removed = false;
        bool evaded = false;
        for (const auto& effect : buff.mEffects) {
            if (!effect)
                continue;
            if (effect->mType == cBuffModifyStat && effect->mTarget == cStatPhysicalWeakness &&
                physical) {
                hit = clampToInt(static_cast<double>(hit) + truncateToInt(effect->mValue));
                if (buff.mConsumeType == cConsumeTriggered)
                    removed = removeEquippedItem(item->mId);
            } else if (effect->mType == cBuffRedirect) {
                hit = redirectDamage(item->mCreatorEntityID, hit, damageType);
            } else if (effect->mType == cBuffPhysicalEvasion && physical) {
                hit = 0;
                evaded = true;
                if (buff.mConsumeType == cConsumeTriggered)
                    removed = removeEquippedItem(item->mId);
            }
        }
        if (!removed && isDamageConsume(buff.mConsumeType, physical) && (hit > 0 || !absorbed))
            removeEquippedItem(item->mId);
        if (evaded)
            break;
    }

    if (hit <= 0)
        return 0;
    if (proto->mStopOnDamage && mOngoingTargetEntityID >= 0)
        breakOngoingLink(mGame->mExecutingAction);
    return -addHealth(-hit);
}
