#include "platform/steam/SteamClient.h"

#include <cstdlib>

std::string SteamClient::currentGameLanguage() {
    const char* language = std::getenv("TARNWICK_LANGUAGE");
    if (language == nullptr || *language == '\0')
        return "english";
    return language;
}
