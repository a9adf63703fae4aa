#include "tools/server/LoopbackServer.h"

#include "tools/server/ServerSeed.h"

#include "service/RequestHash.h"

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <charconv>
#include <optional>

namespace {

constexpr size_t cMaxRequestBytes = 64u << 20;

int portOf(const sockaddr_storage& address) {
    if (address.ss_family == AF_INET)
        return ntohs(reinterpret_cast<const sockaddr_in&>(address).sin_port);
    if (address.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(address).sin6_port);
    return -1;
}

// Shuts the connection of request down, so the client sees it close without
// a reply (httplib has no call for that): the socket is found among the
// process's descriptors by its two ports.
void dropConnection(const httplib::Request& request) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd", error)) {
        int fd = -1;
        const std::string name = entry.path().filename().string();
        if (std::from_chars(name.data(), name.data() + name.size(), fd).ec != std::errc())
            continue;
        struct stat info {};
        if (fstat(fd, &info) != 0 || !S_ISSOCK(info.st_mode))
            continue;
        sockaddr_storage local{};
        sockaddr_storage peer{};
        socklen_t localLength = sizeof local;
        socklen_t peerLength = sizeof peer;
        if (getsockname(fd, reinterpret_cast<sockaddr*>(&local), &localLength) == 0 &&
            getpeername(fd, reinterpret_cast<sockaddr*>(&peer), &peerLength) == 0 &&
            portOf(local) == request.local_port && portOf(peer) == request.remote_port) {
            shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

// A signed request's "h" matches its identity texts and "t": the user name
// and password at login, the device id and auth key otherwise.
bool signatureMatches(const ReceivedRequest& request, const std::string& hash) {
    const std::string* time = request.field("t");
    int32_t t = 0;
    if (time == nullptr ||
        std::from_chars(time->data(), time->data() + time->size(), t).ptr !=
            time->data() + time->size() ||
        time->empty())
        return false;
    const bool login = request.path == "/Accounts/login";
    const std::string* first = request.field(login ? "username" : "device");
    const std::string* second = request.field(login ? "password" : "authKey");
    std::string expected;
    computeRequestHash(first != nullptr ? *first : std::string(),
                       second != nullptr ? *second : std::string(), t, expected);
    return expected == hash;
}

} // namespace

LoopbackServer::LoopbackServer(LoopbackServerOptions options) : mOptions(std::move(options)) {
    addServerRoutes(mRoutes);
}

LoopbackServer::~LoopbackServer() {
    stop();
}

bool LoopbackServer::start() {
    mError.clear();
    const std::filesystem::path seed = mOptions.seed;
    if (!mDatabase.open(mOptions.database, mError, [&seed](ServerDatabase& database) {
            if (!seed.empty())
                applyServerSeed(database, seed);
        }))
        return false;
    if (!mOptions.bot.empty()) {
        mBot = std::make_unique<ServerBot>(mDatabase, mOptions.bot);
        if (!mBot->start(mError)) {
            mBot.reset();
            return false;
        }
    }

    if (!mOptions.tlsCertificate.empty() || !mOptions.tlsKey.empty()) {
        auto secure = std::make_unique<httplib::SSLServer>(mOptions.tlsCertificate.c_str(),
                                                           mOptions.tlsKey.c_str());
        if (!secure->is_valid()) {
            mError = "cannot use the certificate " + mOptions.tlsCertificate.string() +
                     " with the key " + mOptions.tlsKey.string();
            return false;
        }
        mServer = std::move(secure);
    } else {
        mServer = std::make_unique<httplib::Server>();
    }
    mServer->set_payload_max_length(cMaxRequestBytes);
    // httplib's default also sets SO_REUSEPORT, which lets a second server
    // share a busy port unnoticed.
    mServer->set_socket_options([](int sock) {
        const int yes = 1;
        setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    mServer->Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
        handle(request, response, nullptr);
    });
    mServer->Post(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response,
                                   const httplib::ContentReader& content) {
        handle(request, response, &content);
    });

    if (mOptions.port == 0)
        mPort = mServer->bind_to_any_port(mOptions.host);
    else
        mPort = mServer->bind_to_port(mOptions.host, mOptions.port) ? mOptions.port : -1;
    if (mPort <= 0) {
        mError = "cannot listen on " + mOptions.host + ":" + std::to_string(mOptions.port);
        mServer.reset();
        return false;
    }
    {
        const std::lock_guard lock(mMutex);
        mStopping = false;
    }
    mListener = std::thread([this] { mServer->listen_after_bind(); });
    // httplib 0.11 has no wait_until_ready.
    while (!mServer->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void LoopbackServer::stop() {
    {
        const std::lock_guard lock(mMutex);
        mStopping = true;
    }
    mChanged.notify_all();
    if (mServer)
        mServer->stop();
    if (mListener.joinable())
        mListener.join();
    mServer.reset();
    mBot.reset();
}

std::string LoopbackServer::baseUrl() const {
    const bool secure = !mOptions.tlsCertificate.empty();
    return std::string(secure ? "https://" : "http://") + mOptions.host + ":" +
           std::to_string(mPort) + "/";
}

void LoopbackServer::script(const std::string& path, ScriptedReply reply) {
    const std::lock_guard lock(mMutex);
    mScripted[path].push_back(std::move(reply));
}

std::vector<ReceivedRequest> LoopbackServer::requests() const {
    const std::lock_guard lock(mMutex);
    return mRequests;
}

bool LoopbackServer::waitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mMutex);
    return mChanged.wait_for(lock, timeout, [&] { return mRequests.size() >= count; });
}

bool LoopbackServer::waitOrStop(std::chrono::milliseconds delay) {
    std::unique_lock lock(mMutex);
    return !mChanged.wait_for(lock, delay, [this] { return mStopping; });
}

void LoopbackServer::handle(const httplib::Request& request, httplib::Response& response,
                            const httplib::ContentReader* content) {
    ReceivedRequest received;
    received.method = request.method;
    received.path = request.path;
    for (const auto& [name, value] : request.headers)
        received.headers.emplace_back(name, value);

    if (content != nullptr) {
        bool wellFormed = request.is_multipart_form_data();
        if (wellFormed) {
            wellFormed = (*content)(
                [&received](const httplib::MultipartFormData& part) {
                    received.parts.push_back({part.name, {}});
                    return true;
                },
                [&received](const char* data, size_t length) {
                    if (received.parts.empty())
                        return false;
                    received.parts.back().value.append(data, length);
                    return true;
                });
        }
        if (!wellFormed) {
            response.status = 400;
            response.set_content(xmlReply("Error", {}, "MalformedForm"), "text/xml");
            return;
        }
    }

    {
        const std::lock_guard lock(mMutex);
        mRequests.push_back(received);
    }
    mChanged.notify_all();

    bool dropped = false;
    const ServerReply reply = answer(received, dropped);
    if (dropped) {
        dropConnection(request);
        return;
    }
    response.status = reply.status;
    response.set_content(reply.body, reply.contentType);
}

ServerReply LoopbackServer::answer(const ReceivedRequest& request, bool& dropped) {
    if (const std::string* hash = request.field("h");
        hash != nullptr && !signatureMatches(request, *hash))
        return errorReply("InvalidHash");

    const std::string_view path = std::string_view(request.path).substr(1);
    std::optional<ScriptedReply> scripted;
    {
        const std::lock_guard lock(mMutex);
        const auto queue = mScripted.find(path);
        if (queue != mScripted.end() && !queue->second.empty()) {
            scripted = std::move(queue->second.front());
            queue->second.pop_front();
        }
    }
    if (scripted) {
        if (scripted->delay.count() > 0 && !waitOrStop(scripted->delay)) {
            dropped = true;
            return {};
        }
        dropped = scripted->dropConnection;
        return {scripted->status, std::move(scripted->body)};
    }

    const auto route = mRoutes.find(path);
    if (route == mRoutes.end())
        return {404, xmlReply("Error", {}, "UnknownPath")};
    ServerReply reply;
    try {
        RouteContext context{request, mDatabase, mBot.get()};
        mDatabase.transaction([&] { reply = route->second(context); });
    } catch (const std::exception& e) {
        return {500, xmlReply("Error", {}, e.what())};
    }
    if (mBot)
        mBot->wake();
    return reply;
}
