#pragma once

// The one process-wide holder of the rules' constants and of the content
// lists that are not entity protos, read at start-up from "settings.xml"
// (CRC-checked): board size, rack width, action points and costs, scoring,
// rule switches, the kinds of premium square and the auras. Rules read the
// members directly. Filled once on the main thread, read-only afterwards.

#include "content/XMLHelper.h"
#include "content/settings/ProtoAura.h"
#include "content/settings/ProtoPremiumTile.h"
#include "content/settings/ScoringInfo.h"
#include "rules/core/EntityState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class SettingsManager {
public:
    SettingsManager();
    SettingsManager(SettingsManager&&) = default;
    SettingsManager& operator=(SettingsManager&&) = default;
    // Deletes the scoring record and every record of every list.
    ~SettingsManager();

    static SettingsManager& instance();

    // Start-up's load: "settings.xml", then the boards, civs and player
    // colours. False when a file cannot be used or a record refuses its
    // element; what was read so far stays.
    bool init();
    // The elements of settings.xml's root, in document order; false for a
    // null root, a refused premium tile or aura, or a negative board size.
    bool loadSettings(const XmlNode* root);
    // Back to the construction defaults.
    void clear();

    // The first kind of premium square of that type, or null.
    const ProtoPremiumTile* premiumTileKind(int32_t type) const;

    bool mInitialized = false;
    int32_t mBoardWidth = 0;
    int32_t mBoardHeight = 0;
    float mBoardMaxDistanceWidthScale = 1.0f;
    int32_t mTileRackWidth = 0;
    int32_t mActionPointsPerTurn = 0;
    int32_t mKnockoutDeathThreshold = 0;
    std::unique_ptr<ScoringInfo> mScoringInfo; // null until "scoring" is read
    // The game boards, civs, home and away player colours and the puzzle
    // catalogue join the lists here with their records and loaders.
    std::vector<std::unique_ptr<ProtoPremiumTile>> mPremiumTiles;
    std::vector<std::unique_ptr<ProtoAura>> mAuras;
    int32_t mScoreToWin = -1;
    bool mUseVictoryHealthPool = true;
    int32_t mVictoryDamageOnCorpseStomp = 0;
    // The action points an action of each ActionType costs unless the
    // entity's proto says otherwise.
    std::array<int32_t, cActionTypeCount> mDefaultActionCost{};
    int32_t mInitialUnitWeighting = 3;
    bool mRestrictedTargeting = false;
    bool mRangedAttackBlocking = false;
    bool mRangedAttackBlockingVersion2 = false;
    bool mSplitTileChest = false;
    int32_t mChallengesCategoryIndex = -1;
    int32_t mTutorialsCategoryIndex = -1;

private:
    void loadDefaultActionCost(const XmlNode* element);
};
