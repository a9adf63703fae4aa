// Accounts: registration, the two logins, logout, password resets, the
// platform id and friends, and the colour and avatar updates. A request
// names its account by its auth key; an unknown or empty key is
// "NotLoggedIn".

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerRoutes.h"

#include "service/ServiceReply.h"

#include <optional>

namespace {

constexpr size_t cMaxAvatarBytes = 128;

ServerReply xml(std::string_view root, std::string_view text = {}) {
    return {200, xmlReply(root, {}, text)};
}

// The login's answer: a new auth key and everything the client keeps.
ServerReply loginSuccess(RouteContext& context, ServerAccounts& accounts,
                         const ServerAccount& account) {
    const std::string authKey = accounts.newAuthKey(account.mId);
    return {200, xmlReply("LoginSuccess", {{"r", std::to_string(account.mId)},
                                           {"n", account.mNickname},
                                           {"a", authKey},
                                           {"home", std::to_string(account.mHomeColor)},
                                           {"away", std::to_string(account.mAwayColor)},
                                           {"avatar", account.mAvatar},
                                           {"t", std::to_string(serverClock(context.database))}})};
}

// A colour update: the field as a decimal index of 0 or more.
RouteHandler colorUpdate(const char* field, const char* column) {
    return forAccount([field, column](RouteContext& context, ServerAccounts& accounts,
                                      const ServerAccount& account) {
        int32_t color = 0;
        if (!parseDecimal(context.field(field), color) || color < 0)
            return errorReply("InvalidColor");
        accounts.setColumn(account.mId, column, std::to_string(color));
        return xml("Success");
    });
}

bool allDigits(std::string_view text) {
    return !text.empty() && text.size() <= 20 &&
           text.find_first_not_of("0123456789") == std::string_view::npos;
}

} // namespace

RouteHandler forAccount(AccountHandler handler) {
    return [handler = std::move(handler)](RouteContext& context) {
        ServerAccounts accounts(context.database);
        const std::optional<ServerAccount> account = accounts.byAuthKey(context.field("authKey"));
        if (!account)
            return errorReply("NotLoggedIn");
        return handler(context, accounts, *account);
    };
}

void addAccountRoutes(ServerRoutes& routes) {
    routes["Accounts/registerWithNickname"] = [](RouteContext& context) {
        ServerAccounts accounts(context.database);
        ServerAccount account;
        account.mLogin = context.field("reqUsername");
        account.mPassword = context.field("password");
        account.mNickname = context.field("nickname");
        const AccountRefusal refusal = accounts.create(account);
        if (refusal != AccountRefusal::None)
            return xml("RegisterError", refusalText(refusal));
        return ServerReply{200,
                           xmlReply("RegisterSuccess", {{"a", accounts.newAuthKey(account.mId)}})};
    };
    routes["Accounts/login"] = [](RouteContext& context) {
        ServerAccounts accounts(context.database);
        const std::optional<ServerAccount> account = accounts.byLogin(context.field("username"));
        // One answer for an unknown name and a wrong password.
        if (!account || account->mPassword != context.field("password"))
            return xml("LoginError", "InvalidPassword");
        return loginSuccess(context, accounts, *account);
    };
    routes["Accounts/loginWithAuthKey"] = [](RouteContext& context) {
        ServerAccounts accounts(context.database);
        const std::optional<ServerAccount> account = accounts.byAuthKey(context.field("authKey"));
        if (!account)
            return xml("LoginError", "NotLoggedIn");
        return loginSuccess(context, accounts, *account);
    };
    routes["Accounts/logout"] =
        forAccount([](RouteContext&, ServerAccounts& accounts, const ServerAccount& account) {
            accounts.setAuthKey(account.mId, "");
            return xml("Success");
        });
    routes["Accounts/requestPasswordReset"] = [](RouteContext& context) {
        // No mail is sent: the loopback server only tells a known name.
        ServerAccounts accounts(context.database);
        if (!accounts.byLogin(context.field("email")))
            return xml("RegisterError", "InvalidUsername");
        return xml("RegisterSuccess");
    };
    routes["Accounts/requestPasswordResetByLogin"] = forAccount(
        [](RouteContext& context, ServerAccounts& accounts, const ServerAccount& account) {
            const std::string password = context.field("newpassword");
            if (!validPassword(password))
                return xml("RegisterError", "InvalidPassword");
            accounts.setPassword(account.mId, password);
            return xml("RegisterSuccess");
        });
    routes["Accounts/registerSteam"] = forAccount(
        [](RouteContext& context, ServerAccounts& accounts, const ServerAccount& account) {
            const std::string steamId = context.field("steamID");
            if (!allDigits(steamId))
                return xml("RegisterError", "InvalidSteamID");
            accounts.bindSteamId(account.mId, steamId);
            return xml("RegisterSuccess");
        });
    // Plain text: "<Success>" then, for each listed id, the nickname of the
    // account bound to it or "!", each followed by a comma, then "</Success>".
    routes["Accounts/getSteamFriends"] =
        forAccount([](RouteContext& context, ServerAccounts& accounts, const ServerAccount&) {
            std::string body = "<Success>";
            const std::string listed = context.field("list");
            std::string_view list = listed;
            while (!list.empty()) {
                const size_t comma = list.find(',');
                const std::string_view id = list.substr(0, comma);
                list =
                    comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
                if (id.empty())
                    continue;
                const std::optional<ServerAccount> friendAccount =
                    allDigits(id) ? accounts.bySteamId(id) : std::nullopt;
                body += (friendAccount ? friendAccount->mNickname : std::string("!")) + ",";
            }
            return ServerReply{200, body + "</Success>", "text/plain"};
        });
    routes["Accounts/updatePlayerHomeColorByBrassmoorID"] = colorUpdate("homeColor", "home_color");
    routes["Accounts/updatePlayerAwayColorByBrassmoorID"] = colorUpdate("awayColor", "away_color");
    routes["Accounts/updatePlayerAvatarByBrassmoorID"] = forAccount(
        [](RouteContext& context, ServerAccounts& accounts, const ServerAccount& account) {
            const std::string avatar = context.field("avatar");
            if (avatar.empty() || avatar.size() > cMaxAvatarBytes)
                return errorReply("InvalidAvatar");
            accounts.setColumn(account.mId, "avatar", avatar);
            return xml("Success");
        });
}
