#include "service/WebService.h"

#include "service/BSecureStorage.h"
#include "service/RequestHash.h"
#include "service/ServerRequest.h"
#include "service/ServiceWorkers.h"

#include <curl/curl.h>

#include <chrono>

namespace {

struct EndpointRow {
    const char* path;
    int32_t version;
    EndpointBase base;
};

constexpr EndpointBase cServer = EndpointBase::Server;
constexpr EndpointBase cNews = EndpointBase::News;
constexpr EndpointBase cConfig = EndpointBase::Config;
constexpr EndpointBase cNone = EndpointBase::None;

// In the order of Endpoint.
constexpr EndpointRow cEndpointRows[] = {
    {"Accounts/getTime", 1, cServer},
    {"Accounts/login", 1, cServer},
    {"Accounts/loginWithAuthKey", 1, cServer},
    {"Accounts/logout", 1, cServer},
    {"Accounts/register", 1, cNone},
    {"Accounts/registerWithNickname", 1, cServer},
    {"Accounts/registerNickname", 1, cNone},
    {"Accounts/registerFacebook", 1, cNone},
    {"Accounts/registerSteam", 1, cServer},
    {"Accounts/getSteamFriends", 1, cServer},
    {"Accounts/requestPasswordReset", 1, cServer},
    {"Accounts/requestPasswordResetByLogin", 1, cServer},
    {"Accounts/requestPasswordResetByResetToken", 1, cNone},
    {"Game/createGame", 1, cServer},
    {"Game/getUserRecordByNickname", 1, cServer},
    {"Game/getGameList", 1, cServer},
    {"Game/getGameState", 1, cServer},
    {"Game/submitTurn", 2, cServer},
    {"Game/matchAccepted", 1, cServer},
    {"Game/updatePlayerStatus", 1, cServer},
    {"Game/getMyWinStatsByCiv", 1, cServer},
    {"Match/matchmake", 1, cServer},
    {"PushNotify/addUserNotificationToken", 1, cNone},
    {"Chat/getGameChats", 1, cServer},
    {"Chat/addGameChat", 1, cServer},
    {"Version/getTarnwickVersions", 1, cConfig},
    {"status.html", 1, cNone},
    {"News/getDowntimeMessage", 1, cNone},
    {"News/getTarnwickNews", 1, cNews},
    {"News/getTarnwickNewsGetLargeID", 2, cNews},
    {"News/getTarnwickGameGuide", 1, cNews},
    {"Accounts/updatePlayerHomeColorByBrassmoorID", 1, cServer},
    {"Accounts/updatePlayerAwayColorByBrassmoorID", 1, cServer},
    {"Accounts/updatePlayerAvatarByBrassmoorID", 1, cServer},
    {"Server.cfg", 1, cConfig},
};
static_assert(std::size(cEndpointRows) == static_cast<size_t>(Endpoint::Count));

int64_t systemSeconds() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

const std::string cNoBase;

} // namespace

// Built before main, so libcurl starts before any thread.
[[maybe_unused]] static WebService& gWebService = webService();

void RequestStamp::addIdentity(ServerRequest& request) const {
    request.addFormString("device", mDeviceId);
    request.addFormString("authKey", mAuthKey);
}

void RequestStamp::addSignature(ServerRequest& request) const {
    addSignature(request, mDeviceId, mAuthKey);
}

void RequestStamp::addSignature(ServerRequest& request, std::string_view first,
                                std::string_view second) const {
    std::string hash;
    computeRequestHash(first, second, mTime, hash);
    request.addFormInt("ver", mVersion);
    request.addFormInt("t", mTime);
    request.addFormString("h", hash);
}

void RequestStamp::addSignedField(ServerRequest& request, std::string_view name,
                                  std::string_view value) const {
    addIdentity(request);
    request.addFormString(name, value);
    addSignature(request);
}

WebService::WebService() : mClock(&systemSeconds), mDeviceId([] { return getStoredUDID(); }) {
    curl_global_init(CURL_GLOBAL_ALL);
    mEndpoints.reserve(std::size(cEndpointRows));
    for (const EndpointRow& row : cEndpointRows)
        mEndpoints.push_back({row.path, row.version, row.base});
}

WebService::WebService(ProcessWide) : WebService() {
    // Built now, the worker facility, the game lock and the secure store
    // outlive this client.
    secureStorage();
    serviceWorkers();
    gameDataMutex();
    mProcessWide = true;
}

WebService::~WebService() {
    // Workers may still use libcurl and the records: they end first.
    if (mProcessWide)
        serviceWorkers().quit();
    uninstall();
    {
        const std::lock_guard<boost::recursive_mutex> lock(gameDataMutex());
        mGames.clear();
        mUnlistedGame.reset();
    }
    curl_global_cleanup();
}

void WebService::setBaseUrls(std::string server, std::string news, std::string config,
                             std::string extra) {
    {
        const std::lock_guard lock(mIdentityMutex);
        mServerBaseUrl = std::move(server);
        mNewsBaseUrl = std::move(news);
        mConfigBaseUrl = std::move(config);
        mExtraBaseUrl = std::move(extra);
    }
    loadLocalSettings();
    install();
}

void WebService::install() {
    setGamesList(this);
    setLocalAvatarSource(this);
    mInstalled = true;
}

void WebService::uninstall() {
    // Only while this client is still the installed one; both were
    // installed together.
    if (!mInstalled || &gamesList() != this)
        return;
    setGamesList(nullptr);
    setLocalAvatarSource(nullptr);
    mInstalled = false;
}

std::string WebService::makeUrl(std::string_view path) const {
    const std::lock_guard lock(mIdentityMutex);
    return mServerBaseUrl + std::string(path);
}

const std::string& WebService::baseOf(EndpointBase base) const {
    switch (base) {
    case EndpointBase::Server:
        return mServerBaseUrl;
    case EndpointBase::News:
        return mNewsBaseUrl;
    case EndpointBase::Config:
        return mConfigBaseUrl;
    case EndpointBase::None:
        break;
    }
    return cNoBase;
}

std::string WebService::endpointUrl(Endpoint endpoint) const {
    const std::lock_guard lock(mIdentityMutex);
    const WebServiceEndpoint& row = mEndpoints[static_cast<size_t>(endpoint)];
    return baseOf(row.mBase) + row.mPath;
}

const WebServiceEndpoint& WebService::endpoint(Endpoint endpoint) const {
    return mEndpoints[static_cast<size_t>(endpoint)];
}

void WebService::setEndpointVersion(Endpoint endpoint, int32_t version) {
    const std::lock_guard lock(mIdentityMutex);
    mEndpoints[static_cast<size_t>(endpoint)].mVersion = version;
}

RequestStamp WebService::stamp(Endpoint endpoint) const {
    RequestStamp stamp;
    DeviceIdProvider deviceId;
    {
        const std::lock_guard lock(mIdentityMutex);
        const WebServiceEndpoint& row = mEndpoints[static_cast<size_t>(endpoint)];
        stamp.mUrl = baseOf(row.mBase) + row.mPath;
        stamp.mVersion = row.mVersion;
        stamp.mAuthKey = mAuthKey;
        deviceId = mDeviceId;
    }
    stamp.mDeviceId = deviceId();
    stamp.mTime = requestTime();
    return stamp;
}

int64_t WebService::clockSeconds() const {
    Clock clock;
    {
        const std::lock_guard lock(mIdentityMutex);
        clock = mClock;
    }
    return clock();
}

int32_t WebService::requestTime() const {
    const int64_t seconds = clockSeconds();
    // "t" is 32-bit on the wire.
    return static_cast<int32_t>(seconds + serverTimeOffset());
}

std::string WebService::authKey() const {
    const std::lock_guard lock(mIdentityMutex);
    return mAuthKey;
}

std::string WebService::nickname() const {
    const std::lock_guard lock(mIdentityMutex);
    return mNickname;
}

int32_t WebService::serverTimeOffset() const {
    const std::lock_guard lock(mIdentityMutex);
    return mServerTimeOffset;
}

void WebService::setAuthKey(std::string authKey) {
    const std::lock_guard lock(mIdentityMutex);
    mAuthKey = std::move(authKey);
}

void WebService::setNickname(std::string nickname) {
    const std::lock_guard lock(mIdentityMutex);
    mNickname = std::move(nickname);
}

void WebService::setServerTimeOffset(int32_t offset) {
    const std::lock_guard lock(mIdentityMutex);
    mServerTimeOffset = offset;
}

void WebService::setClock(Clock clock) {
    const std::lock_guard lock(mIdentityMutex);
    mClock = std::move(clock);
}

void WebService::setDeviceIdProvider(DeviceIdProvider provider) {
    const std::lock_guard lock(mIdentityMutex);
    mDeviceId = std::move(provider);
}

void WebService::setSecureStorage(BSecureStorage* store) {
    mStore = store;
}

BSecureStorage& WebService::store() const {
    return mStore != nullptr ? *mStore : secureStorage();
}

WebService& webService() {
    static WebService client{WebService::ProcessWide{}};
    return client;
}
