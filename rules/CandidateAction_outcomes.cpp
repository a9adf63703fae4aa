#include "rules/AnimStateIds.h"
#include "rules/CandidateAction.h"
#include "rules/Entity.h"
#include "rules/Game.h"

#include "content/protos/ProtoEntity.h"

namespace {

// The source's attack info; null without a source, proto or attack.
const ProtoAttackInfo* sourceAttack(const CandidateAction& action, const Entity** outSource) {
    const Entity* source =
        action.mGame != nullptr ? action.mGame->getEntity(action.mSourceEntity) : nullptr;
    const ProtoEntity* proto = source != nullptr ? source->getProto() : nullptr;
    if (outSource != nullptr)
        *outSource = source;
    return proto != nullptr ? proto->mAttackInfo.get() : nullptr;
}

} // namespace

float CandidateAction::getVisualDelay() const {
    const ProtoAttackInfo* attack = sourceAttack(*this, nullptr);
    if (attack == nullptr)
        return 0.1f;
    if (attack->mArcingKnockback)
        return 0.6f;
    if (attack->mMagnetRange > 0)
        return isBigAttackVariant() ? 1.0f : 0.3f;
    return 0.1f;
}

bool CandidateAction::isBigAttackVariant() const {
    const Entity* source = nullptr;
    if (sourceAttack(*this, &source) == nullptr)
        return false;
    const ActionResultInfo* result = findResult(mSourceEntity);
    if (result == nullptr)
        return false;
    const int32_t variant = source->chooseAnimationVariant(cAnimStateAttack, result, false);
    return variant == cAnimStateAttackBig || variant == cAnimStateAttackBigMelee;
}

bool CandidateAction::raisedDead() const {
    const Entity* source = mGame != nullptr ? mGame->getEntity(mSourceEntity) : nullptr;
    const ProtoEntity* proto = source != nullptr ? source->getProto() : nullptr;
    if (proto == nullptr || proto->mRaiseDeadProto < 0)
        return false;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = result != nullptr ? mGame->getEntity(result->mEntityID) : nullptr;
        if (entity != nullptr && entity->mProtoId == proto->mRaiseDeadProto &&
            result->mInitialState == cStateDead)
            return true;
    }
    return false;
}

bool CandidateAction::executedLowHealthTarget() const {
    const ProtoAttackInfo* attack = sourceAttack(*this, nullptr);
    if (attack == nullptr || !attack->mExecute)
        return false;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = result != nullptr ? mGame->getEntity(result->mEntityID) : nullptr;
        if (entity != nullptr && result->mInitialState == cStateDeployedToGameBoard &&
            (result->mFinalState == cStateKnockedOut || result->mFinalState == cStateDead) &&
            entity->isLowHealth(result->mInitialHealthFraction))
            return true;
    }
    return false;
}

bool CandidateAction::cutDownHealthyTarget() const {
    const ProtoAttackInfo* attack = sourceAttack(*this, nullptr);
    if (attack == nullptr || attack->mCutdownBonus <= 0)
        return false;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = result != nullptr ? mGame->getEntity(result->mEntityID) : nullptr;
        if (entity != nullptr && result->mEntityID != mSourceEntity &&
            !entity->isLowHealth(result->mInitialHealthFraction))
            return true;
    }
    return false;
}

bool CandidateAction::explodedCorpse() const {
    const ProtoAttackInfo* attack = sourceAttack(*this, nullptr);
    if (attack == nullptr || attack->mCorpseExplosion == 0.0f)
        return false;
    for (const ActionResultInfo* result : mResults) {
        const Entity* entity = result != nullptr ? mGame->getEntity(result->mEntityID) : nullptr;
        if (entity != nullptr && result->mInitialState == cStateKnockedOut &&
            result->mFinalState == cStateDead)
            return true;
    }
    return false;
}
