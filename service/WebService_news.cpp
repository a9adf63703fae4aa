// The news and game guide addresses, the unread-news count, the version
// check and the service's option text.

#include "service/WebService.h"

#include "service/BSecureStorage.h"
#include "service/ListNotifications.h"
#include "service/ServerRequest.h"
#include "service/ServiceReply.h"

#include "content/BConfig.h"
#include "content/RegisteredOptions.h"

namespace {

constexpr int64_t cNoVersion = 99999999;

} // namespace

std::string WebService::getNewsUrl() const {
    return endpointUrl(Endpoint::GetNewsUrl);
}

std::string WebService::getGameGuideUrl() const {
    const RequestStamp stamp = this->stamp(Endpoint::GetGameGuideUrl);
    return stamp.mUrl + "?ver=" + std::to_string(stamp.mVersion);
}

bool WebService::getNews() {
    int32_t highestRead = 0;
    store().prefGetInt("HighestNewsRead", highestRead);
    const RequestStamp stamp = this->stamp(Endpoint::GetNews);
    ServerRequest request(stamp.mUrl);
    request.addFormInt("key", highestRead);
    request.addFormInt("ver", stamp.mVersion);
    const bool delivered = request();
    const ServiceReply reply(request, delivered);
    if (!reply.rootIs("root"))
        return false;
    int32_t value = 0;
    if (!replyAttributeDecimal(*reply.root(), "key", value))
        return false;
    mNewsKey = value;
    if (!replyAttributeDecimal(*reply.root(), "diff", value))
        return false;
    mNewsDiff = value;
    postListNotification("LargestNewsIDUpdated");
    return true;
}

int WebService::getVersions() {
    mProtocolVersion = cNoVersion;
    mLowerGameVersion = cNoVersion;
    mUpperGameVersion = cNoVersion;
    ServerRequest request(endpointUrl(Endpoint::GetVersions));
    request.addFormInt64("buildVer", kClientBuildVersion);
    const bool delivered = request();
    const ServiceReply reply(request, delivered);
    if (!delivered)
        return 99;
    if (!reply.rootIs("root"))
        return 1;
    for (const auto& [name, member] :
         {std::pair{"protocol", &WebService::mProtocolVersion},
          std::pair{"lowerGame", &WebService::mLowerGameVersion},
          std::pair{"upperGame", &WebService::mUpperGameVersion}}) {
        if (!replyAttributeDecimal(*reply.root(), name, this->*member))
            return 1;
    }
    fetchServerConfig();
    return 0;
}

int WebService::fetchServerConfig() {
    ServerRequest request(endpointUrl(Endpoint::ServerConfig));
    if (!request())
        return 1;
    BConfig& options = BConfig::instance();
    options.parseOptionString(request.getResponseString());
    // An option without a value leaves its endpoint's version as it was.
    for (const auto& [option, endpoint] : {std::pair{cOptSubmitTurnVersion, Endpoint::SubmitTurn},
                                           std::pair{cOptCreateGameVersion, Endpoint::CreateGame}}) {
        int32_t version = this->endpoint(endpoint).mVersion;
        if (options.getInt(option, version))
            setEndpointVersion(endpoint, version);
    }
    return 0;
}
