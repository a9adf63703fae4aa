#pragma once

// The options the program registers, by id. The ids are the positions of the
// registrations, made by static initialisers in this order before main.

#include <cstdint>

enum OptionId : int32_t {
    cOptAppID = 0,
    cOptTestPuppet,
    cOptTestPuppetAnim,
    cOptShowGameID,
    cOptLoginOtherUserPW,
    cOptSound,
    cOptMusic,
    cOptSoundPanFactor,
    cOptShowFPS,
    cOptAllowSwipeDelete,
    cOptSkipUnspentAPConfirmDelay,
    cOptPlayer1Red,
    cOptPlayer1Green,
    cOptPlayer1Blue,
    cOptPlayer2Red,
    cOptPlayer2Green,
    cOptPlayer2Blue,
    cOptFakeCursor,
    cOptDetailsFont,
    cOptHeaderFont,
    cOptProgrammaticEndGameEffectText,
    cOptOnlyUseTTF,
    cOptGamesListNameFontSize,
    cOptGamesListNameYOffset,
    cOptButtonTopInsetOverride,
    cOptUseGameCenter,
    cOptResetAchievements,
    cOptOneLineTeamColorLabels,
    cOptGameGuideURL,
    cOptLanguage,
    cOptBackgroundFetching,
    cOptLanguageDirectory,
    cOptUsername,
    cOptPassword,
    cOptDisableAutoLogin,
    cOptDisableEncryption,
    cOptEnableConsole,
    cOptForceFirstTimeUser,
    cOptTouchDragDeadZone,
    cOptSubmitTurnVersion,
    cOptCreateGameVersion,
    cOptTauntRewardForWinning,
    cOptTauntRewardForLosing,
    cOptMinTurnsForCountedWin,
    cOptShortVictoryTexture,
    cOptLongVictoryTexture,
    cOptDefeatTexture,
    cOptPreloadPuppets,
    cOptUseSmallMOTD,
    cOptUseSmallTeamDetails,
    cOptUseSmallGameDetailText,
    cOptUseSmallLoginForm,
    cOptUseWideColorText,
    cOptProtectAsyncGame,
    cOptMouseoverTooltips,
    cOptShowBuildVersion,
    cOptBackgroundFPSCap,
    cOptMinimizeToTray,
    cRegisteredOptionCount
};

// The number of options registered at start-up. Calling it also links the
// registrations into every program that reads the option files.
int32_t registeredOptionCount();
