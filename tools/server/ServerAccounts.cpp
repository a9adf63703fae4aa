#include "tools/server/ServerAccounts.h"

#include <openssl/rand.h>

#include <algorithm>
#include <cstdio>

namespace {

bool printable(std::string_view text) {
    // Control characters are refused; bytes above 127 (UTF-8) pass.
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

constexpr const char* cColumns =
    "id, login, password, nickname, auth_key, home_color, away_color, avatar, steam_id";

ServerAccount readAccount(const SqlStatement& row) {
    ServerAccount account;
    account.mId = row.columnInt64(0);
    account.mLogin = row.columnText(1);
    account.mPassword = row.columnText(2);
    account.mNickname = row.columnText(3);
    account.mAuthKey = row.columnText(4);
    account.mHomeColor = row.columnInt64(5);
    account.mAwayColor = row.columnInt64(6);
    account.mAvatar = row.columnText(7);
    account.mSteamId = row.columnText(8);
    return account;
}

} // namespace

const char* refusalText(AccountRefusal refusal) {
    switch (refusal) {
    case AccountRefusal::InvalidUsername:
        return "InvalidUsername";
    case AccountRefusal::InvalidPassword:
        return "InvalidPassword";
    case AccountRefusal::InvalidNickname:
        return "InvalidNickname";
    case AccountRefusal::DuplicateUser:
        return "DuplicateUser";
    case AccountRefusal::DuplicateNickname:
        return "DuplicateNickname";
    case AccountRefusal::None:
        break;
    }
    return "";
}

bool validLogin(std::string_view login) {
    return !login.empty() && login.size() <= 254 && printable(login) &&
           login.find(' ') == std::string_view::npos;
}

bool validPassword(std::string_view password) {
    return !password.empty() && password.size() <= 128;
}

bool validNickname(std::string_view nickname) {
    return !nickname.empty() && nickname.size() <= 32 && printable(nickname) &&
           nickname.find_first_of(",<>&|") == std::string_view::npos && nickname != "!";
}

AccountRefusal ServerAccounts::create(ServerAccount& account) {
    if (!validLogin(account.mLogin))
        return AccountRefusal::InvalidUsername;
    if (!validPassword(account.mPassword))
        return AccountRefusal::InvalidPassword;
    if (!validNickname(account.mNickname))
        return AccountRefusal::InvalidNickname;
    if (byLogin(account.mLogin))
        return AccountRefusal::DuplicateUser;
    if (byNickname(account.mNickname))
        return AccountRefusal::DuplicateNickname;
    SqlStatement insert = mDatabase.prepare(
        "INSERT INTO accounts (login, password, nickname, auth_key, home_color, away_color, "
        "avatar, steam_id) VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
    insert.bind(1, account.mLogin)
        .bind(2, account.mPassword)
        .bind(3, account.mNickname)
        .bind(4, account.mAuthKey)
        .bind(5, account.mHomeColor)
        .bind(6, account.mAwayColor)
        .bind(7, account.mAvatar)
        .bind(8, "");
    insert.step();
    account.mId = insert.columnInt64(0);
    if (!account.mSteamId.empty())
        bindSteamId(account.mId, account.mSteamId);
    return AccountRefusal::None;
}

std::optional<ServerAccount> ServerAccounts::findBy(std::string_view column,
                                                    std::string_view value) {
    if (value.empty())
        return std::nullopt;
    SqlStatement query = mDatabase.prepare(std::string("SELECT ") + cColumns +
                                           " FROM accounts WHERE " + std::string(column) + " = ?");
    query.bind(1, value);
    if (!query.step())
        return std::nullopt;
    return readAccount(query);
}

std::optional<ServerAccount> ServerAccounts::byLogin(std::string_view login) {
    return findBy("login", login);
}

std::optional<ServerAccount> ServerAccounts::byNickname(std::string_view nickname) {
    return findBy("nickname", nickname);
}

std::optional<ServerAccount> ServerAccounts::byAuthKey(std::string_view authKey) {
    return findBy("auth_key", authKey);
}

std::optional<ServerAccount> ServerAccounts::bySteamId(std::string_view steamId) {
    return findBy("steam_id", steamId);
}

std::string ServerAccounts::newAuthKey(int64_t id) {
    unsigned char bytes[16];
    if (RAND_bytes(bytes, sizeof bytes) != 1)
        throw ServerDatabaseError("no random bytes for an auth key");
    std::string key;
    for (const unsigned char byte : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02x", byte);
        key += digits;
    }
    setAuthKey(id, key);
    return key;
}

void ServerAccounts::setAuthKey(int64_t id, std::string_view authKey) {
    setColumn(id, "auth_key", authKey);
}

void ServerAccounts::setPassword(int64_t id, std::string_view password) {
    setColumn(id, "password", password);
}

void ServerAccounts::bindSteamId(int64_t id, std::string_view steamId) {
    mDatabase.prepare("UPDATE accounts SET steam_id = '' WHERE steam_id = ?")
        .bind(1, steamId)
        .step();
    setColumn(id, "steam_id", steamId);
}

void ServerAccounts::setColumn(int64_t id, std::string_view column, std::string_view value) {
    mDatabase.prepare("UPDATE accounts SET " + std::string(column) + " = ? WHERE id = ?")
        .bind(1, value)
        .bind(2, id)
        .step();
}
