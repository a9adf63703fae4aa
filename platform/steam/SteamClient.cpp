#include "platform/steam/SteamClient.h"

#include "platform/steam/SteamCallbacks.h"
#include "platform/steam/SteamFriends.h"
#include "platform/steam/SteamUserStats.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <random>
#include <system_error>

namespace {

struct ClientState {
    bool running = false;
    bool notSignedIn = false;
    uint64_t accountId = 0; // 0 while nobody is signed in
    std::unique_ptr<SteamUserStats> stats;
    std::unique_ptr<SteamFriends> friends;
    std::filesystem::path userDataFolder;
};

ClientState& state() {
    static ClientState instance;
    return instance;
}

const char* nonEmptyEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// Individual accounts of the public universe: this base plus a 32-bit number.
constexpr uint64_t cIndividualAccountBase = 76561197960265728ull;

uint64_t readAccountId(const std::filesystem::path& file) {
    std::ifstream in(file);
    uint64_t id = 0;
    if (in >> id && id > cIndividualAccountBase)
        return id;
    return 0;
}

uint64_t newAccountId() {
    std::random_device device;
    std::uniform_int_distribution<uint32_t> number(1);
    return cIndividualAccountBase + number(device);
}

// The account id kept in the user's data folder, made and saved on first use.
// When it cannot be saved, the id holds for this run only.
uint64_t signedInAccountId(const std::filesystem::path& folder) {
    const std::filesystem::path file = folder / SteamClient::cAccountFileName;
    std::error_code error;
    const bool exists = std::filesystem::exists(file, error);
    if (exists) {
        if (const uint64_t id = readAccountId(file))
            return id;
        std::printf("Warning: %s holds no account id, a new one is made.\n", file.c_str());
    }
    const uint64_t id = newAccountId();
    std::filesystem::create_directories(folder, error);
    std::ofstream out(file, std::ios::trunc);
    out << id << '\n';
    out.close();
    if (!out)
        std::printf("Warning: unable to save the account id to %s.\n", file.c_str());
    return id;
}

} // namespace

std::string SteamClient::currentGameLanguage() {
    const char* language = nonEmptyEnv("TARNWICK_LANGUAGE");
    return language != nullptr ? language : "english";
}

bool SteamClient::init() {
    ClientState& client = state();
    if (client.running)
        return true;
    client.running = true;
    if (client.notSignedIn || nonEmptyEnv(cNotSignedInVariable) != nullptr)
        return true;
    client.accountId = signedInAccountId(userDataFolder());
    client.stats = std::make_unique<SteamUserStats>();
    client.friends = std::make_unique<SteamFriends>();
    client.friends->load(client.accountId);
    return true;
}

void SteamClient::shutdown() {
    ClientState& client = state();
    client.running = false;
    client.accountId = 0;
    client.stats.reset();
    client.friends.reset();
    SteamCalls::dropPending();
}

bool SteamClient::isRunning() {
    return state().running;
}

bool SteamClient::isSignedIn() {
    return state().accountId != 0;
}

void SteamClient::setNotSignedIn(bool notSignedIn) {
    state().notSignedIn = notSignedIn;
}

uint64_t SteamClient::accountId() {
    return state().accountId;
}

SteamUserStats* SteamClient::userStats() {
    return state().stats.get();
}

SteamFriends* SteamClient::friends() {
    return state().friends.get();
}

void SteamClient::runCallbacks() {
    SteamCalls::runPending();
}

void SteamClient::setCallsFail(bool fail) {
    SteamCalls::setFailing(fail);
}

void SteamClient::setUserDataFolder(const std::filesystem::path& folder) {
    state().userDataFolder = folder;
}

std::filesystem::path SteamClient::userDataFolder() {
    const ClientState& client = state();
    if (!client.userDataFolder.empty())
        return client.userDataFolder;
    if (const char* dataHome = nonEmptyEnv("XDG_DATA_HOME"))
        return std::filesystem::path(dataHome) / "tarnwick";
    if (const char* home = nonEmptyEnv("HOME"))
        return std::filesystem::path(home) / ".local" / "share" / "tarnwick";
    return "tarnwick-user";
}
