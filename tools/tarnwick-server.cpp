// tarnwick-server: the loopback game server. Serves the game service's paths
// from one SQLite file until interrupted (SIGINT or SIGTERM). With --bot, an
// account of that nickname plays its side of its games on the game content
// under the root folder's data/.
//
//   tarnwick-server [--host ADDR] [--port N] [--db PATH] [--seed FILE]
//                   [--tls CERT KEY] [--bot NAME] [--root DIR]

#include "tools/server/LoopbackServer.h"
#include "tools/server/ServerContent.h"

#include "content/DataPath.h"

#include "platform/steam/SteamClient.h"

#include <sys/stat.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void printUsage() {
    std::fprintf(stderr,
                 "usage: tarnwick-server [--host ADDR] [--port N] [--db PATH] [--seed FILE] "
                 "[--tls CERT KEY] [--bot NAME] [--root DIR]\n"
                 "  --host ADDR     address to listen on (default 127.0.0.1)\n"
                 "  --port N        port to listen on; 0 picks a free one (default 0)\n"
                 "  --db PATH       the database file (default server.sqlite3 in the user's "
                 "data folder)\n"
                 "  --seed FILE     XML seed for a new database; ignored for an existing one\n"
                 "  --tls CERT KEY  serve HTTPS with this certificate and private key (PEM)\n"
                 "  --bot NAME      an opponent bot of that nickname plays its games\n"
                 "  --root DIR      the folder holding the game content's data/ (default the "
                 "current folder)\n");
}

bool readPort(const char* text, int& port) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || value < 0 || value > 65535)
        return false;
    port = static_cast<int>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    LoopbackServerOptions options;
    bool databaseGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--host" && hasValue) {
            options.host = argv[++i];
        } else if (arg == "--port" && hasValue) {
            if (!readPort(argv[++i], options.port)) {
                std::fprintf(stderr, "tarnwick-server: bad port \"%s\"\n", argv[i]);
                return 2;
            }
        } else if (arg == "--db" && hasValue) {
            options.database = argv[++i];
            databaseGiven = true;
        } else if (arg == "--seed" && hasValue) {
            options.seed = argv[++i];
        } else if (arg == "--tls" && i + 2 < argc) {
            options.tlsCertificate = argv[++i];
            options.tlsKey = argv[++i];
        } else if (arg == "--bot" && hasValue) {
            options.bot = argv[++i];
        } else if (arg == "--root" && hasValue) {
            setBaseFolder(argv[++i]);
        } else if (arg == "--help" || arg == "-h") {
            printUsage();
            return 0;
        } else {
            std::fprintf(stderr, "tarnwick-server: unknown or incomplete option \"%s\"\n",
                         arg.c_str());
            printUsage();
            return 2;
        }
    }

    // Everything the server writes is for its owner only.
    umask(077);
    if (!databaseGiven) {
        const std::filesystem::path folder = SteamClient::userDataFolder();
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        options.database = folder / "server.sqlite3";
    }

    // Signals are taken by sigwait below, not by the server's threads.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    if (!options.bot.empty()) {
        std::string error;
        if (!loadServerContent(error)) {
            std::fprintf(stderr, "tarnwick-server: %s\n", error.c_str());
            return 1;
        }
    }

    LoopbackServer server(options);
    if (!server.start()) {
        std::fprintf(stderr, "tarnwick-server: %s\n", server.error().c_str());
        return 1;
    }
    std::printf("tarnwick-server: listening on %s (database %s)\nport %d\n",
                server.baseUrl().c_str(), options.database.c_str(), server.port());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    server.stop();
    return 0;
}
