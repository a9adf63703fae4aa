#pragma once

// Stand-in for the platform client. It answers what the game asks of the
// signed-in user from the environment and from files in the user's data
// folder, so the program and its tests run with no platform client present.

#include <string>

class SteamClient {
public:
    // The platform's game language as the platform names it ("english",
    // "german", ...): the environment variable TARNWICK_LANGUAGE when set and
    // not empty, else "english".
    static std::string currentGameLanguage();
};
