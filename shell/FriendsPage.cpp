#include "shell/FriendsPage.h"

#include "shell/PageHost.h"
#include "shell/PageText.h"
#include "shell/Popup.h"

#include "content/LocalizedStrings.h"
#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamFriends.h"
#include "service/WebService.h"

#include <algorithm>
#include <strings.h>

bool compareFriendsForList(const FriendListEntry& a, const FriendListEntry& b) {
    const bool aOnline = a.mState == SteamFriends::cPersonaStateOnline;
    const bool bOnline = b.mState == SteamFriends::cPersonaStateOnline;
    if (aOnline != bOnline)
        return aOnline;
    return strcasecmp(a.mName.c_str(), b.mName.c_str()) < 0;
}

void populateFriends(WebService& service) {
    SteamFriends* friends = SteamClient::friends();
    if (friends == nullptr)
        return;
    // One reading of every friend: the order and the page calls agree even
    // when a name or state changes meanwhile.
    std::vector<FriendListEntry> list;
    const int32_t count = friends->getFriendCount(SteamFriends::cFriendFlagImmediate);
    for (int32_t i = 0; i < count; ++i) {
        const uint64_t id = friends->getFriendByIndex(i, SteamFriends::cFriendFlagImmediate);
        const int32_t state = friends->getFriendPersonaState(id);
        list.push_back({id, state, friends->getFriendPersonaName(id)});
    }
    std::sort(list.begin(), list.end(), compareFriendsForList);

    if (!service.mSteamFriendsRequested && !list.empty()) {
        std::vector<int64_t> ids;
        for (const FriendListEntry& entry : list)
            ids.push_back(static_cast<int64_t>(entry.mId));
        runUnderProgressHUD(localizedString("SteamFriendSync"),
                            [&service, &ids] { service.getSteamFriends(ids); });
    }

    for (size_t position = 0; position < list.size(); ++position) {
        const FriendListEntry& entry = list[position];
        std::string account;
        const bool hasAccount = service.findSteamFriend(account, static_cast<int64_t>(entry.mId));
        runInPage("addFriendEntry(" + std::to_string(position) + ", \"" +
                  escapedForPage(entry.mName) + "\", " + std::to_string(entry.mState) + ", \"" +
                  std::to_string(entry.mId) + "\", " + (hasAccount ? "1" : "0") + ");");
    }
}

BridgeResult bridgePopulateFriends(CocosV8Handler& handler, const BridgeArguments&) {
    populateFriends(handler.service());
    return std::nullopt;
}

BridgeResult bridgeSteamFriendClicked(CocosV8Handler& handler, const BridgeArguments& arguments) {
    const uint64_t id = arguments.platformId(0);
    std::string name;
    // The account name is escaped: a quote in it cannot break the statement.
    if (handler.service().findSteamFriend(name, static_cast<int64_t>(id)))
        runInPage("$('#CreateGameOpponentName').val('" + escapedForPage(name) +
                  "'); showTeamSelect('0', '', false);");
    else
        runInPage("locAlert('SteamFriendNotPlayingTW');");
    return std::nullopt;
}
