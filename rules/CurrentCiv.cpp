#include "rules/CurrentCiv.h"

#include "rules/Game.h"
#include "rules/Player.h"

#include "content/settings/SettingsManager.h"

#include <cstdint>

bool currentPlayerIsKx4a() {
    const Player* player = gCurrentGame != nullptr ? gCurrentGame->getCurrentPlayer() : nullptr;
    if (player == nullptr)
        return false;
    int32_t kx4a = -1;
    return SettingsManager::instance().civIDForName("kx4a", kx4a) && kx4a >= 0 &&
           player->mCivId == kx4a;
}
