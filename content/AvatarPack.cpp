#include "content/AvatarPack.h"

#include "content/CatalogueLoader.h"
#include "content/LocalAvatar.h"
#include "content/LocalizedStrings.h"

#include "platform/engine/CCDirector.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

constexpr std::string_view cAvatarFolder = "UI/Avatars/";

std::vector<std::unique_ptr<AvatarPack>>& catalogue() {
    static std::vector<std::unique_ptr<AvatarPack>> packs;
    return packs;
}

} // namespace

AvatarPack::~AvatarPack() = default;

bool AvatarPack::loadAll() {
    return loadCatalogue("AvatarPacks", "AvatarPack", catalogue());
}

bool AvatarPack::load(const XmlNode* element) {
    if (element == nullptr)
        return false;
    for (const XmlNode* child = element->first_node(); child != nullptr;
         child = child->next_sibling()) {
        if (child->type() != rapidxml::node_element)
            continue;
        if (xmlNameEquals(child, "icon")) {
            mIcon = catalogueText(child);
        } else if (xmlNameEquals(child, "avatar")) {
            std::string path = getImagePath(catalogueText(child));
            if (!path.empty())
                mAvatars.push_back(std::move(path));
        } else if (xmlNameEquals(child, "id")) {
            mId = catalogueText(child);
        }
    }
    const std::string prefix = "AvatarPack_" + mId + "_";
    mDisplayName = localizedStringOrDefault(prefix + "DisplayName", "");
    mDescription = localizedStringOrDefault(prefix + "Description", "");
    mLongDescription = localizedStringOrDefault(prefix + "LongDescription", "");
    return true;
}

AvatarPack* AvatarPack::findById(std::string_view id) {
    for (const auto& pack : catalogue())
        if (pack->mId == id)
            return pack.get();
    return nullptr;
}

std::string AvatarPack::getAvatar(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= mAvatars.size())
        return {};
    return mAvatars[static_cast<size_t>(index)];
}

std::string AvatarPack::getAvatarInPack(std::string_view packId, int32_t index) {
    if (const AvatarPack* pack = findById(packId))
        return pack->getAvatar(index);
    if (catalogue().empty())
        return {};
    return catalogue().front()->getAvatar(0);
}

std::string AvatarPack::getDefaultAvatar() {
    return getAvatarInPack(localAvatarPackId(), localAvatarIndex());
}

std::string AvatarPack::getImagePath(std::string_view name) {
    std::string path;
    if (name.find(cAvatarFolder) == std::string_view::npos)
        path = cAvatarFolder;
    if (!cocos2d::CCDirector::sharedDirector()->getIsHighDefinition())
        return path.append(name);
    const size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {};
    path.append(name.substr(0, dot)).append("-hd").append(name.substr(dot));
    return path;
}

const std::vector<std::unique_ptr<AvatarPack>>& AvatarPack::packs() {
    return catalogue();
}

void AvatarPack::clear() {
    catalogue().clear();
}

std::string parseAvatarString(std::string_view avatarString) {
    const size_t bar = avatarString.rfind('|');
    if (bar == std::string_view::npos)
        return AvatarPack::getAvatarInPack(cDefaultAvatarPackId, 0);
    const std::string indexText(avatarString.substr(bar + 1));
    errno = 0;
    const long index = std::strtol(indexText.c_str(), nullptr, 10);
    if (errno == ERANGE || index < INT32_MIN || index > INT32_MAX)
        return AvatarPack::getAvatarInPack(cDefaultAvatarPackId, 0);
    return AvatarPack::getAvatarInPack(avatarString.substr(0, bar), static_cast<int32_t>(index));
}
