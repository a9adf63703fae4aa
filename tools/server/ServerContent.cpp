#include "tools/server/ServerContent.h"

#include "content/DataPath.h"
#include "content/LocalizedStrings.h"
#include "content/StartupOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"
#include "puzzle/PuzzleScriptLoader.h"
#include "scene/sound/SoundPlayback.h"

#include "platform/engine/CCFileUtils.h"
#include "platform/steam/SteamClient.h"

#include <cstdlib>

bool loadServerContent(std::string& error) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setupLanguageAndPaths(SteamClient::currentGameLanguage());
    loadLocalizableStrings();
    cocos2d::CCFileUtils::setResourcePath(resolvePath("data").string());
    // The catalogue reads the puzzles' scripts through it.
    installPuzzleScriptSupport();
    if (!Database::init()) {
        error = "failed to init database under " + resolvePath("data").string();
        return false;
    }
    if (!SettingsManager::instance().init()) {
        error = "failed to init settings under " + resolvePath("data").string();
        return false;
    }
    muteAudio();
    return true;
}
