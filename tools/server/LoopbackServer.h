#pragma once

// Our own stand-in for the game's web service, over HTTP or HTTPS on a local
// port: what the tests, the README's main job and CI talk to.
//
// Every request is kept (path, method, headers, form parts in arrival order)
// for tests, which may wait for a number of them. A signed request (one
// with "h") whose signature does not match is answered with an "Error"
// reply. Then a reply scripted for the path, if any is queued, is given
// (status, body, delay, or a dropped connection); otherwise the path's
// handler answers from the database in one transaction. A malformed form is
// answered with 400. With a bot, every committed request wakes it.

#include "tools/server/ServerBot.h"
#include "tools/server/ServerDatabase.h"
#include "tools/server/ServerRoutes.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
class ContentReader;
} // namespace httplib

struct LoopbackServerOptions {
    std::string host = "127.0.0.1";
    int port = 0; // 0: any free port
    std::filesystem::path database = ":memory:";
    std::filesystem::path seed;           // applied to a new database only
    std::filesystem::path tlsCertificate; // both set: HTTPS
    std::filesystem::path tlsKey;
    // The opponent bot's nickname; empty: no bot. The bot plays with the
    // rules on the content the process has loaded (ServerContent.h).
    std::string bot;
};

// A reply given instead of the handler's, once.
struct ScriptedReply {
    int status = 200;
    std::string body;
    std::chrono::milliseconds delay{0};
    bool dropConnection = false; // close the connection without a reply
};

class LoopbackServer {
public:
    explicit LoopbackServer(LoopbackServerOptions options = {});
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;
    ~LoopbackServer();

    // Opens the database and starts listening; false with error() on failure.
    bool start();
    void stop();
    const std::string& error() const { return mError; }
    int port() const { return mPort; }
    // "http://host:port/" (or https).
    std::string baseUrl() const;

    // Queues a reply for path (without its leading '/').
    void script(const std::string& path, ScriptedReply reply);
    std::vector<ReceivedRequest> requests() const;
    // Waits until count requests have arrived; false after timeout.
    bool waitForRequests(size_t count, std::chrono::milliseconds timeout) const;

    ServerDatabase& database() { return mDatabase; }
    // Null without a bot.
    ServerBot* bot() { return mBot.get(); }

private:
    void handle(const httplib::Request& request, httplib::Response& response,
                const httplib::ContentReader* content);
    ServerReply answer(const ReceivedRequest& request, bool& dropped);
    // Sleeps for delay or until the server stops; false when stopped.
    bool waitOrStop(std::chrono::milliseconds delay);

    LoopbackServerOptions mOptions;
    ServerDatabase mDatabase;
    ServerRoutes mRoutes;
    std::unique_ptr<ServerBot> mBot;
    std::unique_ptr<httplib::Server> mServer;
    std::thread mListener;
    int mPort = 0;
    std::string mError;

    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::vector<ReceivedRequest> mRequests;
    std::map<std::string, std::deque<ScriptedReply>, std::less<>> mScripted;
    bool mStopping = false;
};
