#pragma once

// The client of the game's web service: one process-wide object holding the
// service's base addresses, the player's identity and games, and the table of
// service paths; every request is formed through it.
//
// An address is a base address (ending in '/') followed by an endpoint's
// path. A signed request carries "device", "authKey", its own fields, "ver",
// "t" and "h" (RequestStamp); "t" is the clock in whole seconds plus the
// server time offset. The identity members, the local colours and avatar,
// the bases and the endpoint versions are read by worker threads:
// mIdentityMutex guards them and each request takes a copy when it is formed. The games and their
// records are guarded by gameDataMutex.
//
// Requests return the small codes of ServiceReply.h and never throw. The
// account, news and version requests block their caller (the main thread,
// or a page worker for the news); the colour and avatar updates post their
// request through the service's workers and return at once.

#include "rules/GameRecord.h"
#include "rules/GamesList.h"
#include "rules/ServerTurn.h"

#include "content/LocalAvatar.h"
#include "content/XMLHelper.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class BSecureStorage;
class ServerRequest;

// The local player's avatar: an id of the avatar packs and a variant.
struct LocalAvatar {
    std::string mId;
    int32_t mVariant = 0;
};

// createGame refuses locally at this many games waiting for either player.
inline constexpr int32_t kMaxRunningGames = 40;

// Set when the game data failed to load at start-up; no turn is submitted
// then. False at start.
extern std::atomic<bool> gGameInitFailed;

// The avatar used when none is stored or a stored value is unreadable.
inline constexpr const char* cFallbackAvatar = "AVATAR_COUNCIL_FREE";

// Reads an avatar value "id|variant" (runs of separators read as one, parts
// after the second ignored); false, outputs untouched, without a decimal
// variant.
bool readAvatarValue(std::string_view value, std::string& id, int32_t& variant);

// The base address an endpoint is joined to; None: no request sends to it.
enum class EndpointBase { None, Server, News, Config };

// The service paths, in the order of the endpoint table.
enum class Endpoint {
    GetTime,
    Login,
    LoginWithAuthKey,
    Logout,
    Register,
    RegisterWithNickname,
    RegisterNickname,
    RegisterFacebook,
    RegisterSteam,
    GetSteamFriends,
    RequestPasswordReset,
    RequestPasswordResetByLogin,
    RequestPasswordResetByResetToken,
    CreateGame,
    GetUserRecordByNickname,
    GetGameList,
    GetGameState,
    SubmitTurn,
    MatchAccepted,
    UpdatePlayerStatus,
    GetMyWinStatsByCiv,
    Matchmake,
    AddUserNotificationToken,
    GetGameChats,
    AddGameChat,
    GetVersions,
    Status,
    GetDowntimeMessage,
    GetNewsUrl,
    GetNews,
    GetGameGuideUrl,
    UpdateHomeColor,
    UpdateAwayColor,
    UpdateAvatar,
    ServerConfig,
    Count
};

struct WebServiceEndpoint {
    std::string mPath;    // relative to its base, no leading '/'
    int32_t mVersion = 1; // sent as "ver"
    EndpointBase mBase = EndpointBase::None;
};

// What a request takes from the client when it is formed: its address and
// version, and for a signed request the identity and the time.
struct RequestStamp {
    std::string mUrl;
    int32_t mVersion = 1;
    std::string mDeviceId;
    std::string mAuthKey;
    int32_t mTime = 0;

    // "device", "authKey": the head of a signed form.
    void addIdentity(ServerRequest& request) const;
    // "ver", "t" and "h" over the device id and the auth key.
    void addSignature(ServerRequest& request) const;
    // "ver", "t" and "h" over first and second (the login's user name and
    // password).
    void addSignature(ServerRequest& request, std::string_view first,
                      std::string_view second) const;
    // A whole signed form with one own field: identity, name = value,
    // signature.
    void addSignedField(ServerRequest& request, std::string_view name,
                        std::string_view value) const;
};

// The client is the rules' games list and the content's source of the local
// avatar once a program sets it up (setBaseUrls), until it is destroyed.
class WebService : public GamesList, public LocalAvatarSource {
public:
    // Reads the local clock in whole seconds.
    using Clock = std::function<int64_t()>;
    // Gives the device id sent as "device".
    using DeviceIdProvider = std::function<std::string()>;

    // Starts libcurl and builds the endpoint table. The process-wide client
    // is built before main, before any thread.
    WebService();
    WebService(const WebService&) = delete;
    WebService& operator=(const WebService&) = delete;
    // The process-wide client first ends the service's workers.
    ~WebService() override;

    // Sets the four base addresses and installs the client as the games list
    // and the local avatar source; called once at start-up.
    void setBaseUrls(std::string server, std::string news, std::string config, std::string extra);
    // mServerBaseUrl + path.
    std::string makeUrl(std::string_view path) const;
    // The full address of an endpoint: its base + its path; the path alone
    // for an endpoint without a base.
    std::string endpointUrl(Endpoint endpoint) const;
    const WebServiceEndpoint& endpoint(Endpoint endpoint) const;
    // Changes an endpoint's version (the server option text may).
    void setEndpointVersion(Endpoint endpoint, int32_t version);

    // A copy of what a request to the endpoint needs, taken under the lock;
    // reads the device id and the clock once.
    RequestStamp stamp(Endpoint endpoint) const;
    // The request time "t": the clock plus mServerTimeOffset.
    int32_t requestTime() const;
    // The clock's seconds (the offset is set against the same clock).
    int64_t clockSeconds() const;

    // The identity members, under the lock.
    std::string authKey() const;
    std::string nickname() const;
    int32_t serverTimeOffset() const override;
    void setAuthKey(std::string authKey);
    void setNickname(std::string nickname);
    void setServerTimeOffset(int32_t offset);

    // Injected by tests; the device id is the secure store's getStoredUDID
    // unless a provider is set.
    void setClock(Clock clock);
    void setDeviceIdProvider(DeviceIdProvider provider);
    // The store of credentials and preferences; the process-wide one unless
    // set (before setBaseUrls, which reads the colours and avatar from it).
    void setSecureStorage(BSecureStorage* store);

    // Accounts and login. Codes: see each request.
    // The server clock: 0 with mServerTimeOffset set, 2 otherwise.
    int getTime();
    // With the stored user name and password: 0 logged in, 1 refused, 2 an
    // unexpected or incomplete reply, 99 no reply.
    int login() override;
    // GamesList: the user name and password of the next login, into the
    // store.
    void setStoredUsername(std::string_view value) override;
    void setStoredPassword(std::string_view value) override;
    // With the stored auth key (empty when none): codes as login.
    int loginWithAuthKey();
    // Reads a "LoginSuccess" root in order (r, n, a, home, away, avatar, t);
    // 2 at the first missing or unreadable attribute, the earlier ones kept.
    // 0 once all are read: then logged in, and the leaderboards refreshed.
    int parseLoginSuccess(const XmlNode& root);
    // True on "Success": logged out, the auth key emptied here and in the
    // store's map.
    bool logout();
    // Creates an account: 0 (its auth key kept in memory), 2 invalid user
    // name or no key, 3 invalid password, 4 invalid nickname, 5 duplicate
    // nickname, 6 duplicate user, 1 another refusal or reply, 99 no reply.
    int registerWithNickname(const std::string& username, const std::string& password,
                             const std::string& nickname);
    // For the stored user name: 0 sent, 1 no reply, 2 refused or other.
    int requestPasswordReset();
    // Of the logged-in account: 0 changed, 1 no reply or an invalid
    // password, 2 other.
    int requestPasswordResetByLogin(const std::string& newPassword);
    // Binds the platform account (unsigned decimal) to the logged-in one:
    // 0 bound, 1 otherwise.
    int registerSteam(const std::string& steamId);
    // Asks which platform friends have accounts and stores their names:
    // 0 answered (nothing stored when the reply's count does not match the
    // ids), 1 no reply or no "<Success>". An empty list sends nothing.
    int getSteamFriends(const std::vector<int64_t>& steamIds);
    // The stored name of a platform friend; false, out untouched, when none.
    bool findSteamFriend(std::string& out, int64_t steamId) const;

    // News, game guide, version check and server option text.
    std::string getNewsUrl() const;
    // The guide's address with "?ver=" and the endpoint's version.
    std::string getGameGuideUrl() const;
    // The count of unread news into mNewsKey and mNewsDiff; posts
    // "LargestNewsIDUpdated" when both were read. Runs on a worker.
    bool getNews();
    // The versions the service accepts: 0 read (the option text then
    // fetched), 1 a reply without them, 99 no reply.
    int getVersions();
    // Applies the service's option text and the endpoint versions it sets:
    // 0 applied, 1 no reply.
    int fetchServerConfig();

    // Colours and avatar.
    // Sets the avatar from its value "id|variant" (adjacent separators read
    // as one); the fallback avatar when it has no variant or the variant is
    // not a decimal number.
    void setLocalAvatar(std::string_view value);
    // Store the choice in the members and preferences and post it.
    void updateHomeColor(int32_t color);
    void updateAwayColor(int32_t color);
    void updateAvatar(const std::string& id, int32_t variant);
    // The local player's avatar and colours, under the lock.
    LocalAvatar localAvatar() const;
    int32_t localHomeColor() const;
    int32_t localAwayColor() const;
    bool isLoggedIn() const override { return mLoggedIn.load(); }

    // LocalAvatarSource: the pack id and index of localAvatar().
    std::string localAvatarPackId() override;
    int32_t localAvatarIndex() override;

    // The games list (WebService_games.cpp), in ascending order of last-turn
    // time, guarded by gameDataMutex. Pointers into it are valid only while
    // the lock is held: use withGame, or hold the lock around findGame and
    // the use. Every operation but getGameList takes the lock itself.
    //
    // Inserts record before the first one whose last-turn time is not
    // smaller (so among equal times the latest insert stands first).
    void insertGame(std::unique_ptr<GameRecord> record);
    // The first listed record with that id, or null; the caller holds the
    // lock (checked in debug builds).
    GameRecord* findGame(int64_t gameId) override;
    // Runs fn with the record of that id (null when unlisted) under the lock
    // and returns its result.
    template <class Fn> decltype(auto) withGame(int64_t gameId, Fn&& fn) {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        return std::forward<Fn>(fn)(findGame(gameId));
    }
    // Asks the pages to purge the game (always), then deletes its record.
    void removeGame(int64_t gameId);
    // Empties the list. With "ProtectAsyncGame" set, the record of keepId is
    // not deleted but held aside (see mUnlistedGame).
    void clearGames(int64_t keepId);
    int32_t countGamesInState(LocalGameState state) override;
    // The n-th listed record (from 0) in that state, or null; the caller
    // holds the lock (checked in debug builds).
    GameRecord* findNthGameInState(int32_t n, LocalGameState state) override;
    // Game/getGameList: 0 a "Games" reply read, 1 "NotLoggedIn", 2 otherwise.
    // Posts "AsyncGamesListUpdated", or "AsyncGamesListUpdatedAndUnchanged"
    // when the hash is the one sent, after releasing the lock.
    int getGameList();
    // getGameList's handling of the reply's root element (null: none).
    int readGameList(const XmlNode* root);
    // The game on screen is now gameId: a protected record that a refresh
    // left out of the list is freed unless it is that game's.
    void gameOnScreenChanged(int64_t gameId);
    // GamesList: the login nickname.
    std::string getNickname() const override { return nickname(); }

    // Game requests (WebService_gameRequests.cpp). A status is a GameStatus
    // and a substatus a PlayerSubstatus, sent as their words; a negative
    // substatus is not sent. State bytes go out as libb64 base64. A returned
    // "Game" is adopted: read into the listed record of its game (removed
    // when the read fails) or into a new listed record (dropped when the
    // read fails), under the game lock. Out game ids are -1 until a reply
    // gives one.
    //
    // A new game against the account name opponent with the creator's first
    // state: 0 created, 1 no state or a failure, 2 "NotLoggedIn", 3
    // "DuplicatePlayer", 4 "InvalidCurrentTurnPlayer" or "InvalidPlayer", 5
    // "TooManyGamesAlready" or kMaxRunningGames games already running.
    int createGame(const std::string& opponent, const std::string& civName, const uint8_t* state,
                   int32_t stateSize, int64_t& gameId);
    // Asks for a random opponent: 1 matched (the game listed), 0 queued, 3
    // "NotLoggedIn", 4 "AlreadyQueued", 2 otherwise (a "Game" without a
    // usable id or that does not read too).
    int matchmake(const std::string& civName, int64_t& gameId);
    // Accepts a matched game with the local player's first state: 0
    // accepted, 1 "NotLoggedIn", 2 otherwise (no state too).
    int matchAccepted(const std::string& civName, int64_t gameId, const uint8_t* state,
                      int32_t stateSize);
    // Fetches the game with its state bytes into the list: 0 listed, 1
    // "NotLoggedIn", 2 otherwise.
    int getGameState(int64_t gameId) override;
    // Submits the turn's state; status -1 sends "none". tauntRequest goes
    // out and comes back as the reply's "play_taunt" (0 when absent). On
    // acceptance the listed record takes the state and the list is
    // refreshed: 0. 1 "NotLoggedIn", 2 otherwise (no state, or the game data
    // failed to load, too).
    int submitTurn(int64_t gameId, const uint8_t* state, int32_t stateSize, int32_t& tauntRequest,
                   int32_t turnCount, int32_t status, int32_t substatus) override;
    // The second form: the turn record's archive in place of the state. On
    // "Success" the local player's status in the listed record becomes 0
    // until the next refresh: 0. 1 "NotLoggedIn", 2 otherwise.
    int submitServerTurn(int64_t gameId, const ServerTurn& turn, int32_t status,
                         int32_t substatus) override;
    // On "Success" a Deleted game is removed and the list refreshed: 0;
    // otherwise 2.
    int updatePlayerStatus(int64_t gameId, int32_t status, int32_t substatus) override;
    // Another player's nickname, colours and avatar image: 0 read, 2
    // "InvalidPlayer", 1 otherwise (outputs read before a missing attribute
    // keep their values).
    int getUserRecordByNickname(const std::string& accountName, std::string& outNickname,
                                int32_t& outHomeColor, int32_t& outAwayColor,
                                std::string& outAvatar);
    // The local player's wins, one entry per civ of the settings (0 for civs
    // the reply does not name): 0 read, 1 otherwise.
    int getMyWinStatsByCiv(std::vector<int64_t>& wins);
    // Settles a finished game with the service: a loss not yet seen becomes
    // Inactive/Lost; an opponent's resignation while the local player is
    // Active becomes Inactive/Won and queues the won game's statistics.
    // Either way the game is fetched again. True when it acted.
    bool followUpGameStatus(int64_t gameId) override;

    // Game chat (WebService_chat.cpp).
    // Fetches the game with its chat lines into the list: 0 read, 1
    // "NotLoggedIn", 2 otherwise (a "Game" that does not read too).
    int getGameChats(int64_t gameId);
    // Posts one line: 0 "Success", 1 "NotLoggedIn", 2 otherwise.
    int addGameChat(int64_t gameId, const std::string& text);

    std::string mServerBaseUrl;
    std::string mNewsBaseUrl;
    std::string mConfigBaseUrl;
    std::string mExtraBaseUrl;
    std::atomic<bool> mLoggedIn{false};
    int64_t mAccountId = 0;
    std::string mNickname;
    int32_t mServerTimeOffset = 0;
    std::string mAuthKey;
    std::vector<std::unique_ptr<GameRecord>> mGames;
    int32_t mLocalHomeColor = 0;
    int32_t mLocalAwayColor = 0;
    std::string mLocalAvatar;
    int32_t mLocalAvatarVariant = 0;
    int64_t mProtocolVersion = 99999999;
    int64_t mLowerGameVersion = 99999999;
    int64_t mUpperGameVersion = 0;
    // Written by the news worker, read on the main thread.
    std::atomic<int32_t> mNewsKey{-1};
    std::atomic<int32_t> mNewsDiff{0};
    // The game whose record a refresh keeps alive (0: none); written by the
    // games-list poll around its refresh, read by the refresh.
    std::atomic<int64_t> mProtectedGameId{0};
    // Guarded by gameDataMutex.
    std::string mGamesHash;
    // A protected record that a refresh took out of the list and did not
    // list again: the game on screen may still use it. Freed when the game
    // on screen changes and at exit. Guarded by gameDataMutex.
    std::unique_ptr<GameRecord> mUnlistedGame;
    bool mSteamFriendsRequested = false;
    std::unordered_map<int64_t, std::string> mSteamFriends;
    std::vector<WebServiceEndpoint> mEndpoints;

private:
    friend WebService& webService();
    struct ProcessWide {};
    explicit WebService(ProcessWide);

    const std::string& baseOf(EndpointBase base) const;
    BSecureStorage& store() const;
    // Performs a login request and reads its reply.
    int finishLogin(ServerRequest& request);
    // Reads the local colours and avatar from the preferences.
    void loadLocalSettings();
    // The avatar from its value, under the lock.
    void setLocalAvatarLocked(std::string_view value);
    // A signed request with one own field, posted through the workers.
    void postUpdate(Endpoint endpoint, std::string_view field, std::string_view value);

    // Reads a returned "Game" into the listed record of gameId or a new one
    // (see the game requests); true when the game is listed.
    bool adoptGame(int64_t gameId, const XmlNode* element);
    // A "Game" that names its game: without a usable "id" nothing changes;
    // otherwise the id goes to gameId and the game is adopted by it.
    enum class ReturnedGame { NoId, Unread, Listed };
    ReturnedGame adoptReturnedGame(const XmlNode& element, int64_t& gameId);
    // "iscomplete" of a game: its listed record's flag, 0 when unlisted.
    int32_t isCompleteFlag(int64_t gameId);

    // Takes the kept record of a refresh (still listed or held aside) and
    // lists it again refreshed from fresh.
    void relistProtected(GameRecord* kept, const GameRecord& fresh);
    // Installs or removes the client as games list and avatar source.
    void install();
    void uninstall();

    mutable std::mutex mIdentityMutex;
    bool mInstalled = false;
    Clock mClock;
    DeviceIdProvider mDeviceId;
    BSecureStorage* mStore = nullptr;
    bool mProcessWide = false;
};

// The process-wide client, built before main.
WebService& webService();
