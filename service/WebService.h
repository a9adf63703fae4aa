#pragma once

// The client of the game's web service: one process-wide object holding the
// service's base addresses, the player's identity and games, and the table of
// service paths; every request is formed through it.
//
// An address is a base address (ending in '/') followed by an endpoint's
// path. A signed request carries "device", "authKey", its own fields, "ver",
// "t" and "h" (RequestStamp); "t" is the clock in whole seconds plus the
// server time offset. The identity members, the bases and the endpoint
// versions are read by worker threads: mIdentityMutex guards them and each
// request takes a copy when it is formed. The games and their records are
// guarded by gameDataMutex.

#include "rules/GameRecord.h"
#include "rules/GamesList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

class ServerRequest;

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
};

class WebService {
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
    ~WebService();

    // Sets the four base addresses; called once at start-up.
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
    int32_t serverTimeOffset() const;
    void setAuthKey(std::string authKey);
    void setNickname(std::string nickname);
    void setServerTimeOffset(int32_t offset);

    // Injected by tests; the device id is the secure store's getStoredUDID
    // unless a provider is set.
    void setClock(Clock clock);
    void setDeviceIdProvider(DeviceIdProvider provider);

    std::string mServerBaseUrl;
    std::string mNewsBaseUrl;
    std::string mConfigBaseUrl;
    std::string mExtraBaseUrl;
    bool mLoggedIn = false;
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
    int32_t mNewsKey = -1;
    int32_t mNewsDiff = 0;
    int64_t mProtectedGameId = 0;
    std::string mGamesHash;
    bool mSteamFriendsRequested = false;
    std::unordered_map<int64_t, std::string> mSteamFriends;
    std::vector<WebServiceEndpoint> mEndpoints;

private:
    friend WebService& webService();
    struct ProcessWide {};
    explicit WebService(ProcessWide);

    const std::string& baseOf(EndpointBase base) const;

    mutable std::mutex mIdentityMutex;
    Clock mClock;
    DeviceIdProvider mDeviceId;
    bool mProcessWide = false;
};

// The process-wide client, built before main.
WebService& webService();
