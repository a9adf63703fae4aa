// The local player's colours and avatar: loaded from the preferences at
// start-up, replaced at login, and changed by the player's choices, each
// change posted to the service through the workers.

#include "service/WebService.h"

#include "service/BSecureStorage.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"
#include "service/ServiceWorkers.h"

namespace {

constexpr const char* cHomeColorKey = "LocalPlayerHomeColor";
constexpr const char* cAwayColorKey = "LocalPlayerAwayColor";
constexpr const char* cAvatarKey = "LocalPlayerAvatar";

} // namespace

bool readAvatarValue(std::string_view value, std::string& id, int32_t& variant) {
    // The pieces between separators, runs of separators read as one.
    std::vector<std::string_view> pieces;
    while (!value.empty() && pieces.size() < 2) {
        const size_t bar = value.find('|');
        if (bar != 0)
            pieces.push_back(value.substr(0, bar));
        value = bar == std::string_view::npos ? std::string_view() : value.substr(bar + 1);
    }
    int32_t number = 0;
    if (pieces.size() < 2 || !parseDecimal(pieces[1], number))
        return false;
    id = std::string(pieces[0]);
    variant = number;
    return true;
}

void WebService::loadLocalSettings() {
    BSecureStorage& prefs = store();
    int32_t home = 0;
    int32_t away = 0;
    const bool hasHome = prefs.prefGetInt(cHomeColorKey, home);
    const bool hasAway = prefs.prefGetInt(cAwayColorKey, away);
    std::string avatar;
    const bool hasAvatar = prefs.getValue(cAvatarKey, avatar);

    const std::lock_guard lock(mIdentityMutex);
    if (hasHome)
        mLocalHomeColor = home;
    if (hasAway)
        mLocalAwayColor = away;
    if (hasAvatar) {
        setLocalAvatarLocked(avatar);
    } else {
        mLocalAvatar = cFallbackAvatar;
        mLocalAvatarVariant = 0;
    }
}

void WebService::setLocalAvatar(std::string_view value) {
    const std::lock_guard lock(mIdentityMutex);
    setLocalAvatarLocked(value);
}

void WebService::setLocalAvatarLocked(std::string_view value) {
    if (!readAvatarValue(value, mLocalAvatar, mLocalAvatarVariant)) {
        mLocalAvatar = cFallbackAvatar;
        mLocalAvatarVariant = 0;
    }
}

LocalAvatar WebService::localAvatar() const {
    const std::lock_guard lock(mIdentityMutex);
    return {mLocalAvatar, mLocalAvatarVariant};
}

std::string WebService::localAvatarPackId() {
    return localAvatar().mId;
}

int32_t WebService::localAvatarIndex() {
    return localAvatar().mVariant;
}

int32_t WebService::localHomeColor() const {
    const std::lock_guard lock(mIdentityMutex);
    return mLocalHomeColor;
}

int32_t WebService::localAwayColor() const {
    const std::lock_guard lock(mIdentityMutex);
    return mLocalAwayColor;
}

void WebService::updateHomeColor(int32_t color) {
    {
        const std::lock_guard lock(mIdentityMutex);
        mLocalHomeColor = color;
    }
    store().prefSetInt(color, cHomeColorKey);
    postUpdate(Endpoint::UpdateHomeColor, "homeColor", std::to_string(color));
}

void WebService::updateAwayColor(int32_t color) {
    {
        const std::lock_guard lock(mIdentityMutex);
        mLocalAwayColor = color;
    }
    store().prefSetInt(color, cAwayColorKey);
    postUpdate(Endpoint::UpdateAwayColor, "awayColor", std::to_string(color));
}

void WebService::updateAvatar(const std::string& id, int32_t variant) {
    {
        const std::lock_guard lock(mIdentityMutex);
        mLocalAvatar = id;
        mLocalAvatarVariant = variant;
    }
    const std::string value = id + "|" + std::to_string(variant);
    store().setLocalPlayerAvatar(value);
    postUpdate(Endpoint::UpdateAvatar, "avatar", value);
}

void WebService::postUpdate(Endpoint endpoint, std::string_view field, std::string_view value) {
    const RequestStamp stamp = this->stamp(endpoint);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, field, value);
    // Not noticed when it fails: the service's value returns at the next login.
    serviceWorkers().sendAndForget(std::move(request));
}
