#include "platform/steam/SteamUserStats.h"

#include "platform/steam/SteamClient.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

bool isValidName(std::string_view name) {
    return !name.empty() && std::none_of(name.begin(), name.end(), [](char c) {
        return std::isspace(static_cast<unsigned char>(c)) != 0;
    });
}

bool parseInt(const std::string& text, int32_t& out) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

} // namespace

std::filesystem::path SteamUserStats::statsFile() {
    return SteamClient::userDataFolder() / cFileName;
}

bool SteamUserStats::requestCurrentStats() {
    SteamCalls::start([](SteamAPICall) {
        // The user may have signed out since.
        SteamUserStats* stats = SteamClient::userStats();
        if (stats == nullptr)
            return;
        UserStatsReceived record;
        record.mUserId = SteamClient::accountId();
        record.mResult =
            !SteamCalls::failing() && stats->loadStoredStats() ? cSteamResultOK : cSteamResultFail;
        SteamCalls::post(UserStatsReceived::cCallbackId, &record);
    });
    return true;
}

bool SteamUserStats::loadStoredStats() {
    const std::filesystem::path path = statsFile();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        mStats.clear();
        mAchievements.clear();
        mReceived = true;
        return true;
    }
    std::ifstream file(path);
    if (!file) {
        std::printf("failed to read %s\n", path.string().c_str());
        return false;
    }
    mStats.clear();
    mAchievements.clear();
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string kind, name, value, extra;
        words >> kind >> name >> value >> extra;
        if (kind.empty() || kind[0] == '#')
            continue;
        int32_t number = 0;
        if (kind == "stat" && !name.empty() && parseInt(value, number) && extra.empty())
            mStats[name] = number;
        else if (kind == "achievement" && !name.empty() && value.empty())
            mAchievements.insert(name);
        else
            std::printf("%s:%d: skipping malformed line\n", path.string().c_str(), lineNumber);
    }
    mReceived = true;
    return true;
}

bool SteamUserStats::getStat(std::string_view name, int32_t& out) const {
    const auto found = mStats.find(name);
    if (found == mStats.end())
        return false;
    out = found->second;
    return true;
}

bool SteamUserStats::setStat(std::string_view name, int32_t value) {
    if (!isValidName(name))
        return false;
    mStats[std::string(name)] = value;
    return true;
}

bool SteamUserStats::getAchievement(std::string_view name, bool& achieved) const {
    if (!isValidName(name))
        return false;
    achieved = mAchievements.contains(name);
    return true;
}

bool SteamUserStats::setAchievement(std::string_view name) {
    if (!isValidName(name))
        return false;
    mAchievements.insert(std::string(name));
    return true;
}

bool SteamUserStats::indicateAchievementProgress(std::string_view name, uint32_t current,
                                                 uint32_t maximum) {
    if (!isValidName(name))
        return false;
    mNotices.push_back({std::string(name), current, maximum});
    std::printf("Achievement progress: %s %u of %u\n", mNotices.back().mName.c_str(), current,
                maximum);
    return true;
}

bool SteamUserStats::storeStats() {
    const std::filesystem::path path = statsFile();
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    // Written beside the file and renamed over it, so a failed write never
    // leaves a half file behind.
    const std::filesystem::path temporary = path.string() + ".new";
    {
        std::ofstream file(temporary, std::ios::trunc);
        file << "# user statistics of the platform stand-in\n";
        for (const auto& [name, value] : mStats)
            file << "stat " << name << ' ' << value << '\n';
        for (const std::string& name : mAchievements)
            file << "achievement " << name << '\n';
        file.flush();
        if (!file) {
            std::printf("failed to write %s\n", temporary.string().c_str());
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::printf("failed to write %s\n", path.string().c_str());
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

bool SteamUserStats::resetAllStats(bool achievementsToo) {
    mStats.clear();
    if (achievementsToo)
        mAchievements.clear();
    return storeStats();
}
