// tarnwick-cli settings: loads the proto database and the rules settings and
// prints a summary of the settings.
#include "tools/cli/CliCommand.h"

#include "content/protos/AuraType.h"
#include "content/settings/SettingsManager.h"
#include "rules/core/EntityState.h"

#include <cstdio>

int runSettings(const CliArguments&) {
    if (!loadGameData())
        return 1;
    const SettingsManager& settings = SettingsManager::instance();
    std::printf("board %d x %d (far rows %.2f wide), tile rack %d\n", settings.mBoardWidth,
                settings.mBoardHeight, static_cast<double>(settings.mBoardMaxDistanceWidthScale),
                settings.mTileRackWidth);
    std::printf("%d action points per turn, knocked-out units die after %d turns, "
                "%d units first\n",
                settings.mActionPointsPerTurn, settings.mKnockoutDeathThreshold,
                settings.mInitialUnitWeighting);
    std::printf("action costs:");
    for (int32_t type = 0; type < cActionTypeCount; ++type)
        std::printf(" %.*s %d", static_cast<int>(cActionTypeNames[type].size()),
                    cActionTypeNames[type].data(), settings.mDefaultActionCost[type]);
    std::printf("\nscore to win %d, victory health pool %s, corpse stomp %d victory damage\n",
                settings.mScoreToWin, onOff(settings.mUseVictoryHealthPool),
                settings.mVictoryDamageOnCorpseStomp);
    if (const ScoringInfo* scoring = settings.mScoringInfo.get())
        std::printf("scoring: deploy %d, damage %d, knockout %d, equip %d, heal %d, revive %d, "
                    "score tile %d\n",
                    scoring->mDeploy, scoring->mDamage, scoring->mKnockout, scoring->mEquip,
                    scoring->mHeal, scoring->mRevive, scoring->mScoreTile);
    else
        std::printf("scoring: none\n");
    std::printf("restricted targeting %s, ranged attack blocking %s (version 2 %s), "
                "split tile chest %s\n",
                onOff(settings.mRestrictedTargeting), onOff(settings.mRangedAttackBlocking),
                onOff(settings.mRangedAttackBlockingVersion2), onOff(settings.mSplitTileChest));
    std::printf("%zu premium squares:\n", settings.mPremiumTiles.size());
    for (const auto& kind : settings.mPremiumTiles) {
        const std::string_view name = premiumTileTypeName(kind->mType);
        std::printf("    %-22.*s %4d  \"%s\"\n", static_cast<int>(name.size()), name.data(),
                    kind->mAmount, kind->mTooltipTitle.c_str());
    }
    std::printf("%zu auras:\n", settings.mAuras.size());
    for (const auto& aura : settings.mAuras) {
        const std::string_view name = aura->mType >= 0 ? cAuraTypeNames[aura->mType] : "(unknown)";
        std::printf("    %-34.*s %s\n", static_cast<int>(name.size()), name.data(),
                    aura->mEffect.c_str());
    }
    return 0;
}
