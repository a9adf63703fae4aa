#pragma once

// Stand-in for the platform client. It answers what the game asks of the
// signed-in user from the environment and from files in the user's data
// folder, so the program and its tests run with no platform client present.
//
// The user is "signed in" between init and shutdown; only then does the
// client hand out its user statistics (SteamUserStats.h), which live in
// memory and are saved to "userstats.txt" in the user's data folder.

#include <filesystem>
#include <string>

class SteamUserStats;

class SteamClient {
public:
    // The platform's game language as the platform names it ("english",
    // "german", ...): the environment variable TARNWICK_LANGUAGE when set and
    // not empty, else "english".
    static std::string currentGameLanguage();

    // Starts the client: the user counts as signed in. Always true.
    static bool init();
    // Stops the client and forgets the statistics held in memory.
    static void shutdown();
    static bool isRunning();

    // The signed-in user's statistics; null while the client is not running.
    static SteamUserStats* userStats();

    // The folder of the user's files: the one set here when not empty, else
    // $XDG_DATA_HOME/tarnwick, else $HOME/.local/share/tarnwick, else
    // "tarnwick-user" in the current folder.
    static void setUserDataFolder(const std::filesystem::path& folder);
    static std::filesystem::path userDataFolder();
};
