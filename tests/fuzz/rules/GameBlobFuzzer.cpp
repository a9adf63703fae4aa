// Fuzzes Game::loadFromBuffer with blobs and bare archives over the shipped
// content. A game that loads must save, and its blob must load again.

#include "rules/Game.h"

#include "content/DataPath.h"
#include "content/RegisteredOptions.h"
#include "content/protos/Database.h"
#include "content/settings/SettingsManager.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
    setBaseFolder(TARNWICK_SOURCE_DIR);
    if (registeredOptionCount() != cRegisteredOptionCount || !Database::init() ||
        !SettingsManager::instance().init())
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return 0;
    Game* game = new Game();
    if (game->loadFromBuffer(data, static_cast<int32_t>(size), 1, true)) {
        const std::vector<uint8_t> saved = game->saveToBuffer();
        Game* again = new Game();
        if (!again->loadFromBuffer(saved.data(), static_cast<int32_t>(saved.size()), 1, false))
            std::abort();
        again->release();
    }
    game->release();
    undoStack().clear();
    Database::restoreRemap({});
    return 0;
}
