#include "platform/steam/SteamTextFile.h"

#include <cstdio>
#include <fstream>

void readSteamRecords(
    const std::filesystem::path& path,
    const std::function<bool(const std::string& kind, std::istringstream& words)>& read) {
    std::ifstream file(path);
    std::string line;
    int lineNumber = 0;
    while (std::getline(file, line)) {
        ++lineNumber;
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind.empty() || kind[0] == '#')
            continue;
        if (!read(kind, words))
            std::printf("%s:%d: skipping malformed line\n", path.string().c_str(), lineNumber);
    }
}
