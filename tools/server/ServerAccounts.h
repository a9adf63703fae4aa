#pragma once

// The loopback server's accounts: login name, password, nickname, account id,
// the auth key of the current login (empty when logged out), both colours,
// the avatar value and the bound platform id. The password is kept as given:
// the login's signature "h" is computed over it. Login names and nicknames
// are unique ignoring ASCII case. Callers run inside a database transaction.

#include "tools/server/ServerDatabase.h"
#include "tools/server/ServerRoutes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct ServerAccount {
    int64_t mId = 0;
    std::string mLogin;
    std::string mPassword;
    std::string mNickname;
    std::string mAuthKey;
    int64_t mHomeColor = 0;
    int64_t mAwayColor = 0;
    std::string mAvatar = "AVATAR_COUNCIL_FREE|0";
    std::string mSteamId; // empty: none bound
};

// Why a new account is refused, with the service's error text.
enum class AccountRefusal {
    None,
    InvalidUsername,
    InvalidPassword,
    InvalidNickname,
    DuplicateUser,
    DuplicateNickname
};
const char* refusalText(AccountRefusal refusal);

// A login name of 1 to 254 printable characters without blanks.
bool validLogin(std::string_view login);
// A password of 1 to 128 bytes.
bool validPassword(std::string_view password);
// A nickname of 1 to 32 printable characters, none of them ',', '<', '>',
// '&' or '|', and not "!" (the friends list's marks).
bool validNickname(std::string_view nickname);

class ServerAccounts {
public:
    explicit ServerAccounts(ServerDatabase& database) : mDatabase(database) {}

    // Checks and stores account (its id is assigned); None when stored.
    AccountRefusal create(ServerAccount& account);
    std::optional<ServerAccount> byLogin(std::string_view login);
    // Nicknames compare ignoring ASCII case.
    std::optional<ServerAccount> byNickname(std::string_view nickname);
    // An empty key finds nothing.
    std::optional<ServerAccount> byAuthKey(std::string_view authKey);
    std::optional<ServerAccount> bySteamId(std::string_view steamId);

    // A fresh auth key for the account, stored and returned.
    std::string newAuthKey(int64_t id);
    void setAuthKey(int64_t id, std::string_view authKey);
    void setPassword(int64_t id, std::string_view password);
    // Binds steamId to the account, taking it from any other account.
    void bindSteamId(int64_t id, std::string_view steamId);
    // Column "home_color", "away_color" or "avatar".
    void setColumn(int64_t id, std::string_view column, std::string_view value);

private:
    std::optional<ServerAccount> findBy(std::string_view column, std::string_view value);
    ServerDatabase& mDatabase;
};

// A handler for the logged-in account of the request.
using AccountHandler =
    std::function<ServerReply(RouteContext&, ServerAccounts&, const ServerAccount&)>;
// The route that finds the request's account by its "authKey" and runs
// handler; "NotLoggedIn" for an unknown or empty key.
RouteHandler forAccount(AccountHandler handler);
