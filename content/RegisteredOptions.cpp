#include "content/RegisteredOptions.h"

#include "content/BConfig.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

void onLanguageChanged(int32_t /*optionId*/, bool /*set*/) {}

struct Registration {
    OptionId id;
    const char* name;
    const char* description;
    OptionCallback callback = nullptr;
};

constexpr Registration cRegistrations[] = {
    {cOptAppID, "AppID", "Override app ID"},
    {cOptTestPuppet, "TestPuppet", "hacky puppet test"},
    {cOptTestPuppetAnim, "TestPuppetAnim", "hacky puppet test anim name"},
    {cOptShowGameID, "ShowGameID", "shows game IDs for debugging"},
    {cOptLoginOtherUserPW, "LoginOtherUserPW",
     "after submit, try to log in as opposite user with this password"},
    {cOptSound, "Sound", "enable sound"},
    {cOptMusic, "Music", "enable music"},
    {cOptSoundPanFactor, "SoundPanFactor", "panning factor for sound"},
    {cOptShowFPS, "ShowFPS", "enable fps display"},
    {cOptAllowSwipeDelete, "AllowSwipeDelete", "allow swipe-to-delete on games list"},
    {cOptSkipUnspentAPConfirmDelay, "SkipUnspentAPConfirmDelay",
     "don't delay showing confirm buttons when have unspent AP"},
    {cOptPlayer1Red, "Player1Red", "Player color"},
    {cOptPlayer1Green, "Player1Green", "Player color"},
    {cOptPlayer1Blue, "Player1Blue", "Player color"},
    {cOptPlayer2Red, "Player2Red", "Player color"},
    {cOptPlayer2Green, "Player2Green", "Player color"},
    {cOptPlayer2Blue, "Player2Blue", "Player color"},
    {cOptFakeCursor, "FakeCursor", "fake cursor for video capture"},
    {cOptDetailsFont, "DetailsFont", "font for details"},
    {cOptHeaderFont, "HeaderFont", "font for headers"},
    {cOptProgrammaticEndGameEffectText, "ProgrammaticEndGameEffectText",
     "use programmatic versions of text in end-game effects"},
    {cOptOnlyUseTTF, "OnlyUseTTF", "only use ttf labels"},
    {cOptGamesListNameFontSize, "GamesListNameFontSize",
     "font size for player names in the games list"},
    {cOptGamesListNameYOffset, "GamesListNameYOffset",
     "y offset of player name labels in games list"},
    {cOptButtonTopInsetOverride, "ButtonTopInsetOverride", "top inset for buttons, in pixels"},
    {cOptUseGameCenter, "UseGameCenter", "enables game center integration"},
    {cOptResetAchievements, "ResetAchievements", "reset achievements"},
    {cOptOneLineTeamColorLabels, "OneLineTeamColorLabels",
     "loc hack to force one line labels on team color screen"},
    {cOptGameGuideURL, "GameGuideURL", "URL to game guide"},
    {cOptLanguage, "Language", "Override app language.  Use language code like en, de, fr, etc.",
     onLanguageChanged},
    {cOptBackgroundFetching, "BackgroundFetching", "Test background games list fetching"},
    {cOptLanguageDirectory, "LanguageDirectory",
     "sets directory for current language, not used on ios"},
    {cOptUsername, "Username", "username"},
    {cOptPassword, "Password", "password"},
    {cOptDisableAutoLogin, "DisableAutoLogin", "disableautologin"},
    {cOptDisableEncryption, "DisableEncryption", "disableencryption"},
    {cOptEnableConsole, "EnableConsole", "Enable the console to view debug output"},
    {cOptForceFirstTimeUser, "ForceFirstTimeUser", "forcefirsttimeuser"},
    {cOptTouchDragDeadZone, "TouchDragDeadZone", "size of dead zone for touch dragging"},
    {cOptSubmitTurnVersion, "SubmitTurnVersion", "use submit turn version 2"},
    {cOptCreateGameVersion, "CreateGameVersion", "use create game version 1"},
    {cOptTauntRewardForWinning, "TauntRewardForWinning",
     "driven from server config, for display purposes only"},
    {cOptTauntRewardForLosing, "TauntRewardForLosing",
     "driven from server config, for display purposes only"},
    {cOptMinTurnsForCountedWin, "MinTurnsForCountedWin",
     "number of turns before a game win/loss can be counted, for display purposes only"},
    {cOptShortVictoryTexture, "ShortVictoryTexture",
     "file path and name for the texture to use for the puzzle completion puppet"},
    {cOptLongVictoryTexture, "LongVictoryTexture",
     "file path and name for the texture used for game completion puppet"},
    {cOptDefeatTexture, "DefeatTexture", "file for the texture used in the defeat puppet"},
    {cOptPreloadPuppets, "PreloadPuppets", "load puppets at app launch instead of on demand"},
    {cOptUseSmallMOTD, "UseSmallMOTD", "force a smaller MOTD font"},
    {cOptUseSmallTeamDetails, "UseSmallTeamDetails",
     "force a smaller font in various places on the team details screens"},
    {cOptUseSmallGameDetailText, "UseSmallGameDetailText",
     "force a smaller font in the game details area"},
    {cOptUseSmallLoginForm, "UseSmallLoginForm",
     "force a smaller font in various places on the login and account create forms"},
    {cOptUseWideColorText, "UseWideColorText", "force a wide text area in the color picker"},
    {cOptProtectAsyncGame, "ProtectAsyncGame",
     "use a stronger form of memory protection around games list updates of a viewed game"},
    {cOptMouseoverTooltips, "MouseoverTooltips", "enable mouseover tooltips on win32"},
    {cOptShowBuildVersion, "ShowBuildVersion", "show build version"},
    {cOptBackgroundFPSCap, "BackgroundFPSCap", "cap FPS when no focus"},
    {cOptMinimizeToTray, "MinimizeToTray", "minimize to tray instead of taskbar"},
};

static_assert(std::size(cRegistrations) == cRegisteredOptionCount);

// Registers the options in table order; each registration must get the id
// its enumerator names, else every id-based read would address another option.
const int32_t gRegisteredCount = [] {
    BConfig& config = BConfig::instance();
    for (const Registration& entry : cRegistrations) {
        const int32_t id = config.registerOption(entry.name, entry.description, entry.callback);
        if (id != entry.id) {
            std::fprintf(stderr, "option %s registered as %d, expected %d\n", entry.name, id,
                         entry.id);
            std::abort();
        }
    }
    return static_cast<int32_t>(std::size(cRegistrations));
}();

} // namespace

int32_t registeredOptionCount() { return gRegisteredCount; }
