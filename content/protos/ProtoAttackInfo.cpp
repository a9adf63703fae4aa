#include "content/protos/ProtoAttackInfo.h"

#include "content/protos/ProtoFields.h"

namespace {

using P = ProtoAttackInfo;
using K = FieldKind;

const FieldKey<P> cAttackKeys[] = {
    {"meleeDamageMultiplier", K::Float, &P::mMeleeDamageMultiplier},
    {"rangedDamageMultiplier", K::Float, &P::mRangedDamageMultiplier},
    {"meleeAnim", K::Anim, &P::mMeleeAnim},
    {"rangedAnim", K::Anim, &P::mRangedAnim},
    {"knockback", K::Int, &P::mKnockback},
    {"MagnetRange", K::Int, &P::mMagnetRange},
    {"Intercept", K::Int, &P::mIntercept},
    {"pierceMultiplier", K::Float, &P::mPierceMultiplier},
    {"ignoresBlockers", K::Presence, &P::mIgnoresBlockers},
    {"piercesPast", K::Presence, &P::mPiercesPast},
    {"usesSpotter", K::Presence, &P::mUsesSpotter},
    {"SpotTargetRange", K::Int, &P::mSpotTargetRange},
    {"chainRadius", K::Int, &P::mChainRadius},
    {"chainJumps", K::Int, &P::mChainJumps},
    {"chainFalloff", K::Float, &P::mChainFalloff},
    {"chainHealOnly", K::Presence, &P::mChainHealOnly},
    {"leechPercentage", K::Float, &P::mLeechPercentage},
    {"assaultBoost", K::Float, &P::mAssaultBoost},
    {"cutdownBonus", K::Int, &P::mCutdownBonus},
    {"AOEDamageConservation", K::Float, &P::mAOEDamageConservation},
    {"AOEOnlyAtRange", K::Bool, &P::mAOEOnlyAtRange},
    {"AOEReplaceWithBlockers", K::Bool, &P::mAOEReplaceWithBlockers},
    {"AOEUsesGridDistance", K::Bool, &P::mAOEUsesGridDistance},
    {"AOEOnlyAgainstCrystals", K::Bool, &P::mAOEOnlyAgainstCrystals},
    {"AOEFriendlyFire", K::Bool, &P::mAOEFriendlyFire},
    {"MultiTargetBonusDamage", K::Int, &P::mMultiTargetBonusDamage},
    {"corpseExplosion", K::Float, &P::mCorpseExplosion},
    {"AttachProto", K::ProtoRef, &P::mAttachProto},
    {"rangedOnlyKnockback", K::Presence, &P::mRangedOnlyKnockback},
    {"radialKnockback", K::Presence, &P::mRadialKnockback},
    {"arcingKnockback", K::Presence, &P::mArcingKnockback},
    {"execute", K::Presence, &P::mExecute},
    {"whirlwind", K::Presence, &P::mWhirlwind},
    {"enragePowerBoost", K::Float, &P::mEnragePowerBoost},
    {"enrageThreshold", K::Float, &P::mEnrageThreshold},
    {"DamagePowerScaling", K::Float, &P::mDamagePowerScaling},
    {"DestroyInventoryClass", K::Text, &P::mDestroyInventoryClass},
    {"ChargeCost", K::Int, &P::mChargeCost},
    {"RepeatedAttackBonus", K::Int, &P::mRepeatedAttackBonus},
    {"RepeatedAOEBonus", K::Int, &P::mRepeatedAOEBonus},
    {"BackstabMultiplier", K::Float, &P::mBackstabMultiplier},
};

} // namespace

ProtoAttackInfo::~ProtoAttackInfo() = default;

bool ProtoAttackInfo::load(const XmlNode* element) {
    if (!element)
        return false;
    static const FieldKeyIndex<ProtoAttackInfo> keys(cAttackKeys);
    keys.readAttributes(*this, element);
    return true;
}
