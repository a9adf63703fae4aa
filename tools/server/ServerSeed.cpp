#include "tools/server/ServerSeed.h"

#include "tools/server/ServerAccounts.h"
#include "tools/server/ServerGames.h"

#include "service/GameRecordReader.h"

#include "service/ServiceReply.h"

#include "content/TimeTexts.h"

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string requiredAttribute(const XmlNode& element, const char* name) {
    std::string value;
    if (!xmlAttrString(&element, name, value))
        throw ServerDatabaseError(std::string("seed: <") + element.name() + "> without " + name);
    return value;
}

std::string optionalAttribute(const XmlNode& element, const char* name, std::string fallback) {
    std::string value;
    return xmlAttrString(&element, name, value) ? value : fallback;
}

int64_t decimalAttribute(const XmlNode& element, const char* name, int64_t fallback) {
    std::string text;
    if (!xmlAttrString(&element, name, text))
        return fallback;
    int64_t value = 0;
    if (!parseDecimal(text, value))
        throw ServerDatabaseError(std::string("seed: <") + element.name() + "> " + name +
                                  " is not a number: " + text);
    return value;
}

void seedSetting(ServerDatabase& database, const XmlNode& element) {
    database.setSetting(requiredAttribute(element, "name"), requiredAttribute(element, "value"));
}

// <Account login="" password="" nickname="" home="" away="" avatar=""
// steamId=""/>: the last four optional.
void seedAccount(ServerDatabase& database, const XmlNode& element) {
    ServerAccount account;
    account.mLogin = requiredAttribute(element, "login");
    account.mPassword = requiredAttribute(element, "password");
    account.mNickname = requiredAttribute(element, "nickname");
    account.mHomeColor = decimalAttribute(element, "home", 0);
    account.mAwayColor = decimalAttribute(element, "away", 0);
    account.mAvatar = optionalAttribute(element, "avatar", account.mAvatar);
    account.mSteamId = optionalAttribute(element, "steamId", "");
    const AccountRefusal refusal = ServerAccounts(database).create(account);
    if (refusal != AccountRefusal::None)
        throw ServerDatabaseError("seed: account " + account.mLogin + ": " + refusalText(refusal));
}

// <News id="" title="" body=""/>
void seedNews(ServerDatabase& database, const XmlNode& element) {
    const int64_t id = decimalAttribute(element, "id", 0);
    if (id < 1)
        throw ServerDatabaseError("seed: <News> needs an id of 1 or more");
    database.prepare("INSERT INTO news (id, title, body) VALUES (?, ?, ?)")
        .bind(1, id)
        .bind(2, requiredAttribute(element, "title"))
        .bind(3, optionalAttribute(element, "body", ""))
        .step();
}

int64_t timeAttribute(const XmlNode& element, const char* name) {
    const std::string text = requiredAttribute(element, name);
    int64_t seconds = 0;
    if (!parseServerTime(text, seconds))
        throw ServerDatabaseError(std::string("seed: <") + element.name() + "> " + name +
                                  " is not a time: " + text);
    return seconds;
}

// <Player name="" status="" substatus="" civ="" avatar="" home="" away=""
// chats="" taunt="" build=""/>: all but the name optional.
ServerGamePlayer seedGamePlayer(const XmlNode& element) {
    ServerGamePlayer player;
    player.mName = requiredAttribute(element, "name");
    player.mStatus = optionalAttribute(element, "status", player.mStatus);
    player.mSubstatus = optionalAttribute(element, "substatus", player.mSubstatus);
    player.mCiv = optionalAttribute(element, "civ", "");
    player.mAvatar = optionalAttribute(element, "avatar", player.mAvatar);
    player.mHomeColor = decimalAttribute(element, "home", 0);
    player.mAwayColor = decimalAttribute(element, "away", 0);
    player.mNewChatCount = decimalAttribute(element, "chats", 0);
    player.mPlayTaunt = decimalAttribute(element, "taunt", 0);
    player.mBuildVersion = decimalAttribute(element, "build", 0);
    return player;
}

// <Game id="" created="" lastTurn="" creator="" method="" turnPlayer=""
// turns="" matchmade="" complete="" state=""> with its <Player> elements in
// seat order; the times as the service writes them, the state in base64;
// id, created and creator required.
void seedGame(ServerDatabase& database, const XmlNode& element) {
    ServerGame game;
    game.mId = decimalAttribute(element, "id", 0);
    if (game.mId < 1)
        throw ServerDatabaseError("seed: <Game> needs an id of 1 or more");
    SqlStatement taken = database.prepare("SELECT 1 FROM games WHERE id = ?");
    if (taken.bind(1, game.mId).step())
        throw ServerDatabaseError("seed: game " + std::to_string(game.mId) + " given twice");
    game.mCreationTime = timeAttribute(element, "created");
    if (xmlFindAttribute(&element, "lastTurn") != nullptr)
        game.mLastTurnTime = timeAttribute(element, "lastTurn");
    game.mCreationPlayer = requiredAttribute(element, "creator");
    game.mCreationMethod = optionalAttribute(element, "method", game.mCreationMethod);
    game.mCurrentTurnPlayer = optionalAttribute(element, "turnPlayer", "");
    game.mTurnCount = decimalAttribute(element, "turns", 0);
    game.mWasMatchmade = decimalAttribute(element, "matchmade", 0);
    game.mIsComplete = decimalAttribute(element, "complete", 0) != 0;
    const std::vector<uint8_t> state = decodeBase64(optionalAttribute(element, "state", ""));
    game.mState.assign(state.begin(), state.end());
    for (const XmlNode* child = element.first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (!xmlNameEquals(child, "Player"))
            throw ServerDatabaseError("seed: <Game> holds only <Player> elements");
        game.mPlayers.push_back(seedGamePlayer(*child));
    }
    ServerGames(database).store(game);
}

} // namespace

const std::map<std::string, SeedHandler, std::less<>>& seedHandlers() {
    static const std::map<std::string, SeedHandler, std::less<>> handlers = {
        {"Setting", &seedSetting},
        {"Account", &seedAccount},
        {"News", &seedNews},
        {"Game", &seedGame},
    };
    return handlers;
}

void applyServerSeed(ServerDatabase& database, const std::filesystem::path& file) {
    std::ifstream stream(file, std::ios::binary);
    if (!stream)
        throw ServerDatabaseError("cannot read the seed " + file.string());
    std::ostringstream bytes;
    bytes << stream.rdbuf();

    XMLHelper holder;
    holder.setText(bytes.str());
    XmlNode* root = nullptr;
    if (!holder.parse(root) || (root = holder.document().first_node()) == nullptr ||
        !xmlNameEquals(root, "ServerSeed"))
        throw ServerDatabaseError("the seed " + file.string() + " is not a <ServerSeed> file");
    for (const XmlNode* element = root->first_node(); element != nullptr;
         element = element->next_sibling()) {
        if (element->type() != rapidxml::node_element)
            continue;
        const auto handler =
            seedHandlers().find(std::string_view(element->name(), element->name_size()));
        if (handler == seedHandlers().end())
            throw ServerDatabaseError("seed: unknown element <" +
                                      std::string(element->name(), element->name_size()) + ">");
        handler->second(database, *element);
    }
}
