#pragma once

// Stand-in for the platform client. It answers what the game asks of the
// signed-in user from the environment and from files in the user's data
// folder, so the program and its tests run with no platform client present.
//
// The user is "signed in" between init and shutdown; only then does the
// client hand out the user's account id and statistics (SteamUserStats.h),
// which live in memory and are saved to "userstats.txt" in the user's data
// folder, the user's friends (SteamFriends.h), and the results of
// asynchronous calls, delivered by runCallbacks (SteamCallbacks.h). The
// "not signed in" switch (the environment variable
// TARNWICK_NOT_SIGNED_IN set and not empty, or setNotSignedIn) makes init sign
// nobody in: the client runs but offers no user.

#include <cstdint>
#include <filesystem>
#include <string>

class SteamFriends;
class SteamUserStats;

class SteamClient {
public:
    // The platform's game language as the platform names it ("english",
    // "german", ...): the environment variable TARNWICK_LANGUAGE when set and
    // not empty, else "english".
    static std::string currentGameLanguage();

    static constexpr const char* cAccountFileName = "account.txt";
    static constexpr const char* cNotSignedInVariable = "TARNWICK_NOT_SIGNED_IN";

    // Starts the client and, unless the "not signed in" switch is on, signs
    // the user in. Always true.
    static bool init();
    // Stops the client: signs the user out and forgets the statistics held in
    // memory.
    static void shutdown();
    static bool isRunning();
    // Whether a user is signed in (between init and shutdown, switch off).
    static bool isSignedIn();

    // The "not signed in" switch for tests, read by the next init; on when
    // either this or the environment variable says so.
    static void setNotSignedIn(bool notSignedIn);

    // The signed-in user's 64-bit account id; 0 when nobody is signed in. It
    // is kept in "account.txt" in the user's data folder, made with a random
    // id the first time a user signs in there.
    static uint64_t accountId();

    // The signed-in user's statistics; null while nobody is signed in.
    static SteamUserStats* userStats();

    // The signed-in user's friends; null while nobody is signed in.
    static SteamFriends* friends();

    // Delivers the results of the asynchronous calls started so far, in
    // call order (the main loop calls it every pass).
    static void runCallbacks();
    // Tests: while on, asynchronous calls fail.
    static void setCallsFail(bool fail);

    // The folder of the user's files: the one set here when not empty, else
    // $XDG_DATA_HOME/tarnwick, else $HOME/.local/share/tarnwick, else
    // "tarnwick-user" in the current folder.
    static void setUserDataFolder(const std::filesystem::path& folder);
    static std::filesystem::path userDataFolder();
};
