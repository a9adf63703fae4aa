#pragma once

// The bridge functions of the player's appearance: the home and away
// colours and the avatar, read for the appearance page and changed through
// the online service. Main thread only.

#include "shell/CocosV8Handler.h"

BridgeResult bridgeGetColorString(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetPlayerColor(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSelectPlayerColor(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetLocalAvatar(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetLocalAvatarColor(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeAddAvatarsForPack(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSelectAvatar(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeGetAvatarColorize(CocosV8Handler& handler, const BridgeArguments& arguments);
