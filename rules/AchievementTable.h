#pragma once

// The game's 60 achievements, by id, with the platform stat that counts
// toward each (empty when none) and the stat value at which it unlocks
// (0 for achievements without a stat). The tracker and the platform side
// read the same table.

#include <array>
#include <cstdint>
#include <string_view>

struct AchievementRow {
    int32_t mId;
    int32_t mGoal;
    std::string_view mApiName;
    std::string_view mStatName;
};

inline constexpr int32_t cAchievementCount = 60;

// Ids the rules report by name.
enum AchievementId : int32_t {
    cAchievementUseUndo = 0,
    cAchievementKnockoutEnemy = 1,
    cAchievementKnockout3 = 2,
    cAchievementSubmit5Turns = 3,
    cAchievementSubmit100Turns = 4,
    cAchievementTaunt = 5,
    cAchievementStompTwoHeroes = 7,
    cAchievement2000DamageAttack = 9,
    cAchievementWinByCrystal = 10,
    cAchievementWinByAttrition = 11,
    cAchievementWinRandomGame = 12,
    cAchievementTwoCrystalsOneTurn = 13,
    cAchievementNoDamageTaken = 14,
    cAchievementMoveIn3Min = 15,
    cAchievementMoveIn1Day = 16,
    cAchievementCouncilWin = 17,
    cAchievementCouncilWin50 = 18,
    cAchievementFullyEquipKnight = 19,
    cAchievementCouncilRezFullyHeal = 20,
    cAchievementArcherOneShot = 21,
    cAchievementWizard3Scroll = 22,
    cAchievementNinja3K = 23,
    cAchievementDarkElvesWin = 24,
    cAchievementDarkElvesWin50 = 25,
    cAchievementPriestessDebuff3 = 27,
    cAchievementVoidMonk3 = 28,
    cAchievement2Phantom = 29,
    cAchievementWin25 = 30,
    cAchievementWin100 = 31,
    cAchievementDwarvesWin = 33,
    cAchievementCrystalShield = 34,
    cAchievementGunnerHit3 = 35,
    cAchievementGrenadierHit4 = 36,
    cAchievementPaladinSelfHeal = 37,
    cAchievementAnnihilatorKO3 = 38,
    cAchievementDwarvesWin50 = 39,
    cAchievementTribeWin = 40,
    cAchievementWarriorExecute2 = 41,
    cAchievementAxeThrowerCutdown3 = 42,
    cAchievementWitchCorpseExplosion = 43,
    cAchievementShamanChainHeal3 = 44,
    cAchievementChieftainSingleAttack = 45,
    cAchievementTribeWin50 = 46,
    cAchievementKxFourWin = 47,
    // The crossover team's units.
    cAchievementQuellanLongShot = 48,
    cAchievementGorvanHit3 = 49,
    cAchievementTascorKnockOut2 = 50,
    cAchievementGunAttachments = 51,
    cAchievementMirelleLinksGorvan = 52,
    cAchievementKxFourWin50 = 53,
};

extern const std::array<AchievementRow, cAchievementCount> kAchievementTable;

// The row of an id, or null outside 0 .. 59.
const AchievementRow* findAchievementRow(int32_t id);
