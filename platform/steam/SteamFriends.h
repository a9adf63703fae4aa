#pragma once

// The signed-in user's friends of the platform stand-in: direct friends with
// their persona names and states, the names of other players the platform
// knows, the user's own persona name, and the overlay (which only logs what
// it would show).
//
// They live in the file "friends.txt" in the user's data folder, one record
// a line: "friend <id> <state> <persona name>", "user <id> <persona name>"
// or "me <persona name>"; "#" starts a comment line; a malformed line is
// reported on standard output and skipped. A user without the file gets a
// sample one. Persona states are the platform's numbers (0 offline,
// 1 online, 2 busy, 3 away, ...). Main thread only.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class SteamFriends {
public:
    static constexpr const char* cFileName = "friends.txt";
    // The friend flag of direct friends.
    static constexpr int cFriendFlagImmediate = 4;
    static constexpr int32_t cPersonaStateOffline = 0;
    static constexpr int32_t cPersonaStateOnline = 1;

    struct Friend {
        uint64_t mId = 0;
        int32_t mState = cPersonaStateOffline;
        std::string mName;
    };

    static std::filesystem::path friendsFile();

    // Reads the file (writing the sample one when there is none) for the
    // user selfId.
    void load(uint64_t selfId);

    // The number of friends and the friend at an index, with the friend
    // flags: only direct friends exist here. Out of range: 0.
    int32_t getFriendCount(int flags) const;
    uint64_t getFriendByIndex(int32_t index, int flags) const;
    // A user's persona state (offline when unknown) and name ("[unknown]"
    // when unknown; the user's own name for the user).
    int32_t getFriendPersonaState(uint64_t id);
    std::string getFriendPersonaName(uint64_t id);
    std::string getPersonaName() const { return mSelfName; }
    bool isFriend(uint64_t id) const;

    // Opens the overlay at a dialog: logged on standard output and kept.
    void activateGameOverlay(std::string_view dialog);
    const std::vector<std::string>& overlayLog() const { return mOverlayLog; }

    // Tests and tries: the friends, the names of other users, the user's
    // own name (all in memory; save writes them to the file).
    void setFriends(std::vector<Friend> friends) { mFriends = std::move(friends); }
    void setFriendPersona(uint64_t id, int32_t state, std::string_view name);
    void setUserName(uint64_t id, std::string_view name);
    void setPersonaName(std::string_view name) { mSelfName = name; }
    // Called before every persona read with the user's id (tests change
    // names while a caller reads them).
    void setPersonaReadHook(std::function<void(uint64_t id)> hook) { mReadHook = std::move(hook); }
    bool save() const;

private:
    Friend* findFriend(uint64_t id);

    uint64_t mSelfId = 0;
    std::string mSelfName = "Player";
    std::vector<Friend> mFriends;
    std::vector<Friend> mUsers; // other players the platform knows
    std::vector<std::string> mOverlayLog;
    std::function<void(uint64_t)> mReadHook;
};
