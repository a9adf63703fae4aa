#include "shell/BridgeAppearanceRows.h"

#include "shell/PageHost.h"
#include "shell/PageText.h"

#include "content/AvatarPack.h"
#include "content/Preferences.h"
#include "content/settings/SettingsManager.h"
#include "scene/views/ImagePaths.h"
#include "service/WebService.h"

#include <string>

BridgeResult bridgeGetColorString(CocosV8Handler&, const BridgeArguments& arguments) {
    const SettingsManager& settings = SettingsManager::instance();
    const int32_t index = arguments.integer(1);
    const PlayerColor* color =
        arguments.boolean(0) ? settings.getHomeColor(index) : settings.getAwayColor(index);
    if (color == nullptr)
        return std::nullopt;
    return nlohmann::json("rgb(" + std::to_string(color->mRed) + ", " +
                          std::to_string(color->mGreen) + ", " + std::to_string(color->mBlue) +
                          ");");
}

BridgeResult bridgeGetPlayerColor(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const WebService& service = handler.service();
    return nlohmann::json(arguments.boolean(0) ? service.localHomeColor()
                                               : service.localAwayColor());
}

BridgeResult bridgeSelectPlayerColor(CocosV8Handler& handler, const BridgeArguments& arguments) {
    if (arguments.boolean(0))
        handler.service().updateHomeColor(arguments.integer(1));
    else
        handler.service().updateAwayColor(arguments.integer(1));
    return std::nullopt;
}

BridgeResult bridgeGetLocalAvatar(CocosV8Handler&, const BridgeArguments&) {
    return nlohmann::json(AvatarPack::getDefaultAvatar());
}

BridgeResult bridgeGetLocalAvatarColor(CocosV8Handler&, const BridgeArguments&) {
    std::string path;
    if (!findColorImagePath(AvatarPack::getDefaultAvatar(), path))
        return std::nullopt;
    return nlohmann::json(path);
}

BridgeResult bridgeAddAvatarsForPack(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const std::string packId = arguments.text(0);
    const AvatarPack* pack = AvatarPack::findById(packId);
    if (pack == nullptr)
        return std::nullopt;
    // Widened: a start near the largest integer does not overflow.
    const int64_t start = arguments.integer(1);
    const int64_t count = int64_t(pack->mAvatars.size());
    const std::string id = escapedForPage(packId);
    const std::string homeColor = std::to_string(handler.service().localHomeColor());
    for (int64_t i = 0; i < count; ++i) {
        const std::string avatar = pack->getAvatar(int32_t(i));
        // The colour layer's path is sent whether or not its file exists.
        std::string colourPath;
        findColorImagePath(avatar, colourPath);
        runInPage("addAvatarPackEntry(" + std::to_string(start + i) + ", '" + id + "', " +
                  std::to_string(i) + ", '" + escapedForPage(avatar) + "', '" +
                  escapedForPage(colourPath) + "', " + homeColor + ", 1);");
    }
    return nlohmann::json(start + count);
}

BridgeResult bridgeSelectAvatar(CocosV8Handler& handler, const BridgeArguments& arguments) {
    handler.service().updateAvatar(arguments.text(0), arguments.integer(1));
    return std::nullopt;
}

BridgeResult bridgeGetAvatarColorize(CocosV8Handler&, const BridgeArguments&) {
    bool colorize = false;
    return nlohmann::json(prefGetBool("Vellix_AvatarColor", colorize) && colorize);
}
