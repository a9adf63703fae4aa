#pragma once

// The page's friends list: the signed-in user's direct platform friends,
// online ones first, each marked when it has an account on the game's
// service, and a click on one that starts a game with it. Main thread only.

#include "shell/CocosV8Handler.h"

#include <cstdint>
#include <string>
#include <vector>

class WebService;

// One friend as the list reads it from the platform, once.
struct FriendListEntry {
    uint64_t mId = 0;
    int32_t mState = 0;
    std::string mName;
};

// Whether a comes before b: online (state 1) before the rest, then names
// ignoring ASCII case.
bool compareFriendsForList(const FriendListEntry& a, const FriendListEntry& b);

// Sends the page one addFriendEntry per friend in list order. The first
// call of the run with friends asks the service, under the progress
// overlay, which of them have accounts.
void populateFriends(WebService& service);

// The bridge's populateFriends() and steamFriendClicked(steamID).
BridgeResult bridgePopulateFriends(CocosV8Handler& handler, const BridgeArguments& arguments);
BridgeResult bridgeSteamFriendClicked(CocosV8Handler& handler, const BridgeArguments& arguments);
