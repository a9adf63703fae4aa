#include "platform/steam/SteamClient.h"

#include "platform/steam/SteamUserStats.h"

#include <cstdlib>
#include <memory>

namespace {

struct ClientState {
    bool running = false;
    std::unique_ptr<SteamUserStats> stats;
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

} // namespace

std::string SteamClient::currentGameLanguage() {
    const char* language = nonEmptyEnv("TARNWICK_LANGUAGE");
    return language != nullptr ? language : "english";
}

bool SteamClient::init() {
    ClientState& client = state();
    if (!client.running) {
        client.running = true;
        client.stats = std::make_unique<SteamUserStats>();
    }
    return true;
}

void SteamClient::shutdown() {
    ClientState& client = state();
    client.running = false;
    client.stats.reset();
}

bool SteamClient::isRunning() {
    return state().running;
}

SteamUserStats* SteamClient::userStats() {
    return state().stats.get();
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
