// Accounts and login: the server clock, the two logins, logout, account
// creation, password resets and the platform account and friends.

#include "service/WebService.h"

#include "service/BSecureStorage.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"

#include "rules/SceneServices.h"

#include <string_view>

int WebService::getTime() {
    ServerRequest request(endpointUrl(Endpoint::GetTime));
    const PerformedRequest performed(request);
    int32_t serverTime = 0;
    if (!performed.reply.rootIs("root") ||
        !replyAttributeDecimal(*performed.reply.root(), "t", serverTime))
        return cReplyOther;
    setServerTimeOffset(static_cast<int32_t>(serverTime - clockSeconds()));
    return cReplySuccess;
}

void WebService::setStoredUsername(std::string_view value) {
    store().setStoredUsername(value);
}

void WebService::setStoredPassword(std::string_view value) {
    store().setStoredPassword(value);
}

int WebService::login() {
    const RequestStamp stamp = this->stamp(Endpoint::Login);
    const std::string username = store().getStoredUsername();
    const std::string password = store().getStoredPassword();
    ServerRequest request(stamp.mUrl);
    request.addFormString("username", username);
    request.addFormString("password", password);
    request.addFormString("device", stamp.mDeviceId);
    stamp.addSignature(request, username, password);
    return finishLogin(request);
}

int WebService::loginWithAuthKey() {
    setAuthKey(store().getStoredAuthKey());
    const RequestStamp stamp = this->stamp(Endpoint::LoginWithAuthKey);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    return finishLogin(request);
}

int WebService::finishLogin(ServerRequest& request) {
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;
    if (!reply.delivered())
        return cReplyNoReply;
    if (reply.rootIs("LoginSuccess"))
        return parseLoginSuccess(*reply.root());
    if (reply.rootIs("LoginError"))
        return cReplyError;
    return cReplyOther;
}

int WebService::parseLoginSuccess(const XmlNode& root) {
    int64_t accountId = 0;
    if (!replyAttributeDecimal(root, "r", accountId))
        return cReplyOther;
    {
        const std::lock_guard lock(mIdentityMutex);
        mAccountId = accountId;
    }
    std::string text;
    if (!xmlAttrString(&root, "n", text))
        return cReplyOther;
    setNickname(text);
    if (!xmlAttrString(&root, "a", text))
        return cReplyOther;
    setAuthKey(text);
    // The map only: the bridge saves the store after the login.
    store().setStoredAuthKey(text);

    const struct {
        const char* attribute;
        const char* preference;
        int32_t WebService::*member;
    } colors[] = {{"home", "LocalPlayerHomeColor", &WebService::mLocalHomeColor},
                  {"away", "LocalPlayerAwayColor", &WebService::mLocalAwayColor}};
    for (const auto& color : colors) {
        int32_t index = 0;
        if (!replyAttributeDecimal(root, color.attribute, index))
            return cReplyOther;
        {
            const std::lock_guard lock(mIdentityMutex);
            this->*color.member = index;
        }
        store().prefSetInt(index, color.preference);
    }

    if (!xmlAttrString(&root, "avatar", text))
        return cReplyOther;
    setLocalAvatar(text);
    int32_t serverTime = 0;
    if (!replyAttributeDecimal(root, "t", serverTime))
        return cReplyOther;
    setServerTimeOffset(static_cast<int32_t>(serverTime - clockSeconds()));

    mLoggedIn = true;
    sceneServices().updateCivLeaderboards();
    return cReplySuccess;
}

bool WebService::logout() {
    const RequestStamp stamp = this->stamp(Endpoint::Logout);
    ServerRequest request(stamp.mUrl);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    const PerformedRequest performed(request);
    if (!performed.reply.rootIs("Success"))
        return false;
    mLoggedIn = false;
    {
        const std::lock_guard lock(mIdentityMutex);
        mAuthKey.clear();
        mNickname.clear();
    }
    store().setStoredAuthKey("");
    return true;
}

int WebService::registerWithNickname(const std::string& username, const std::string& password,
                                     const std::string& nickname) {
    const RequestStamp stamp = this->stamp(Endpoint::RegisterWithNickname);
    ServerRequest request(stamp.mUrl);
    request.addFormString("reqUsername", username);
    request.addFormString("password", password);
    request.addFormString("nickname", nickname);
    request.addFormString("reqDevice", stamp.mDeviceId);
    request.addFormInt("ver", stamp.mVersion);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;
    if (!reply.delivered())
        return cReplyNoReply;
    if (reply.rootIs("RegisterSuccess")) {
        const char* authKey = reply.attribute("a");
        if (authKey == nullptr)
            return 2;
        // In memory only: the login that follows stores its own key.
        setAuthKey(authKey);
        return 0;
    }
    if (!reply.rootIs("RegisterError"))
        return 1;
    const struct {
        const char* text;
        int code;
    } errors[] = {{"InvalidUsername", 2}, {"InvalidPassword", 3},  {"Invalid_Password", 3},
                  {"InvalidNickname", 4}, {"Invalid_Nickname", 4}, {"DuplicateNickname", 5},
                  {"DuplicateUser", 6}};
    for (const auto& error : errors)
        if (reply.rootTextIs(error.text))
            return error.code;
    return 1;
}

int WebService::requestPasswordReset() {
    const RequestStamp stamp = this->stamp(Endpoint::RequestPasswordReset);
    ServerRequest request(stamp.mUrl);
    request.addFormString("email", store().getStoredUsername());
    request.addFormInt("ver", stamp.mVersion);
    const PerformedRequest performed(request);
    return performed.reply.result("RegisterSuccess", {0, 2, 2, 1});
}

int WebService::requestPasswordResetByLogin(const std::string& newPassword) {
    const RequestStamp stamp = this->stamp(Endpoint::RequestPasswordResetByLogin);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "newpassword", newPassword);
    const PerformedRequest performed(request);
    const ServiceReply& reply = performed.reply;
    if (reply.rootIs("RegisterError") && reply.rootTextIs("InvalidPassword"))
        return 1;
    return reply.result("RegisterSuccess", {0, 2, 2, 1});
}

int WebService::registerSteam(const std::string& steamId) {
    const RequestStamp stamp = this->stamp(Endpoint::RegisterSteam);
    ServerRequest request(stamp.mUrl);
    stamp.addSignedField(request, "steamID", steamId);
    const PerformedRequest performed(request);
    return performed.reply.result("RegisterSuccess", {0, 1, 1, 1});
}

int WebService::getSteamFriends(const std::vector<int64_t>& steamIds) {
    if (steamIds.empty())
        return 0;
    mSteamFriendsRequested = true;
    std::string list;
    for (const int64_t id : steamIds)
        list += std::to_string(static_cast<uint64_t>(id)) + ",";

    const RequestStamp stamp = this->stamp(Endpoint::GetSteamFriends);
    ServerRequest request(stamp.mUrl);
    request.addFormString("list", list);
    stamp.addIdentity(request);
    stamp.addSignature(request);
    if (!request())
        return 1;
    // A plain-text reply: "<Success>" then one piece per id, each followed by
    // a comma, then the closing tag as the last piece.
    const std::string text = request.getResponseString();
    constexpr std::string_view cSuccess = "<Success>";
    const size_t start = text.find(cSuccess);
    if (start == std::string::npos)
        return 1;
    std::vector<std::string_view> pieces;
    std::string_view rest = std::string_view(text).substr(start + cSuccess.size());
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view piece = rest.substr(0, comma);
        if (!piece.empty())
            pieces.push_back(piece);
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    if (pieces.size() != steamIds.size() + 1)
        return 0;
    for (size_t i = 0; i < steamIds.size(); ++i)
        if (pieces[i] != "!")
            mSteamFriends[steamIds[i]] = std::string(pieces[i]);
    return 0;
}

bool WebService::findSteamFriend(std::string& out, int64_t steamId) const {
    const auto found = mSteamFriends.find(steamId);
    if (found == mSteamFriends.end())
        return false;
    out = found->second;
    return true;
}
