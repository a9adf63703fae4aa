#include "platform/steam/SteamFriends.h"

#include "platform/steam/SteamClient.h"
#include "platform/steam/SteamTextFile.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <system_error>

namespace {

// The rest of a line after the words read so far, without its leading blanks.
std::string restOfLine(std::istringstream& words) {
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

// The sample: three friends, the second of them bound to the loopback
// server's seeded opponent "Bot".
constexpr const char* cSampleFriends =
    "# friends of the platform stand-in, edit for a try:\n"
    "#   friend <platform id> <persona state: 0 offline, 1 online, 3 away> <persona name>\n"
    "#   user <platform id> <persona name>   (other players shown on leaderboards)\n"
    "#   me <persona name>\n"
    "friend 76561197960287931 1 Bot\n"
    "friend 76561197960287932 3 Alice\n"
    "friend 76561197960287933 0 carol\n";

} // namespace

std::filesystem::path SteamFriends::friendsFile() {
    return SteamClient::userDataFolder() / cFileName;
}

void SteamFriends::load(uint64_t selfId) {
    mSelfId = selfId;
    mFriends.clear();
    mUsers.clear();
    const std::filesystem::path path = friendsFile();
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        std::filesystem::create_directories(path.parent_path(), error);
        std::ofstream(path) << cSampleFriends;
    }
    readSteamRecords(path, [this](const std::string& kind, std::istringstream& words) {
        std::string idText, stateText;
        Friend person;
        if (kind == "friend") {
            words >> idText >> stateText;
            person.mName = restOfLine(words);
            const bool good = parseSteamNumber(idText, person.mId) &&
                              parseSteamNumber(stateText, person.mState) && person.mId != 0 &&
                              person.mState >= 0 && !person.mName.empty();
            if (good)
                mFriends.push_back(person);
            return good;
        }
        if (kind == "user") {
            words >> idText;
            person.mName = restOfLine(words);
            const bool good =
                parseSteamNumber(idText, person.mId) && person.mId != 0 && !person.mName.empty();
            if (good)
                mUsers.push_back(person);
            return good;
        }
        const std::string name = restOfLine(words);
        if (kind != "me" || name.empty())
            return false;
        mSelfName = name;
        return true;
    });
}

bool SteamFriends::save() const {
    std::ofstream file(friendsFile(), std::ios::trunc);
    file << "# friends of the platform stand-in\n"
         << "me " << mSelfName << '\n';
    for (const Friend& person : mFriends)
        file << "friend " << person.mId << ' ' << person.mState << ' ' << person.mName << '\n';
    for (const Friend& person : mUsers)
        file << "user " << person.mId << ' ' << person.mName << '\n';
    file.flush();
    return static_cast<bool>(file);
}

int32_t SteamFriends::getFriendCount(int flags) const {
    return (flags & cFriendFlagImmediate) != 0 ? static_cast<int32_t>(mFriends.size()) : 0;
}

uint64_t SteamFriends::getFriendByIndex(int32_t index, int flags) const {
    if (index < 0 || index >= getFriendCount(flags))
        return 0;
    return mFriends[static_cast<size_t>(index)].mId;
}

SteamFriends::Friend* SteamFriends::findFriend(uint64_t id) {
    const auto found = std::find_if(mFriends.begin(), mFriends.end(),
                                    [id](const Friend& person) { return person.mId == id; });
    return found == mFriends.end() ? nullptr : &*found;
}

bool SteamFriends::isFriend(uint64_t id) const {
    return std::any_of(mFriends.begin(), mFriends.end(),
                       [id](const Friend& person) { return person.mId == id; });
}

int32_t SteamFriends::getFriendPersonaState(uint64_t id) {
    if (mReadHook)
        mReadHook(id);
    if (id != 0 && id == mSelfId)
        return cPersonaStateOnline;
    const Friend* person = findFriend(id);
    return person != nullptr ? person->mState : cPersonaStateOffline;
}

std::string SteamFriends::getFriendPersonaName(uint64_t id) {
    if (mReadHook)
        mReadHook(id);
    if (id != 0 && id == mSelfId)
        return mSelfName;
    if (const Friend* person = findFriend(id))
        return person->mName;
    const auto user = std::find_if(mUsers.begin(), mUsers.end(),
                                   [id](const Friend& person) { return person.mId == id; });
    return user != mUsers.end() ? user->mName : "[unknown]";
}

void SteamFriends::setFriendPersona(uint64_t id, int32_t state, std::string_view name) {
    if (Friend* person = findFriend(id)) {
        person->mState = state;
        person->mName = name;
    } else {
        mFriends.push_back({id, state, std::string(name)});
    }
}

void SteamFriends::setUserName(uint64_t id, std::string_view name) {
    const auto user = std::find_if(mUsers.begin(), mUsers.end(),
                                   [id](const Friend& person) { return person.mId == id; });
    if (user != mUsers.end())
        user->mName = name;
    else
        mUsers.push_back({id, cPersonaStateOffline, std::string(name)});
}

void SteamFriends::activateGameOverlay(std::string_view dialog) {
    mOverlayLog.emplace_back(dialog);
    std::printf("Platform overlay: %s\n", mOverlayLog.back().c_str());
}
