#include "content/DataPath.h"

#include <algorithm>

namespace {

std::filesystem::path& baseFolderStorage() {
    static std::filesystem::path folder;
    return folder;
}

} // namespace

void setBaseFolder(const std::filesystem::path& folder) { baseFolderStorage() = folder; }

const std::filesystem::path& baseFolder() { return baseFolderStorage(); }

std::filesystem::path resolvePath(std::string_view path) {
    std::string portable(path);
    std::replace(portable.begin(), portable.end(), '\\', '/');
    const std::filesystem::path relative(portable);
    if (relative.is_absolute() || baseFolder().empty())
        return relative;
    return baseFolder() / relative;
}

bool dataFilePath(std::string_view name, std::string& outPath, std::string_view extension,
                  bool noDataPrefix) {
    outPath.clear();
    if (!noDataPrefix)
        outPath = "data/";
    outPath.append(name);
    outPath.push_back('.');
    outPath.append(extension);
    return true;
}
